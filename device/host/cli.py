"""dorix-device: the simulated Pocket PC on this machine."""

import argparse
import contextlib
import io
import json
import os
import shutil
import signal
import sys
import time

import pages
import supervisor
import ui
from build import STANDIN, default_build
from errors import DeviceError
from home import DORIX_PATH, Home, default_home, host_path
from session import Session

DESCRIPTION = """\
The simulated Toshiba e805/e800 Pocket PC that Dorix runs on.

The device is a Wine prefix of its own with the device's file system as drive D: and its
registry imported from a device image (device/images/<name>). It is created once (about
20 seconds), kept between runs in DORIX_DEVICE_HOME (default ~/.cache/dorix-device) and can
be returned to factory state. Each boot reads the display driver's settings as the driver
does ("VGAMode", "Rotation" in \\Windows\\atihwtbl0.txt, "Angle") and shows the device's
screen in that mode's size: 240x320 or 320x240 (QVGA), 480x640 or 640x480 (VGA). Settings the
driver cannot use boot a clearly reported safe mode (QVGA portrait). Message boxes are laid
out for the device's screen, and the programs of the shortcuts in \\Windows\\StartUp run at
every boot, before the program the user starts.

A program that asks for a soft reset (the platform layer's reboot control) makes the host
end every program of the device, boot again in the mode the settings now name and start the
program again, as a user would.

Commands:
  run            boot the device and run Dorix (or another program) on it
  check          check a profile file with Dorix's own checker, on the device
  state          what the device would boot in, its driver settings, its calibration, and
                 what differs from the factory state
  factory-reset  return the device to factory state
  stop           shut down a running device
  pages          screenshots of every page of Dorix's settings sheets on all four screens,
                 each page's layout checked (on a device of its own)
  windows, tap, type, set-text, pick, answer, menu, command, menus, tabs, tab, items, start,
  screenshot     drive a running device as a user would (start: a Start-menu shortcut)

Examples:
  device/dorix-device run                       Dorix's main window
  device/dorix-device run --headless --seconds 5 -- VGA Y
  device/dorix-device state
  device/dorix-device answer yes                (in a second terminal, while it runs)
  device/dorix-device menu Tools "Mode settings" "240x320 - Portrait..."
                                                tap Tools in Dorix's command bar, choose the items
  device/dorix-device command 32852             or send that item's command to Dorix directly
  device/dorix-device tab --window "240x320" Scrollbars
  device/dorix-device set-text --window "240x320" --id 1073 18
  device/dorix-device tap --window "240x320" --id 32790

Run "device/dorix-device COMMAND --help" for a command's options.
"""


def make_home(args):
    return Home(args.image, home=args.home, build=args.build)


def cmd_run(args):
    home = make_home(args)
    headless = args.headless or not os.environ.get("DISPLAY")
    if not args.no_build:
        home.build.make()
    home.build.require("devctl.exe", "boxfit.exe", "navbar.exe", STANDIN)
    home.lock()
    if home.running():
        raise DeviceError("the device is already running")
    if not home.created:
        home.create()
    program = args.program
    if program is None:
        program = home.install_program() or home.build.device(STANDIN)
        if program != DORIX_PATH:
            print("Dorix is not built: running the device's stand-in program in its place")
    elif program == "standin":
        program = home.build.device(STANDIN)
    report = {"image": home.image.name, "program": program, "boots": [], "boxes": [], "resets": []}
    supervisor.stop_on_signals()
    dev = Session(home)
    answerer = ui.BoxAnswerer(dev, args.answer or [], print, args.box_wait)
    program_args = list(args.args)
    if program_args and program_args[0] == "--":
        program_args = program_args[1:]
    try:
        supervisor.run(dev, program, program_args, headless, answerer, args.seconds, report)
    finally:
        report["boxes"] = answerer.report()
        dev.shutdown()
        if args.report:
            with open(args.report, "w") as f:
                json.dump(report, f, indent=1)
    return 0


# Where Dorix's check writes its report on the device, and where the host puts the profile to
# check (its name kept: the profile's constants name it).
CHECK_REPORT = "\\My Documents\\Dorix Check.txt"
CHECK_FOLDER = "\\Temp\\Check"
# The check could not be run: no device, no Dorix, no end within the time.
NOT_CHECKED = 3


