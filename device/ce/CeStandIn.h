#pragma once
// What the simulated device's stand-ins of coredll.dll, commctrl.dll and aygshell.dll share.
//
// A stand-in exports every name of the project's list of the device's functions
// (cmake/ce/<dll>.def). A function it carries out itself is defined here as CE(Name): the
// build's export list (make_def.py) finds it in the stand-in's sources and exports it under
// its CE name; every other name is handed on to the desktop DLL that has it. Inside a
// stand-in the desktop's own functions are called as usual.
#include <windows.h>

// The stand-in's own definition of the CE function Name.
#define CE(name) Ce_##name

namespace ce {

// The desktop DLL's function name, the DLL loaded at the first call. A name forwarded to
// comctl32 would have the loader bring in comctl32, which registers all its window classes,
// with every program that imports the name; the device's coredll and commctrl cost a program
// nothing like that at its start. Null, with the loader's error, when it is not there.
template <typename Function>
Function* Desktop(const wchar_t* dll, const char* name)
{
    HMODULE module = ::LoadLibraryW(dll);
    return module ? reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

// True for a path with the device's drive letter ("D:..."), which the device's file system has
// no form for; the last error is then ERROR_INVALID_NAME, as the device gives for a name it
// cannot take. Null paths, and paths on the host's other drives, are left to the function they
// are passed to.
bool RefuseDrivePath(LPCWSTR path);

// path without the device's drive letter ("D:\Windows" -> "\Windows"), in place; its new
// length. A path on another drive keeps its letter.
DWORD StripDrive(LPWSTR path, DWORD length);

}  // namespace ce
