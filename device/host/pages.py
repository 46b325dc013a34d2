"""Pictures of Dorix's settings sheets: on each screen, every sheet of SHEETS is opened from the
main window as its menu command opens it, and every sheet of NESTED from its page as a user opens
it there; each of their pages is shown and saved as a screenshot, and the page's layout checked
(layout_faults)."""

import os
import re
from collections import namedtuple

import device as devicemod
import driver
import ui

Sheet = namedtuple("Sheet", "command caption")

# The sheets and the menu commands that open them; a new sheet is one more line.
SHEETS = [
    Sheet(32852, "240x320 - Portrait"),
    Sheet(32854, "320x240 - Landscape"),
    Sheet(32851, "480x640 - Portrait"),
    Sheet(32857, "640x480 - Landscape"),
    Sheet(32844, "State Settings"),
    Sheet(32860, "Program Settings"),
    Sheet(32870, "New shortcut"),
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
# The box a page shows when it is first opened (unless its setting turns it off), by tab text:
# the start of the box's text.
PAGE_BOXES = {"GPU-Clock": "Changing timings can cause"}
# The screens, by size, and a mode that boots in each (resolution, orientation).
SCREENS = {"240x320": (False, 0), "320x240": (False, 1), "480x640": (True, 0), "640x480": (True, 1)}
# What the main window's menu must hold for the sheets to be there.
MENU_ITEM = "Mode settings"
CANCEL = 32791
BS_TYPEMASK, BS_GROUPBOX = 0xF, 7
WAIT = 30.0


class NoSheets(devicemod.DeviceError):
    """The program has no settings sheets to show."""


def is_group_box(control):
    return control["class"].lower() == "button" and control["style"] & BS_TYPEMASK == BS_GROUPBOX


def inside(inner, outer):
    return inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def overlap(a, b):
    return max(a[0], b[0]) < min(a[2], b[2]) and max(a[1], b[1]) < min(a[3], b[3])


def name(control):
    return "%s %d %s" % (control["class"], control["id"], '"%s"' % control["text"] if control["text"] else "")


def layout_faults(sheet, screen):
    """What is wrong with the layout of a listed sheet's active page on a screen of (width,
    height), one text each: a visible control of the page outside the page or the screen, two
    controls that overlap (an up-down control and its edit box may: they are one control to the
    user), a control that crosses a group box's edge. Group boxes hold other controls by design."""
    page = ui.active_page(sheet)
    if page is None:
        return ["the sheet shows no page"]
    area = [0, 0, screen[0], screen[1]]
    faults = [] if inside(page["rect"], area) else ["the page %s runs past the screen" % page["rect"]]
    controls = [c for c in ui.children(sheet, page["hwnd"]) if c["visible"]]
    for c in controls:
        if not inside(c["rect"], page["rect"]):
            faults.append("%s %s runs past the page %s" % (name(c), c["rect"], page["rect"]))
        elif not inside(c["rect"], area):
            faults.append("%s %s runs past the screen" % (name(c), c["rect"]))
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


def slug(text):
    return re.sub(r"[^a-z0-9]+", "-", text.lower()).strip("-")


class Pictures:
    """Drives a booted device whose program is Dorix's main window through every sheet."""

    def __init__(self, dev, out, log):
        self.dev, self.out, self.log = dev, out, log
        self.shots, self.faults = [], []

    def listing(self):
        return ui.windows(self.dev)

    def window(self, hwnd):
        return next((w for w in self.listing() if w["hwnd"] == hwnd), None)

    def shoot(self, hwnd, file_name):
        ui.call(self.dev, "paint", "--hwnd", str(hwnd))
        path = self.dev.screenshot(os.path.join(self.out, file_name))
        self.shots.append(path)
        return path

    def screen(self, size):
        ui.wait_for("Dorix's main window", lambda: ui.titled(self.listing(), "Dorix"), WAIT)
        if not ui.menu_has(ui.query(self.dev, "menus", "--window", "Dorix"), MENU_ITEM):
            raise NoSheets('Dorix\'s main window has no "%s" menu: no settings sheets to show' % MENU_ITEM)
        for sheet in SHEETS:
            self.sheet(size, sheet)

    def sheet(self, size, sheet):
        ui.call(self.dev, "command", str(sheet.command))
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
        except devicemod.DeviceError:
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
            shot = self.shoot(box["hwnd"], base + "-box.png")
            self.log("  %s / %s, its box: %s" % (caption, tab, shot))
            if not inside(box["rect"], [0, 0, size[0], size[1]]):
                self.fault(size, caption, tab, "its box %s runs past the screen" % box["rect"])
            ui.call(self.dev, "answer", "--hwnd", str(box["hwnd"]), "ok")
            ui.wait_for("the box to close", lambda: self.window(box["hwnd"]) is None, WAIT)
        shot = self.shoot(hwnd, base + ".png")
        faults = layout_faults(self.window(hwnd), size)
        self.log("  %s / %s: %s%s" % (caption, tab, shot, "" if faults else ", layout sound"))
        for fault in faults:
            self.fault(size, caption, tab, fault)

    def fault(self, size, caption, tab, fault):
        self.log("    FAULT " + fault)
        self.faults.append("%s %s / %s: %s" % ("x".join(map(str, size)), caption, tab, fault))


def take(dev, screens, out, log=print):
    """Boots the device (down and in factory state) on each of the screens (keys of SCREENS),
    takes the pictures there and checks them; returns the Pictures with its shots and faults.
    Raises NoSheets when Dorix has no sheets."""
    pictures = Pictures(dev, out, log)
    program = dev.install_program()
    if program is None:
        raise devicemod.DeviceError("Dorix is not built: no sheets to show")
    for screen in screens:
        vga, orientation = SCREENS[screen]
        dev.set_mode(vga, orientation)
        try:
            mode = dev.boot(True)
            log("%s: %s" % (screen, mode.name))
            if mode.size != driver.screen_size(vga, orientation):
                raise devicemod.DeviceError("the device booted %s instead: %s" % (mode.name, mode.safe_reason))
            dev.start(program)
            pictures.screen(driver.screen_size(vga, orientation))
        finally:
            dev.shutdown()
    return pictures
