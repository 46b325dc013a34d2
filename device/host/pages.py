"""Pictures of Dorix's main window and settings sheets: on each screen the main window is saved
and checked (window_faults), every sheet of SHEETS is opened through the main window's command
bar as a user opens it, and every sheet of NESTED from its page as a user opens it there; each of
their pages is shown and saved as a screenshot, and the page's layout checked (layout_faults).
Windows that are no sheets, opened from a page (OPENED) or by a sheet's OK (ENDED), are saved and
checked as well.
Everything is measured against the work area, the screen below the navigation bar."""

import os
import re
import subprocess
from collections import namedtuple

import driver
import ui
from errors import DeviceError
from home import host_path

Sheet = namedtuple("Sheet", "menu caption")

# The sheets and the texts tapped in the command bar's menus to open them; a new sheet is one
# more line.
MODE_SETTINGS = ("Tools", "Mode settings")
SHEETS = [
    Sheet(MODE_SETTINGS + ("240x320 - Portrait...",), "240x320 - Portrait"),
    Sheet(MODE_SETTINGS + ("320x240 - Landscape...",), "320x240 - Landscape"),
    Sheet(MODE_SETTINGS + ("480x640 - Portrait...",), "480x640 - Portrait"),
    Sheet(MODE_SETTINGS + ("640x480 - Landscape...",), "640x480 - Landscape"),
    Sheet(("Tools", "State settings..."), "State Settings"),
    Sheet(("Tools", "Program settings..."), "Program Settings"),
    Sheet(("Tools", "New shortcut..."), "New shortcut"),
    Sheet(("Tools", "Preview switch..."), "Preview"),
]
Nested = namedtuple("Nested", "parent tab steps caption")
# The sheets that pages open, each reached from the page (by its tab text) of the sheet of the
# parent caption through the steps: ("text", id, text) replaces an edit box's text, ("row", id,
# index) taps a list's row, ("press", id) presses a button.
NESTED = [
    Nested("240x320 - Portrait", "Fonts", [("press", 1069)], "Choose Font"),
    Nested("State Settings", "Profiles", [("row", 1118, 0), ("press", 1117)], "Profile"),
    Nested("State Settings", "Registry", [("press", 1112)], "Add/Edit registry entry for swapping"),
    # A value every device has, so that its stored data can be shown.
    Nested("Add/Edit registry entry for swapping", "Registry's Entry",
           [("text", 1084, "HKLM\\System\\GDI\\Rotation"), ("text", 1069, "Angle"), ("press", 1122)], "Registry data"),
    Nested("State Settings", "Files", [("press", 1108)], "Add/Edit file for swapping"),
    Nested("Add/Edit file for swapping", "File Entry", [("press", 1115)], "Choose file"),
]
# The windows that pages open which are no sheets, reached as the NESTED sheets are; after the
# steps a box tells what is coming (the start of its text) and is answered, then the window of
# the caption shows, is saved and checked, and is closed with its OK.
Opened = namedtuple("Opened", "parent tab steps box caption")
OPENED = [
    # The check of a profile with mistakes (CHECK_DEMO), the second row.
    Opened("State Settings", "Profiles", [("row", 1118, 1), ("press", 1161)], "9 problems found", "Profile check"),
]
# The windows that a sheet's OK opens: the sheet of SHEETS with the caption sheet is opened as
# there, the entry of its combo box (id, then the entry on a QVGA and on a VGA screen) picked,
# and ended with OK; the window of the caption shows, is saved and checked, and is closed with
# its OK.
Ended = namedtuple("Ended", "sheet pick caption")
ENDED = [
    # A switch to the other resolution: VGA landscape from QVGA, QVGA portrait from VGA.
    Ended("Preview", (1170, 5, 0), "Switch preview"),
]
# A profile with one of each of the usual mistakes, beside the samples, for the check's report.
CHECK_DEMO = ("\\Program Files\\Dorix\\profiles\\Old Skin.dorix",
              "// An old skin profile, written for an earlier Dorix\r\n"
              "[Profile]\r\nVersion=1.3\r\nAuthor=Dorix\r\n\r\n"
              "[VGA]\r\n"
              "0=RegWriteDWord,HKCU\\Software\\Microsoft\\Inbox\\Settings,FontSize,twelve\r\n"
              "1=CopyFile,%WINDOW%\\Skins\\vga.skn,%PROGRAM_FILES%\\Skinnable\\current.skn\r\n"
              "2=RegWriteString,HKLM\\Software\\Skinnable,,large\r\n"
              "4=ShowMessage,The VGA skin is installed.\r\n\r\n"
              "[QVGA.Portrait]\r\n"
              "0=RegWriteDWord,HKCU\\Software\\Microsoft\\Inbox\\Settings,FontSize,8\r\n")
