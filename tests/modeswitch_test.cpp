#include <typeinfo>
#include "ModeFixture.h"

namespace {

class ModeSwitchTest : public ModeTest {};

TEST_F(ModeSwitchTest, CurrentModeIsReadOnceAndSettingsEveryTime)
{
    BootInto(true, 3);
    CModeSwitch& modeSwitch = Session();
    EXPECT_EQ(CVideoMode(true, 3), modeSwitch.GetCurrentMode());
    BootInto(false, 1);
    EXPECT_EQ(CVideoMode(false, 1), modeSwitch.ReadCurrentMode());
    EXPECT_EQ(CVideoMode(true, 3), modeSwitch.GetCurrentMode()) << "the first answer of the run";
}

// Records its Undo in a shared log, then fails as told.
class CLoggingUndo : public CUndo {
public:
    enum Failure { none, withError, withOther };
    CLoggingUndo(std::vector<int>& log, int id, Failure failure = none) : m_log(log), m_id(id), m_failure(failure) {}
    ~CLoggingUndo() override { m_log.push_back(-m_id); }
    void Undo() override
    {
        m_log.push_back(m_id);
        if (m_failure == withError)
            throw error(L"undo failed");
        if (m_failure == withOther)
            throw std::bad_cast();
    }

private:
    std::vector<int>& m_log;
    int m_id;
    Failure m_failure;
};

TEST_F(ModeSwitchTest, UndoAllWalksInRecordedOrder)
{
    std::vector<int> log;
    CUndoBuffer buffer;
    buffer.Add(std::make_unique<CLoggingUndo>(log, 1));
    buffer.Add(std::make_unique<CLoggingUndo>(log, 2, CLoggingUndo::withError));
    buffer.Add(std::make_unique<CLoggingUndo>(log, 3, CLoggingUndo::withOther));
    buffer.Add(std::make_unique<CLoggingUndo>(log, 4));

    buffer.UndoAll(true);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), log) << "failures are passed over";
    EXPECT_EQ(4u, buffer.GetSize()) << "records stay";

    log.clear();
    EXPECT_EQ(L"undo failed", ErrorOf([&] { buffer.UndoAll(false); }));
    EXPECT_EQ((std::vector<int>{1, 2}), log) << "the first failure ends the walk";
    log.clear();
    buffer.RemoveAll();
    EXPECT_EQ((std::vector<int>{-1, -2, -3, -4}), log) << "emptying deletes the records";

    CUndoBuffer other;
    other.Add(std::make_unique<CLoggingUndo>(log, 5, CLoggingUndo::withOther));
    EXPECT_THROW(other.UndoAll(false), std::bad_cast) << "any kind of failure reaches the caller unchanged";
}

}  // namespace