def cmd_check(args):
    """Runs Dorix's profile checker (dorix.exe Y CHECK <path>) on a copy of a profile file of this
    machine on the device and prints its report; gives Dorix's exit code (0 no problems, 1
    problems or a profile that cannot be checked), NOT_CHECKED when the check could not run."""
    name = " ".join(os.path.basename(args.profile).split())
    if not os.path.isfile(args.profile) or not name:
        print("dorix-device: %s: no such file" % args.profile, file=sys.stderr)
        return NOT_CHECKED
    home = make_home(args)
    log = io.StringIO()
    try:
        if not args.no_build:
            home.build.make()
        home.build.require("devctl.exe", "boxfit.exe", "navbar.exe")
        home.lock()
        if home.running():
            raise DeviceError("the device is running: stop it first (dorix-device stop)")
        if not home.created:
            home.create()
        program = home.install_program()
        if program is None:
            raise DeviceError("Dorix is not built (bash tools/check builds it)")
        device_path = CHECK_FOLDER + "\\" + name
        copy = host_path(home.drive, device_path, existing=False)
        os.makedirs(os.path.dirname(copy), exist_ok=True)
        shutil.copyfile(args.profile, copy)
        report_file = host_path(home.drive, CHECK_REPORT, existing=False)
        if os.path.exists(report_file):
            os.remove(report_file)
        report = {"boots": [], "boxes": [], "resets": []}
        dev = Session(home)
        # With "Y" only a profile that cannot be checked shows a box: its stop box, answered OK.
        answerer = ui.BoxAnswerer(dev, [], lambda line: print(line, file=log))
        try:
            with contextlib.redirect_stdout(log):
                supervisor.run(dev, program, ["Y", "CHECK"] + device_path.split(" "), True, answerer, 10, report)
        finally:
            dev.shutdown()
            os.remove(copy)
        if "exit_code" not in report or not os.path.exists(report_file):
            raise DeviceError("Dorix did not finish the check:\n" + log.getvalue())
    except DeviceError as e:
        print("dorix-device: %s" % e, file=sys.stderr)
        return NOT_CHECKED
    with open(report_file, encoding="utf-16") as f:
        for line in f.read().splitlines():
            print(line.replace(device_path, args.profile))
    return report["exit_code"]


def cmd_state(args):
    home = make_home(args)
    if not home.created:
        print("the device %s has not been created yet (dorix-device run creates it)" % home.image.name)
        return 1
    state = home.state()
    if args.json:
        print(json.dumps(state, indent=1))
        return 0
    print("device:      %s (%s) in %s%s" % (state["image"], state["oem_info"], state["home"],
                                            ", running: values as last saved" if state["running"] else ""))
    print("boots in:    %s %dx%d%s" % (state["boot_mode"], state["screen"][0], state["screen"][1],
                                       ("  SAFE MODE: " + state["safe_reason"]) if state["safe_reason"] else ""))
    print("driver:      VGAMode %s, Angle %s, LCD0 Rotation %s, LCD1 Rotation %s%s" % (
        state["vga_mode"], state["angle"], json.dumps(state["rotation_lcd0"]), json.dumps(state["rotation_lcd1"]),
        (", table file: " + state["table_error"]) if state["table_error"] else ""))
    print("a program reading the settings sees: %s" % state["program_reads"])
    print("calibration: %s" % json.dumps(state["calibration"]))
    print("changed since factory state:" if state["changes"] else "changed since factory state: nothing")
    for line in state["changes"]:
        print("  " + line)
    return 0


def cmd_factory_reset(args):
    home = make_home(args)
    home.lock()
    home.factory_reset()
    print("the device %s is in factory state" % home.image.name)
    return 0


def cmd_stop(args):
    session = make_home(args).running()
    if not session:
        print("the device is not running")
        return 1
    os.kill(session["host_pid"], signal.SIGTERM)
    return 0


def attached(args):
    dev = Session(make_home(args))
    dev.attach()
    return dev


def cmd_windows(args):
    found = ui.windows(attached(args))
    if args.json:
        print(json.dumps(found, indent=1))
        return 0
    for window in found:
        print(ui.describe(window))
        for depth, c in ui.control_tree(window):
            print("  %sid %d %s %s%s" % ("  " * depth, c["id"], c["class"], json.dumps(c["text"]),
                                          "" if c["visible"] else " (hidden)"))
    return 0


def window_options(args):
    return ui.target(args.window, args.hwnd)