OK = 1
SHEET_OK = 32790
# The box a page shows when it is first opened (unless its setting turns it off), by tab text:
# the start of the box's text.
PAGE_BOXES = {"GPU-Clock": "Changing timings can cause"}
# The screens, by size, and a mode that boots in each (resolution, orientation).
SCREENS = {"240x320": (False, 0), "320x240": (False, 1), "480x640": (True, 0), "640x480": (True, 1)}
# What the main window's menu must hold for the sheets to be there.
MENU_ITEM = "Mode settings"
MAIN_WINDOW = "Dorix"
# The eight mode buttons of the main window's view.
MODE_BUTTONS = range(1027, 1035)
CANCEL = 32791
BS_TYPEMASK, BS_GROUPBOX = 0xF, 7
WAIT = 30.0


class NoSheets(DeviceError):
    """The program has no settings sheets to show."""


def is_group_box(control):
    return control["class"].lower() == "button" and control["style"] & BS_TYPEMASK == BS_GROUPBOX


def inside(inner, outer):
    return inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def overlap(a, b):
    return max(a[0], b[0]) < min(a[2], b[2]) and max(a[1], b[1]) < min(a[3], b[3])


def name(control):
    return "%s %d %s" % (control["class"], control["id"], '"%s"' % control["text"] if control["text"] else "")


def control_faults(controls, parent, area):
    """What is wrong with visible sibling controls of a parent (a listed control or window):
    a control outside its parent or the work area, two controls that overlap (an up-down
    control and its edit box may: they are one control to the user), a control that crosses a
    group box's edge. Group boxes hold other controls by design."""
    faults = []
    for c in controls:
        if not inside(c["rect"], parent["rect"]):
            faults.append("%s %s runs past its parent %s" % (name(c), c["rect"], parent["rect"]))
        elif not inside(c["rect"], area):
            faults.append("%s %s runs past the work area %s" % (name(c), c["rect"], area))
    for i, a in enumerate(controls):
        for b in controls[i + 1:]:
            if not overlap(a["rect"], b["rect"]) or a.get("buddy") == b["hwnd"] or b.get("buddy") == a["hwnd"]:
                continue
            groups = [g for g in (a, b) if is_group_box(g)]
            if len(groups) == 1:
                group, other = (a, b) if groups[0] is a else (b, a)
                if not inside(other["rect"], group["rect"]):
                    faults.append("%s %s crosses the edge of the group box %s %s" % (
                        name(other), other["rect"], name(group), group["rect"]))
            elif not groups or not (inside(a["rect"], b["rect"]) or inside(b["rect"], a["rect"])):
                faults.append("%s %s overlaps %s %s" % (name(a), a["rect"], name(b), b["rect"]))
    return faults


def layout_faults(sheet, area):
    """What is wrong with the layout of a listed sheet's active page in the work area (left,
    top, right, bottom), one text each: the page or a visible control of it outside the work
    area, and what control_faults finds among the page's controls."""
    page = ui.active_page(sheet)
    if page is None:
        return ["the sheet shows no page"]
    faults = [] if inside(page["rect"], area) else ["the page %s runs past the work area %s" % (page["rect"], area)]
    return faults + control_faults([c for c in ui.children(sheet, page["hwnd"]) if c["visible"]], page, area)


def window_faults(window, area):
    """What is wrong with a listed top-level window in the work area: the window outside it, a
    missing or hidden mode button, and what control_faults finds among the controls of each of
    its parts (the view, the command bar)."""
    faults = [] if inside(window["rect"], area) else ["the window %s runs past the work area %s" % (window["rect"], area)]
    shown = {c["id"] for c in window["controls"] if c["visible"]}
    faults += ["the mode button %d does not show" % i for i in MODE_BUTTONS if i not in shown]
    parents = [window] + [c for c in window["controls"] if c["visible"]]
    for parent in parents:
        controls = [c for c in ui.children(window, parent["hwnd"]) if c["visible"]]
        if controls:
            faults += control_faults(controls, parent, area)
    return faults


def colours(path, rect):
    """How many colours the picture shows inside rect (left, top, right, bottom)."""
    left, top, right, bottom = rect
    return int(subprocess.run(["/usr/bin/convert", path, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                               "-format", "%k", "info:"], check=True, stdout=subprocess.PIPE, text=True).stdout)


def slug(text):
    return re.sub(r"[^a-z0-9]+", "-", text.lower()).strip("-")


