#include "RemoteMemory.h"

CRemoteMemory::CRemoteMemory(HWND owner, size_t size)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(owner, &pid);
    CKernelHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process)
        return;
    void* address = ::VirtualAllocEx(process.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address)
        return;
    m_process = std::move(process);
    m_address = address;
    m_size = size;
}

CRemoteMemory::~CRemoteMemory()
{
    if (m_address)
        ::VirtualFreeEx(m_process.Get(), m_address, 0, MEM_RELEASE);
}

bool CRemoteMemory::Write(size_t offset, const void* data, size_t size)
{
    SIZE_T written = 0;
    return Ok() && offset + size <= m_size
        && ::WriteProcessMemory(m_process.Get(), static_cast<char*>(m_address) + offset, data, size, &written)
        && written == size;
}

bool CRemoteMemory::Read(size_t offset, void* data, size_t size) const
{
    SIZE_T read = 0;
    return Ok() && offset + size <= m_size
        && ::ReadProcessMemory(m_process.Get(), static_cast<char*>(m_address) + offset, data, size, &read)
        && read == size;
}