def cmd_tap(args):
    call = ["tap"] + window_options(args)
    if args.point:
        call += ["--point", args.point]
    elif args.id is not None:
        call += ["--id", str(args.id)]
    elif args.text:
        call += ["--text", args.text]
    else:
        raise DeviceError("tap wants --id, --text or --point")
    ui.call(attached(args), *call)
    return 0


def cmd_type(args):
    ui.call(attached(args), "type", *window_options(args),
            *(["--id", str(args.id)] if args.id is not None else []), args.text)
    return 0


def cmd_set_text(args):
    ui.call(attached(args), "set-text", *window_options(args), "--id", str(args.id), args.text)
    return 0


def cmd_pick(args):
    ui.call(attached(args), "pick", *window_options(args), "--id", str(args.id), "--index", str(args.index))
    return 0


def cmd_answer(args):
    ui.call(attached(args), "answer", *window_options(args), args.button)
    return 0


def cmd_command(args):
    ui.call(attached(args), "command", *window_options(args), str(args.command_id))
    return 0


def cmd_menu(args):
    ui.call(attached(args), "menu", *window_options(args), *args.texts)
    return 0


def print_menu(items, depth):
    for item in items:
        if item["separator"]:
            print("%s----" % ("  " * depth))
        else:
            print("%s%s%s" % ("  " * depth, item["text"], ("  %d" % item["command"]) if item["command"] else ""))
        print_menu(item.get("items", []), depth + 1)


def cmd_menus(args):
    menus = ui.query(attached(args), "menus", *window_options(args))
    if args.json:
        print(json.dumps(menus, indent=1))
        return 0
    print("menus of %s (from the program's file; commands by id):" % menus["program"])
    for menu in menus["menus"]:
        print("  menu %d" % menu["id"])
        print_menu(menu["items"], 2)
    return 0


def cmd_tabs(args):
    tabs = ui.query(attached(args), "tabs", *window_options(args), *(["--id", str(args.id)] if args.id else []))
    if args.json:
        print(json.dumps(tabs, indent=1))
        return 0
    for i, tab in enumerate(tabs["tabs"]):
        print("%s %d %s %s" % ("*" if i == tabs["selected"] else " ", i, json.dumps(tab["text"]), tab["rect"]))
    return 0


def cmd_tab(args):
    which = ["--index", str(args.index)] if args.index is not None else [args.text or ""]
    ui.call(attached(args), "tab", *window_options(args), *(["--id", str(args.id)] if args.id else []), *which)
    return 0


def cmd_items(args):
    items = ui.query(attached(args), "items", *window_options(args), "--id", str(args.id))
    if args.json:
        print(json.dumps(items, indent=1))
        return 0
    for item in items["items"]:
        check = {None: "   ", True: "[x]", False: "[ ]"}[item["checked"]]
        print("%s%s %s%s" % ("  " * item["level"], check, " | ".join(item["texts"]), " (selected)" if item["selected"]
                             else ""))
    return 0


def cmd_start(args):
    dev = attached(args)
    proc = dev.start_shortcut(args.name)
    print("started %s (process %d)" % (args.name, proc.pid))
    return 0


def cmd_screenshot(args):
    dev = attached(args)
    print(dev.screenshot(args.file or os.path.join(dev.home.screens, "screenshot-%d.png" % int(time.time()))))
    return 0


def cmd_pages(args):
    # A device of its own, in factory state each time: the user's device keeps its state.
    home = Home(args.image, home=os.path.join(args.home or default_home(), "pages"), build=args.build)
    if not args.no_build:
        home.build.make()
    home.build.require("devctl.exe")
    home.lock()
    if not home.created:
        home.create()
    home.factory_reset()
    out = os.path.abspath(args.out or os.path.join(home.screens, "pages"))
    os.makedirs(out, exist_ok=True)
    supervisor.stop_on_signals()
    try:
        pictures = pages.take(Session(home), args.screen or list(pages.SCREENS), out)
    except pages.NoSheets as e:
        print(e)
        return 3
    except supervisor.Stop:
        print("stopped")
        return 1
    print("%d pictures in %s; %s" % (len(pictures.shots), out, "%d layout faults:" % len(pictures.faults)
                                     if pictures.faults else "every page's layout is sound"))
    for fault in pictures.faults:
        print("  " + fault)
    return 1 if pictures.faults else 0


