"""The device's StartUp folder. At every boot the device runs the programs of the shortcuts in
\\Windows\\StartUp, in name order, before the program the user starts.

A shortcut is a small text file: the number of characters of the command line, "#", then the
command line, the program's path in double quotes when it holds a blank, e.g.
16#\\Windows\\WTM.exe or 37#"\\Program Files\\Dorix\\dorix.exe" KEEP. A program named without
a folder is looked for in \\Windows. A shortcut whose program is missing or not a program
(the image's monitor programs are placeholders) is skipped and said so.
"""

import os
from dataclasses import dataclass, field

FOLDER = "\\Windows\\StartUp"
START_MENU = "\\Windows\\Start Menu\\Programs"


class ShortcutError(ValueError):
    pass


def command_line(data):
    """The command line a shortcut file holds; ShortcutError when it is no shortcut."""
    text = data.decode("utf-16-le") if data.startswith(b"\xff\xfe") else data.decode("cp1252", errors="replace")
    text = text.lstrip("\ufeff")
    count, hash_, rest = text.partition("#")
    if not hash_ or not count.strip().isdigit():
        raise ShortcutError("no shortcut (it does not start with the length and \"#\")")
    line = (rest[:int(count)].splitlines() or [""])[0]
    if not line.strip():
        raise ShortcutError("the shortcut holds no command line")
    return line.strip()


def split_command_line(line):
    """(program, arguments) of a command line: the program is quoted when it holds blanks;
    an argument in double quotes may hold blanks too."""
    words, word, quoted, started = [], "", False, False
    for c in line:
        if c == '"':
            quoted, started = not quoted, True
        elif c in " \t" and not quoted:
            if started:
                words.append(word)
            word, started = "", False
        else:
            word, started = word + c, True
    if quoted:
        raise ShortcutError("a double quote is not closed")
    if started:
        words.append(word)
    return words[0], words[1:]


def device_program(program):
    """The device path of a program as a shortcut names it."""
    return program if program.startswith("\\") else "\\Windows\\" + program


@dataclass
class Entry:
    shortcut: str            # the shortcut's device path
    program: str = ""        # the program's device path
    args: list = field(default_factory=list)
    skipped: str = ""        # why it does not run; empty when it does


def is_program(path):
    """A Windows program starts with the "MZ" of its header."""
    try:
        with open(path, "rb") as f:
            return f.read(2) == b"MZ"
    except OSError:
        return False


def start_menu_entry(find, name):
    """(program, arguments) of the Start menu's shortcut name (with or without ".lnk"), as a tap
    on it starts them; ShortcutError when there is none, it is no shortcut or its program is
    missing. find(device path) gives a device path's host file or None."""
    shortcut = "%s\\%s" % (START_MENU, name if name.lower().endswith(".lnk") else name + ".lnk")
    host_file = find(shortcut)
    if host_file is None:
        raise ShortcutError("no shortcut %s" % shortcut)
    with open(host_file, "rb") as f:
        program, args = split_command_line(command_line(f.read()))
    program = device_program(program)
    if find(program) is None:
        raise ShortcutError("%s is missing" % program)
    return program, args


def plan(find):
    """What the StartUp folder starts, in name order. find(device path) gives a device path's
    host file or None."""
    folder = find(FOLDER)
    if folder is None or not os.path.isdir(folder):
        return []
    entries = []
    for name in sorted((n for n in os.listdir(folder) if n.lower().endswith(".lnk")), key=str.lower):
        entry = Entry(FOLDER + "\\" + name)
        try:
            with open(os.path.join(folder, name), "rb") as f:
                program, entry.args = split_command_line(command_line(f.read()))
            entry.program = device_program(program)
            host_file = find(entry.program)
            if host_file is None:
                entry.skipped = "%s is missing" % entry.program
            elif not is_program(host_file):
                entry.skipped = "%s is no program" % entry.program
        except (OSError, ShortcutError) as e:
            entry.skipped = str(e)
        entries.append(entry)
    return entries
