#include <gtest/gtest.h>
#include <vector>
#include "state/ColArray.h"

namespace {

// Records the order in which elements die.
struct Tracked {
    Tracked(int id, std::vector<int>& log) : m_id(id), m_log(log) {}
    ~Tracked() { m_log.push_back(m_id); }
    int m_id;
    std::vector<int>& m_log;
};

TEST(ColArray, RemoveAllDeletesInIndexOrderAndCanBeRefilled)
{
    std::vector<int> deleted;
    CTypedColArray<Tracked> list;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(static_cast<size_t>(i), list.Add(std::make_unique<Tracked>(i, deleted)));
    EXPECT_EQ(2, list[2]->m_id);
    list.RemoveAll();
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), deleted);
    EXPECT_EQ(0u, list.GetSize());
    list.Add(new Tracked(9, deleted));
    EXPECT_EQ(1u, list.GetSize());
}

TEST(ColArray, DestructionDeletesEachElementOnce)
{
    std::vector<int> deleted;
    {
        CTypedColArray<Tracked> list;
        for (int i = 0; i < 100; ++i)
            list.Add(std::make_unique<Tracked>(i, deleted));
        list.RemoveAll();
        list.RemoveAll();
        list.Add(std::make_unique<Tracked>(100, deleted));
    }
    ASSERT_EQ(101u, deleted.size());
    for (int i = 0; i <= 100; ++i)
        EXPECT_EQ(i, deleted[static_cast<size_t>(i)]);
}

TEST(ColArray, NonOwningListDeletesNothing)
{
    std::vector<int> deleted;
    Tracked kept(1, deleted);
    {
        CTypedColArray<Tracked> view(false);
        view.Add(&kept);
        view.RemoveAll();
        view.Add(&kept);
    }
    EXPECT_TRUE(deleted.empty());
}

TEST(ColArray, EmptyListRemoveAllDoesNothing)
{
    CTypedColArray<Tracked> list;
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_THROW(list.GetAt(0), std::out_of_range);
}

}  // namespace
