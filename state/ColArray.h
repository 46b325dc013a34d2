#pragma once
// The owning list of heap objects that every list of the program uses. Adding hands the
// object over; RemoveAll and destruction delete the elements in index order, 0 first, each
// through its own type.
#include <cstddef>
#include <memory>
#include <vector>

class CColArray {
public:
    CColArray(const CColArray&) = delete;
    CColArray& operator=(const CColArray&) = delete;
    ~CColArray() { RemoveAll(); }

    size_t GetSize() const { return m_elements.size(); }
    bool IsEmpty() const { return m_elements.empty(); }
    bool OwnsElements() const { return m_bOwnsElements; }

    // Deletes the elements if owning, then empties the list; it can be filled again.
    void RemoveAll() noexcept
    {
        if (m_bOwnsElements)
            for (void* p : m_elements)
                m_pfnDelete(p);
        m_elements.clear();
    }

protected:
    using Deleter = void (*)(void*);
    CColArray(bool ownsElements, Deleter deleter) : m_bOwnsElements(ownsElements), m_pfnDelete(deleter) {}

    std::vector<void*> m_elements;

private:
    bool m_bOwnsElements;
    Deleter m_pfnDelete;
};

template <typename T>
class CTypedColArray : public CColArray {
public:
    explicit CTypedColArray(bool ownsElements = true)
        : CColArray(ownsElements, [](void* p) { delete static_cast<T*>(p); }) {}

    T* GetAt(size_t index) const { return static_cast<T*>(m_elements.at(index)); }
    T* operator[](size_t index) const { return GetAt(index); }

    // Takes the object over; returns its index.
    size_t Add(std::unique_ptr<T> element)
    {
        m_elements.push_back(element.get());
        element.release();
        return m_elements.size() - 1;
    }
    size_t Add(T* element)
    {
        if (OwnsElements())
            return Add(std::unique_ptr<T>(element));
        m_elements.push_back(element);
        return m_elements.size() - 1;
    }

    template <typename F>
    void ForEach(F f) const
    {
        for (void* p : m_elements)
            f(*static_cast<T*>(p));
    }
};