class Pictures:
    """Drives a booted device whose program is Dorix's main window through every sheet."""

    def __init__(self, dev, out, log):
        self.dev, self.out, self.log = dev, out, log
        self.shots, self.faults = [], []
        self.area = None

    def listing(self):
        return ui.windows(self.dev)

    def window(self, hwnd):
        return next((w for w in self.listing() if w["hwnd"] == hwnd), None)

    def shoot(self, window, file_name):
        """Saves the screen showing a listed window, once the navigation bar shows its title; the
        picture must show something of it (a window the screen leaves unpainted is one colour)."""
        ui.call(self.dev, "paint", "--hwnd", str(window["hwnd"]))
        ui.wait_for('the navigation bar to show "%s"' % window["title"],
                    lambda: ui.query(self.dev, "workarea")["bar"] == window["title"], WAIT)
        path = self.dev.screenshot(os.path.join(self.out, file_name))
        self.shots.append(path)
        faults = [] if colours(path, window["rect"]) > 1 else ["the picture shows nothing of it"]
        return path, faults

    def screen(self, size):
        main = ui.wait_for("Dorix's main window", lambda: ui.titled(self.listing(), MAIN_WINDOW), WAIT)
        self.area = ui.query(self.dev, "workarea")["work"]
        if not ui.menu_has(ui.query(self.dev, "menus", "--window", MAIN_WINDOW), MENU_ITEM):
            raise NoSheets('Dorix\'s main window has no "%s" menu: no settings sheets to show' % MENU_ITEM)
        shot, faults = self.shoot(main, "%s-%s-0-main-window.png" % ("x".join(map(str, size)), slug(MAIN_WINDOW)))
        faults += window_faults(main, self.area)
        self.log("  %s: %s%s" % (MAIN_WINDOW, shot, "" if faults else ", layout sound"))
        for fault in faults:
            self.fault(size, MAIN_WINDOW, "main window", fault)
        for sheet in SHEETS:
            self.sheet(size, sheet)
        for ended in ENDED:
            sheet = next(s for s in SHEETS if s.caption == ended.sheet)
            ui.call(self.dev, "menu", *sheet.menu)
            found = ui.wait_for('the sheet "%s"' % sheet.caption,
                                lambda: next((w for w in self.listing() if w["title"] == sheet.caption
                                              and not w["box"] and ui.active_page(w)), None), WAIT)
            control, qvga, vga = ended.pick
            index = qvga if min(size) == 240 else vga
            ui.call(self.dev, "pick", "--hwnd", str(found["hwnd"]), "--id", str(control), "--index", str(index))
            ui.call(self.dev, "tap", "--hwnd", str(found["hwnd"]), "--id", str(SHEET_OK))
            self.window_shot(size, ended.caption)

    def sheet(self, size, sheet):
        # As a user opens it: a tap on the menu in the main window's command bar, then its items.
        ui.call(self.dev, "menu", *sheet.menu)
        self.pages(size, sheet.caption)

    def pages(self, size, caption):
        """Every page of the sheet of this caption, once it shows, and the sheets they open; then
        cancels it."""
        found = ui.wait_for('the sheet "%s"' % caption,
                            lambda: next((w for w in self.listing() if w["title"] == caption
                                          and not w["box"] and ui.active_page(w)), None), WAIT)
        hwnd = found["hwnd"]
        tabs = ui.query(self.dev, "tabs", "--hwnd", str(hwnd))["tabs"]
        for index, tab in enumerate(tabs):
            if index:
                ui.call(self.dev, "tab", "--hwnd", str(hwnd), "--index", str(index))
            self.page(size, caption, hwnd, index, tab["text"])
            for nested in NESTED:
                if (nested.parent, nested.tab) == (caption, tab["text"]):
                    self.open_nested(hwnd, nested)
                    self.pages(size, nested.caption)
            for opened in OPENED:
                if (opened.parent, opened.tab) == (caption, tab["text"]):
                    self.open_nested(hwnd, opened)
                    self.opened(size, opened)
        ui.call(self.dev, "tap", "--hwnd", str(hwnd), "--id", str(CANCEL))
        ui.wait_for('the sheet "%s" to close' % caption, lambda: self.window(hwnd) is None, WAIT)

    def open_nested(self, hwnd, nested):
        for step in nested.steps:
            if step[0] == "text":
                ui.call(self.dev, "set-text", "--hwnd", str(hwnd), "--id", str(step[1]), step[2])
            elif step[0] == "row":
                rows = ui.query(self.dev, "items", "--hwnd", str(hwnd), "--id", str(step[1]))["items"]
                left, top, right, bottom = rows[step[2]]["rect"]
                # The row's middle: its text, not its check box.
                ui.call(self.dev, "tap", "--point", "%d,%d" % ((left + right) // 2, (top + bottom) // 2))
                ui.wait_for("the row to be selected", lambda: ui.query(
                    self.dev, "items", "--hwnd", str(hwnd), "--id", str(step[1]))["items"][step[2]]["selected"], WAIT)
            else:
                ui.call(self.dev, "tap", "--hwnd", str(hwnd), "--id", str(step[1]))

    def showing(self, hwnd, index):
        """The sheet once its tab index is selected and a page shows; None before."""
        try:
            selected = ui.query(self.dev, "tabs", "--hwnd", str(hwnd))["selected"]
        except DeviceError:
            # A sheet busy creating the page it shows does not answer within devctl's time-out;
            # that is "not yet", and the wait around this goes on asking.
            return None
        if selected != index:
            return None
        sheet = self.window(hwnd)
        return sheet if sheet and ui.active_page(sheet) else None

    def page(self, size, caption, hwnd, index, tab):
        base = "%s-%s-%d-%s" % ("x".join(map(str, size)), slug(caption), index + 1, slug(tab))
        ui.wait_for('the page "%s"' % tab, lambda: self.showing(hwnd, index), WAIT)
        if tab in PAGE_BOXES:
            box = ui.wait_for("the box of the page \"%s\"" % tab,
                              lambda: next((w for w in self.listing() if w["box"]
                                            and w["text"].startswith(PAGE_BOXES[tab])), None), WAIT)
            shot, faults = self.shoot(box, base + "-box.png")
            self.log("  %s / %s, its box: %s" % (caption, tab, shot))
            if not inside(box["rect"], self.area):
                faults.append("%s runs past the work area %s" % (box["rect"], self.area))
            for fault in faults:
                self.fault(size, caption, tab, "its box: " + fault)
            ui.call(self.dev, "answer", "--hwnd", str(box["hwnd"]), "ok")
            ui.wait_for("the box to close", lambda: self.window(box["hwnd"]) is None, WAIT)
        sheet = self.window(hwnd)
        shot, faults = self.shoot(sheet, base + ".png")
        faults += layout_faults(sheet, self.area)
        self.log("  %s / %s: %s%s" % (caption, tab, shot, "" if faults else ", layout sound"))
        for fault in faults:
            self.fault(size, caption, tab, fault)

    def opened(self, size, opened):
        """Answers the box that comes first, then saves and checks the window of the caption
        once it shows, and closes it with its OK."""
        box = ui.wait_for('the box "%s..."' % opened.box,
                          lambda: next((w for w in self.listing() if w["box"] and w["text"].startswith(opened.box)),
                                       None), WAIT)
        ui.call(self.dev, "answer", "--hwnd", str(box["hwnd"]), "ok")
        self.window_shot(size, opened.caption)

    def window_shot(self, size, caption):
        """Saves and checks the window of the caption once it shows, and closes it with its OK."""
        window = ui.wait_for('the window "%s"' % caption, lambda: ui.titled(self.listing(), caption), WAIT)
        shot, faults = self.shoot(window, "%s-%s-1-window.png" % ("x".join(map(str, size)), slug(caption)))
        faults += [] if inside(window["rect"], self.area) else [
            "the window %s runs past the work area %s" % (window["rect"], self.area)]
        faults += control_faults([c for c in ui.children(window, window["hwnd"]) if c["visible"]], window, self.area)
        self.log("  %s: %s%s" % (caption, shot, "" if faults else ", layout sound"))
        for fault in faults:
            self.fault(size, caption, "window", fault)
        ui.call(self.dev, "tap", "--hwnd", str(window["hwnd"]), "--id", str(OK))
        ui.wait_for('the window "%s" to close' % caption, lambda: self.window(window["hwnd"]) is None, WAIT)

    def fault(self, size, caption, tab, fault):
        self.log("    FAULT " + fault)
        self.faults.append("%s %s / %s: %s" % ("x".join(map(str, size)), caption, tab, fault))


def take(dev, screens, out, log=print):
    """Boots the device (down and in factory state) on each of the screens (keys of SCREENS),
    takes the pictures there and checks them; returns the Pictures with its shots and faults.
    Raises NoSheets when Dorix has no sheets."""
    pictures = Pictures(dev, out, log)
    program = dev.home.install_program()
    if program is None:
        raise DeviceError("Dorix is not built: no sheets to show")
    demo = host_path(dev.home.drive, CHECK_DEMO[0], existing=False)
    with open(demo, "w", newline="") as f:
        f.write(CHECK_DEMO[1])
    for screen in screens:
        vga, orientation = SCREENS[screen]
        dev.home.set_mode(vga, orientation)
        try:
            mode = dev.boot(True)
            log("%s: %s" % (screen, mode.name))
            if mode.size != driver.screen_size(vga, orientation):
                raise DeviceError("the device booted %s instead: %s" % (mode.name, mode.safe_reason))
            dev.start(program)
            pictures.screen(driver.screen_size(vga, orientation))
        finally:
            dev.shutdown()
    return pictures
