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

// True for a path with the device's drive letter ("D:..."), which the device's file system has
// no form for; the last error is then ERROR_INVALID_NAME, as the device gives for a name it
// cannot take. Null paths, and paths on the host's other drives, are left to the function they
// are passed to.
bool RefuseDrivePath(LPCWSTR path);

// path without the device's drive letter ("D:\Windows" -> "\Windows"), in place; its new
// length. A path on another drive keeps its letter.
DWORD StripDrive(LPWSTR path, DWORD length);

}  // namespace ce
