#pragma once
// A block of memory in the process that owns a window, for the control messages whose
// arguments are pointers (LVM_GETITEMTEXTW, TCM_GETITEMW, ...): the system does not carry
// those between processes, so the structure and its text buffer must live in the control's
// own process.
#include <windows.h>
#include <cstddef>
#include "framework/Handle.h"

class CRemoteMemory {
public:
    CRemoteMemory(HWND owner, size_t size);
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;
    ~CRemoteMemory();

    // False when the process could not be opened or the block not allocated.
    bool Ok() const { return m_address != nullptr; }
    // The block's address as the owning process sees it, plus offset.
    LPARAM At(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(m_address) + offset); }
    bool Write(size_t offset, const void* data, size_t size);
    bool Read(size_t offset, void* data, size_t size) const;

private:
    CKernelHandle m_process;
    void* m_address = nullptr;
    size_t m_size = 0;
};
