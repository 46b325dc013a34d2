#!/usr/bin/env python3
"""Writes the export list (.def) of a stand-in of one of the device's DLLs.

    make_def.py --list cmake/ce/coredll.def --dll coredll.dll --nm NM --libdir DIR
                --desktop kernel32,user32,... --out coredll-standin.def SOURCE...

Every name of the project's list (--list) is exported under that name:
- a function the stand-in defines itself, written CE(Name) in one of its SOURCEs, as its own
  Ce_Name; the functions it defines but the list lacks are exported as well (they are CE's);
- any other as a forwarder to the desktop DLL that exports it (the first of --desktop whose
  import library in --libdir names it), under the name with a W where the desktop has that
  Unicode function (CE's names lack the W: SendMessageTimeout -> user32.SendMessageTimeoutW,
  ImageList_LoadImage -> comctl32.ImageList_LoadImageW), else under the same name; a few names
  stand for another function (FORWARDED_AS).
A name that nothing provides, or one that the device does not have (DEVICE_LACKS), ends the
build with a message that says so.
"""

import argparse
import os
import re
import subprocess
import sys

# CE's window longs are as wide as a pointer, and the simulator runs 64-bit programs.
FORWARDED_AS = {
    "SetWindowLongW": "user32.SetWindowLongPtrW",
}
# The device has neither an environment nor a current directory: no stand-in exports these,
# whichever list names them.
DEVICE_LACKS = {
    "GetEnvironmentVariableW", "SetEnvironmentVariableW", "GetEnvironmentVariableA", "SetEnvironmentVariableA",
    "ExpandEnvironmentStringsW", "GetEnvironmentStringsW",
    "GetCurrentDirectoryW", "SetCurrentDirectoryW", "GetCurrentDirectoryA", "SetCurrentDirectoryA",
    "GetFullPathNameW", "GetFullPathNameA",
}
OWN = re.compile(r"\bCE\((\w+)\)\s*\(")


def listed_names(path):
    """The names under EXPORTS of a .def file, without their comments."""
    names, exports = [], False
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split(";", 1)[0].strip()
            if not line:
                continue
            if line.upper() == "EXPORTS":
                exports = True
            elif exports:
                names.append(line.split()[0].split("=")[0].split("@")[0])
    return names


def own_names(sources):
    names = []
    for source in sources:
        with open(source, encoding="utf-8") as f:
            for name in OWN.findall(f.read()):
                if name not in names:
                    names.append(name)
    return names


def archive_symbols(path):
    """The symbols of an archive's index (its first member, "/"), or None without one."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"!<arch>\n") or data[8:8 + 16].rstrip() not in (b"/", b"/SYM64/"):
        return None
    wide = data[8:8 + 16].rstrip() == b"/SYM64/"
    size = int(data[8 + 48:8 + 58])
    index = data[8 + 60:8 + 60 + size]
    width = 8 if wide else 4
    count = int.from_bytes(index[:width], "big")
    names = index[width + count * width:].split(b"\0")[:count]
    return [name.decode("ascii", "replace") for name in names]


def desktop_exports(nm, libdir, dlls):
    """DLL name -> the names its import library imports (read from the library's index, else
    listed by nm)."""
    exports = {}
    for dll in dlls:
        lib = os.path.join(libdir, "lib%s.a" % dll)
        symbols = archive_symbols(lib)
        if symbols is None:
            out = subprocess.run([nm, "--defined-only", lib], check=True, stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL, text=True).stdout
            symbols = [line.split()[-1] for line in out.splitlines() if line.split()]
        exports[dll] = {name[len("__imp_"):] for name in symbols if name.startswith("__imp_")}
    return exports


def forwarder(name, dlls, exports):
    if name in FORWARDED_AS:
        return FORWARDED_AS[name]
    # The Unicode form first: a desktop name without the W may be the ANSI function (comctl32's
    # ImageList_LoadImage is ImageList_LoadImageA).
    for candidate in (name + "W", name):
        for dll in dlls:
            if candidate in exports[dll]:
                return "%s.%s" % (dll, candidate)
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--list", required=True)
    parser.add_argument("--dll", required=True)
    parser.add_argument("--nm", required=True)
    parser.add_argument("--libdir", required=True)
    parser.add_argument("--desktop", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("sources", nargs="*")
    args = parser.parse_args()

    listed = listed_names(args.list)
    own = own_names(args.sources)
    dlls = [d for d in args.desktop.split(",") if d]
    exports = desktop_exports(args.nm, args.libdir, dlls)
    lines, faults = [], []
    for name in listed + [n for n in own if n not in listed]:
        if name in DEVICE_LACKS:
            faults.append("%s lists %s, which the device does not have (no environment, no current directory)"
                          % (args.list, name))
        elif name in own:
            lines.append("%s = Ce_%s" % (name, name))
        else:
            target = forwarder(name, dlls, exports)
            if target is None:
                faults.append("%s lists %s, which the stand-in of %s does not define (CE(%s) in %s) and none of "
                              "%s exports" % (args.list, name, args.dll, name, os.path.dirname(args.sources[0])
                                              if args.sources else "its sources", ", ".join(dlls)))
            else:
                lines.append("%s = %s" % (name, target))
    if faults:
        for fault in faults:
            print("error: " + fault, file=sys.stderr)
        return 1
    text = "; Made by device/ce/make_def.py from %s: do not edit.\nLIBRARY %s\nEXPORTS\n%s\n" % (
        args.list, args.dll, "\n".join("    " + line for line in lines))
    with open(args.out, "w", encoding="utf-8") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
