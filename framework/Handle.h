#pragma once
// One move-only owner for every kind of handle the program holds. A handle is stored only
// after the call that produced it succeeded, and closed exactly once on every path.
#include <windows.h>
#include <commctrl.h>
#include <utility>

template <typename Traits>
class CHandle {
public:
    using type = typename Traits::type;

    CHandle() noexcept : m_h(Traits::Invalid()) {}
    explicit CHandle(type h) noexcept : m_h(h) {}
    CHandle(CHandle&& other) noexcept : m_h(other.Detach()) {}
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Reset(); }

    type Get() const noexcept { return m_h; }
    bool IsValid() const noexcept { return m_h != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    type Detach() noexcept { return std::exchange(m_h, Traits::Invalid()); }
    void Reset(type h = Traits::Invalid()) noexcept
    {
        if (IsValid())
            Traits::Close(m_h);
        m_h = h;
    }

private:
    type m_h;
};

struct FileHandleTraits {
    using type = HANDLE;
    static type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(type h) noexcept { ::CloseHandle(h); }
};

// Process, thread and event handles: null when absent.
struct KernelHandleTraits {
    using type = HANDLE;
    static type Invalid() noexcept { return nullptr; }
    static void Close(type h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using type = HANDLE;
    static type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(type h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
    using type = HKEY;
    static type Invalid() noexcept { return nullptr; }
    static void Close(type h) noexcept { ::RegCloseKey(h); }
};

// GDI objects the program creates (fonts, brushes, pens, bitmaps): null when absent.
template <typename T>
struct GdiObjectTraits {
    using type = T;
    static type Invalid() noexcept { return nullptr; }
    static void Close(type h) noexcept { ::DeleteObject(h); }
};

// A menu loaded from the resources and not (or no longer) attached to a window.
struct MenuTraits {
    using type = HMENU;
    static type Invalid() noexcept { return nullptr; }
    static void Close(type h) noexcept { ::DestroyMenu(h); }
};

// An image list the program created (not one the system lends it, such as the shell's icons).
struct ImageListTraits {
    using type = HIMAGELIST;
    static type Invalid() noexcept { return nullptr; }
    static void Close(type h) noexcept { ::ImageList_Destroy(h); }
};

using CFileHandle = CHandle<FileHandleTraits>;
using CKernelHandle = CHandle<KernelHandleTraits>;
using CFindHandle = CHandle<FindHandleTraits>;
using CRegKey = CHandle<RegKeyTraits>;
using CFontHandle = CHandle<GdiObjectTraits<HFONT>>;
using CBrushHandle = CHandle<GdiObjectTraits<HBRUSH>>;
using CPenHandle = CHandle<GdiObjectTraits<HPEN>>;
using CBitmapHandle = CHandle<GdiObjectTraits<HBITMAP>>;
using CMenuHandle = CHandle<MenuTraits>;
using CImageListHandle = CHandle<ImageListTraits>;
