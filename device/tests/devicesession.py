"""A run of the device in the background for end-to-end tests, driven as a user would (a
Session), and the tests' access to the device's files."""

import json
import os
import re
import subprocess
import sys
import tempfile
import time

from hostrun import BUILD, HOME, HOST, drive, env, host, png_size

import session as hostsession
import ui
from errors import DeviceError
from home import DORIX_PATH, Home, host_path
from image import IMAGES
from winerunner import win_path

SIZES = {"QVGA.0": (240, 320), "QVGA.1": (320, 240), "QVGA.2": (240, 320), "QVGA.3": (320, 240),
         "VGA.0": (480, 640), "VGA.1": (640, 480), "VGA.2": (480, 640), "VGA.3": (640, 480)}
SETTINGS = "HKCU\\Software\\Dorix"
WAIT = 40.0


def factory(name):
    """The bytes of a file of the e805 image."""
    with open(os.path.join(IMAGES, "e805", "files", *name.strip("\\").split("\\")), "rb") as f:
        return f.read()


def on_device(path):
    """The host file of a device path on the tests' device."""
    return host_path(drive(), path, existing=False)


def read(path):
    """The bytes of a device file, or None when it is missing."""
    try:
        with open(on_device(path), "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def write(path, data):
    target = on_device(path)
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with open(target, "wb") as f:
        f.write(data)


def unique_colours(png, rect):
    """How many colours the screenshot shows inside rect (left, top, right, bottom)."""
    left, top, right, bottom = rect
    out = subprocess.run(["/usr/bin/convert", png, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                          "-format", "%k", "info:"], stdout=subprocess.PIPE, text=True, check=True).stdout
    return int(out.strip())


class Session:
    """One run of the device in the background. Its program (Dorix, or the device's stand-in
    playing the device's own shell) is started again after every reset, as a user would; boxes
    are left to the test."""

    def __init__(self, program=None):
        fd, self.report = tempfile.mkstemp(suffix=".json")
        os.close(fd)
        fd, self.log = tempfile.mkstemp(suffix=".log")
        os.close(fd)
        args = [sys.executable, HOST, "run", "--no-build", "--headless", "--seconds", "900", "--box-wait", "900",
                "--report", self.report] + (["--program", program] if program else [])
        with open(self.log, "w") as log:
            self.host = subprocess.Popen(args, env=dict(env(), PYTHONUNBUFFERED="1"), stdout=log,
                                         stderr=subprocess.STDOUT)
        self.dev = hostsession.Session(Home("e805", home=HOME, build=BUILD, log=lambda *a: None))
        self.title = "Dorix" if program is None else "Dorix stand-in"
        self.boot = 0
        self.final = None
        self.started = []
        self.wait_for_boot(1)

    def output(self):
        with open(self.log) as f:
            return f.read()

    def resets(self):
        return self.output().count("soft reset requested")

    def fail(self, what):
        programs = ["still running" if p.poll() is None else "ended with %d" % p.returncode for p in self.started]
        raise AssertionError("%s; the programs the test started: %s; the device host said:\n%s"
                             % (what, programs or "none", self.output()))

    def windows(self):
        self.dev.attach()
        return ui.windows(self.dev)

    def program_window(self, found=None):
        return next((w for w in found or self.windows() if not w["box"] and w["title"] == self.title), None)

    def wait_for_boot(self, number):
        """Waits until boot number has brought the session's program up; returns its mode."""
        deadline = time.monotonic() + WAIT
        while time.monotonic() < deadline:
            if self.host.poll() is not None:
                self.fail("the device ended")
            session = self.dev.home.running()
            if session and session.get("boot") == number:
                try:
                    if self.program_window():
                        self.boot = number
                        return session["mode"]
                except DeviceError:
                    pass  # between boots
            time.sleep(0.2)
        self.fail("boot %d did not come up" % number)

    def wait_for_reset(self):
        """The mode the device comes back in after the reset the program asked for."""
        return self.wait_for_boot(self.boot + 1)

    def screen(self):
        """The screen size the device shows and, for the stand-in, the size it measured."""
        path = self.dev.screenshot(os.path.join(self.dev.home.screens, "e2e-%d.png" % self.boot))
        return tuple(png_size(path)), path

    def start_dorix(self, *args):
        self.dev.attach()
        self.dev.home.install_program()
        self.started.append(self.dev.wine.launch(DORIX_PATH, *args, stdout=subprocess.DEVNULL))
        return self.started[-1]

    def wait_for(self, what, probe, timeout=WAIT):
        """What probe() returns once it is true; fails naming what did not happen."""
        try:
            return ui.wait_for(what, probe, timeout)
        except DeviceError as e:
            self.fail(str(e))

    def settled(self):
        """The program's window once its thread answers again: what a tap or an answer started
        has ended, or shows a box."""
        return self.wait_for("the program to answer", lambda: self.program_window()
                             or next((w for w in self.windows() if w["box"]), None))

    def box(self):
        """The message box shown next, once painted (the helper tells its icon by the pixels on
        the screen); fails when it runs past the work area, the screen below the navigation bar,
        where no one could read it whole."""
        found = self.wait_for("a message box", lambda: [w for w in self.windows() if w["box"]])
        ui.call(self.dev, "paint", "--hwnd", str(found[0]["hwnd"]))
        box = next((w for w in self.windows() if w["hwnd"] == found[0]["hwnd"]), found[0])
        area = ui.query(self.dev, "workarea")["work"]
        left, top, right, bottom = box["rect"]
        if left < area[0] or top < area[1] or right > area[2] or bottom > area[3]:
            self.fail("the box %r %s runs past the work area %s" % (box["text"], box["rect"], area))
        return box

    # ----- menus and sheets -----

    def menu(self, *texts):
        """Taps the menu of the first text in the main window's command bar and chooses the
        item of each further text, as the pen does."""
        ui.call(self.dev, "menu", *texts)

    def command(self, command):
        """Sends a command of the main window's menu to it directly."""
        ui.call(self.dev, "command", str(command))

    def menus(self):
        return ui.query(self.dev, "menus", "--window", self.title)

    def sheet(self, caption):
        """The sheet of this caption once it shows a page."""
        return self.wait_for('the sheet "%s"' % caption, lambda: next(
            (w for w in self.windows() if w["title"] == caption and not w["box"] and ui.active_page(w)), None))

    def page(self, sheet, tab):
        """Taps the tab of the sheet (a listed window) and returns the sheet once that page shows."""
        ui.call(self.dev, "tab", "--hwnd", str(sheet["hwnd"]), tab)

        def shown():
            tabs = ui.query(self.dev, "tabs", "--hwnd", str(sheet["hwnd"]))
            if tabs["tabs"][tabs["selected"]]["text"] != tab:
                return None
            return next((w for w in self.windows() if w["hwnd"] == sheet["hwnd"] and ui.active_page(w)), None)
        return self.wait_for('the page "%s"' % tab, shown)

    def set_text(self, sheet, control, text):
        ui.call(self.dev, "set-text", "--hwnd", str(sheet["hwnd"]), "--id", str(control), text)

    def pick(self, sheet, control, index):
        ui.call(self.dev, "pick", "--hwnd", str(sheet["hwnd"]), "--id", str(control), "--index", str(index))

    def start_shortcut(self, name):
        """Starts a shortcut of the Start menu as a tap on it would."""
        self.dev.attach()
        self.started.append(self.dev.start_shortcut(name))
        return self.started[-1]

    def tap_in(self, window, control):
        ui.call(self.dev, "tap", "--hwnd", str(window["hwnd"]), "--id", str(control))

    def gone(self, window):
        """Waits until a listed window is no longer shown."""
        self.wait_for("%s to close" % ui.describe(window),
                      lambda: not any(w["hwnd"] == window["hwnd"] for w in self.windows()))

    def answer(self, button):
        ui.call(self.dev, "answer", button)

    def boxes(self, answers):
        """Answers the boxes shown, one per answer; returns (text, caption, style) of each."""
        shown = []
        for answer in answers:
            box = self.box()
            shown.append((box["text"], box["title"], box["box_style"]))
            self.answer(answer)
            deadline = time.monotonic() + WAIT
            while time.monotonic() < deadline:
                try:
                    if not any(w["hwnd"] == box["hwnd"] for w in self.windows()):
                        break
                except DeviceError:
                    # The answer may start a reset at once: the device's programs are being
                    # ended and its windows cannot be listed. The box is gone with them.
                    break
                time.sleep(0.1)
        return shown

    def ended(self, proc):
        """The exit code of a program of the device that ends on its own."""
        try:
            return proc.wait(timeout=WAIT)
        except subprocess.TimeoutExpired:
            proc.kill()
            self.fail("the program did not end; windows: %s" % [ui.describe(w) for w in self.windows()])

    def tap(self, control):
        ui.call(self.dev, "tap", "--window", self.title, "--id", str(control))

    def reg(self, key, name):
        """A live registry value as "reg query" shows it, or None when it is missing."""
        self.dev.attach()
        out = self.dev.wine.run("reg", "query", key, "/v", name, check=False, capture=True).stdout.decode("utf-8")
        for line in out.replace("\r", "").split("\n"):
            found = re.match(r"^    (.*?)    (REG_\w+)    (.*)$", line)
            if found and found.group(1).lower() == name.lower():
                data = found.group(3)
                return int(data, 16) if found.group(2) == "REG_DWORD" else data
        return None

    def set_dword(self, key, name, value):
        self.dev.attach()
        self.dev.wine.run("reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f")

    def import_reg(self, text):
        fd, path = tempfile.mkstemp(suffix=".reg")
        with os.fdopen(fd, "w", encoding="cp1252", newline="\r\n") as f:
            f.write("REGEDIT4\n\n" + text)
        try:
            self.dev.attach()
            self.dev.wine.run("regedit", "/S", win_path(path))
        finally:
            os.remove(path)

    def stop(self):
        """Ends the session (unless its program already did); returns the host's report."""
        if self.final is None:
            if self.host.poll() is None:
                host("stop", check=False)
            self.host.wait(timeout=60)
            for proc in self.started:
                proc.wait(timeout=60)
            self.dev.wine.close()
            with open(self.report) as f:
                self.final = json.load(f)
            os.remove(self.report)
        return self.final


def reg4(key):
    """A key as a REGEDIT4 header names it."""
    return key.replace("HKLM", "HKEY_LOCAL_MACHINE").replace("HKCU", "HKEY_CURRENT_USER")