def parser():
    common = argparse.ArgumentParser(add_help=False)
    common.add_argument("--image", default="e805", help="device image (device/images/NAME; default e805)")
    common.add_argument("--home", default=None, help="where devices live (default $DORIX_DEVICE_HOME or "
                        "~/.cache/dorix-device)")
    common.add_argument("--build", default=default_build(), help="the build folder with the device's "
                        "programs (default $DORIX_BUILD or build/)")
    top = argparse.ArgumentParser(prog="dorix-device", description=DESCRIPTION,
                                  formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = top.add_subparsers(dest="command", metavar="COMMAND")
    run = sub.add_parser("run", parents=[common], help="boot the device and run a program",
                         description="Boots the device and runs Dorix, installed at \"\\Program Files\\Dorix\\"
                         "dorix.exe\" (when Dorix is not built, the device's stand-in program), with the given command "
                         "line. Sets up the machine and builds first unless --no-build. On the user's display "
                         "when there is one; headless (Xvfb) otherwise or with --headless, printing what the "
                         "device showed, every message box (answered as --answer says, else with its default "
                         "button) and where its screenshots are.")
    run.add_argument("--headless", action="store_true", help="run under Xvfb even when a display is there")
    run.add_argument("--seconds", type=float, default=20, help="headless: how long the program runs after each "
                     "boot before the device is shut down (default 20)")
    run.add_argument("--answer", action="append", metavar="BUTTON", help="headless: answer the next message box "
                     "with BUTTON (ok, cancel, yes, no, abort, retry, ignore, default or an id); repeatable")
    run.add_argument("--box-wait", type=float, default=0, metavar="SECONDS", help="headless: leave each message "
                     "box this long to the driving commands before answering it (default 0)")
    run.add_argument("--program", help="the program to run instead: a device path (\\...), a host path, or "
                     "'standin'")
    run.add_argument("--report", help="write what happened as JSON to this file")
    run.add_argument("--no-build", action="store_true", help="do not set up the machine or build first")
    run.add_argument("args", nargs=argparse.REMAINDER, help="the program's command line (after --)")
    run.set_defaults(func=cmd_run)
    check = sub.add_parser("check", parents=[common], help="check a profile file with Dorix's checker",
                           description="Copies a profile (.dorix or .zdorix) of this machine onto the device, "
                           "boots it headless and runs Dorix's checker on it (dorix.exe Y CHECK <path>) as it runs "
                           "on the device: copy sources are looked for in a packed profile's archive, else on the "
                           "device. Prints the report. Exit code 0 for no problems, 1 for problems or a profile "
                           "that cannot be checked, 3 when the check could not be run.")
    check.add_argument("--no-build", action="store_true", help="do not set up the machine or build first")
    check.add_argument("profile", help="the profile file")
    check.set_defaults(func=cmd_check)
    state = sub.add_parser("state", parents=[common], help="report the device's state")
    state.add_argument("--json", action="store_true")
    state.set_defaults(func=cmd_state)
    sub.add_parser("factory-reset", parents=[common], help="return the device to factory state").set_defaults(
        func=cmd_factory_reset)
    sub.add_parser("stop", parents=[common], help="shut down a running device").set_defaults(func=cmd_stop)
    windows = sub.add_parser("windows", parents=[common], help="list the running device's windows and boxes "
                             "with all their controls")
    windows.add_argument("--json", action="store_true")
    windows.set_defaults(func=cmd_windows)
    # Driving commands name a window by part of its title (default: the topmost) or by handle.
    window = argparse.ArgumentParser(add_help=False)
    window.add_argument("--window", help="part of the window's title or class (default: the topmost window)")
    window.add_argument("--hwnd", type=int, help="the window's handle, as windows --json shows it")
    tap = sub.add_parser("tap", parents=[common, window], help="tap a control (by --id or --text) or a --point X,Y; "
                         "where an id repeats (the pages of a sheet), the visible control")
    tap.add_argument("--id", type=int)
    tap.add_argument("--text")
    tap.add_argument("--point", metavar="X,Y")
    tap.set_defaults(func=cmd_tap)
    typ = sub.add_parser("type", parents=[common, window], help="type text into an edit box")
    typ.add_argument("--id", type=int, help="the edit box's id (default: the window's first edit box)")
    typ.add_argument("text")
    typ.set_defaults(func=cmd_type)
    set_text = sub.add_parser("set-text", parents=[common, window], help="replace an edit box's text at once (a "
                              "combo box's: its edit field's); its parent is told of the change as typing tells it")
    set_text.add_argument("--id", type=int, required=True)
    set_text.add_argument("text")
    set_text.set_defaults(func=cmd_set_text)
    pick = sub.add_parser("pick", parents=[common, window], help="choose a combo box's entry (from 0) as its "
                          "list does; its parent is told")
    pick.add_argument("--id", type=int, required=True)
    pick.add_argument("--index", type=int, required=True)
    pick.set_defaults(func=cmd_pick)
    answer = sub.add_parser("answer", parents=[common, window], help="press a message box's button")
    answer.add_argument("button", help="ok, cancel, yes, no, abort, retry, ignore, default or an id")
    answer.set_defaults(func=cmd_answer)
    command = sub.add_parser("command", parents=[common, window], help="send a menu command to a window (default: "
                             "Dorix's main window), as choosing it in the menu does")
    command.add_argument("command_id", type=int, metavar="ID")
    command.set_defaults(func=cmd_command)
    menu = sub.add_parser("menu", parents=[common, window], help="tap a menu in a window's command bar (default: "
                          "Dorix's main window) and choose the item of each further TEXT in the menu it opens")
    menu.add_argument("texts", nargs="+", metavar="TEXT", help="the menu's title, then the items' texts")
    menu.set_defaults(func=cmd_menu)
    menus = sub.add_parser("menus", parents=[common, window], help="the menus of a window's program with their "
                           "command ids (read from the program's file)")
    menus.add_argument("--json", action="store_true")
    menus.set_defaults(func=cmd_menus)
    tabs = sub.add_parser("tabs", parents=[common, window], help="a tab control's tabs, their places and the "
                          "selected one (*)")
    tabs.add_argument("--id", type=int, help="the tab control's id (default: the window's first visible one)")
    tabs.add_argument("--json", action="store_true")
    tabs.set_defaults(func=cmd_tabs)
    tab = sub.add_parser("tab", parents=[common, window], help="tap a tab, by its text or --index")
    tab.add_argument("--id", type=int, help="the tab control's id (default: the window's first visible one)")
    tab.add_argument("--index", type=int)
    tab.add_argument("text", nargs="?")
    tab.set_defaults(func=cmd_tab)
    items = sub.add_parser("items", parents=[common, window], help="a list view's or tree view's items with their "
                           "check boxes")
    items.add_argument("--id", type=int, required=True)
    items.add_argument("--json", action="store_true")
    items.set_defaults(func=cmd_items)
    pictures = sub.add_parser("pages", parents=[common], help="screenshots of every page of Dorix's settings "
                              "sheets on each screen, each page's layout checked",
                              description="Boots a device of its own (in HOME/pages, from factory state) on each "
                              "screen, 240x320, 320x240, 480x640 and 640x480, starts Dorix, saves and checks its "
                              "main window (its eight mode buttons whole), opens each settings sheet through the "
                              "main window's command bar (the mode, state and program settings sheets, the new "
                              "shortcut, the preview) and the sheets their pages open, shows every page and saves "
                              "a screenshot of it (and of the box a page shows first, and of the windows a profile's "
                              "check and a preview show), and checks each: every visible control "
                              "lies inside its parent and the work area (the screen below the navigation bar), "
                              "overlaps no other control and does not cross a group box's edge, and the picture "
                              "shows the window. Exit code 0 when every page is sound, 1 with faults, 3 when Dorix "
                              "has no settings sheets.")
    pictures.add_argument("--screen", action="append", choices=sorted(pages.SCREENS), help="only this screen; "
                          "repeatable (default: all four)")
    pictures.add_argument("--out", help="where the pictures go (default: the device's screens/pages folder)")
    pictures.add_argument("--no-build", action="store_true", help="do not set up the machine or build first")
    pictures.set_defaults(func=cmd_pages)
    start = sub.add_parser("start", parents=[common], help="start a shortcut of the Start menu as a tap on it "
                           "would (\\Windows\\Start Menu\\Programs\\NAME.lnk)")
    start.add_argument("name", help="the shortcut's name, with or without .lnk")
    start.set_defaults(func=cmd_start)
    shot = sub.add_parser("screenshot", parents=[common], help="save the device's screen as PNG")
    shot.add_argument("file", nargs="?")
    shot.set_defaults(func=cmd_screenshot)
    return top


def main(argv=None):
    top = parser()
    args = top.parse_args(argv)
    if not getattr(args, "func", None):
        top.print_help()
        return 2
    try:
        return args.func(args)
    except DeviceError as e:
        print("dorix-device: %s" % e, file=sys.stderr)
        return 1
