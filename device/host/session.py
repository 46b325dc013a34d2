"""The device's running session: booting in the mode the driver's settings name, its system's
programs and those of its StartUp folder, the program the user starts, screenshots, the soft
reset's request and the shutdown. While it runs, its home's session.json tells other
dorix-device commands how to join it."""

import json
import os
import shutil
import signal
import subprocess

import driver
import startup
from errors import DeviceError
from home import BUILT_ROM, host_path
from winerunner import win_path

# The X window of the device's virtual desktop.
DESKTOP_WINDOW = "Default - Wine desktop"
# Wine's own fonts, of which the device's system has these.
WINE_FONTS = "/usr/share/wine/fonts"
SYSTEM_FONTS = ("marlett.ttf",)


class Session:
    def __init__(self, home):
        self.home = home
        # Its display is the session's: set at boot, or when joining a running device.
        self.wine = home.wine
        self.xvfb = None
        self.headless = False
        self.desktop = None
        self.navbar = None
        self.boxfit = None
        self.started = []  # the programs of the StartUp folder
        self.program = None
        self.boots = 0

    def attach(self):
        """Joins the running device's session (for the driving commands)."""
        session = self.home.running()
        if not session:
            raise DeviceError("the device %s is not running (start it with: dorix-device run)" % self.home.image.name)
        self.wine.display = session["display"]
        self.headless = session.get("headless", False)
        return session

    def boot(self, headless, display=None):
        """Boots the device: ROM restored, the driver's settings read, the screen of that mode
        (Xvfb when headless), the volatile keys created, the desktop started with the device's
        navigation bar (device/navbar) and message-box layout (device/boxfit), the StartUp folder's
        programs started. Returns the BootMode; its "startup" lists what the StartUp folder
        started or skipped, one line each."""
        home = self.home
        home.map_drive()
        restored = home.restore_rom()
        settings = home.driver_settings()
        mode = driver.boot_mode(settings)
        width, height = mode.size
        self._set_desktop_size(width, height)
        self.boots += 1
        self.headless = headless
        if headless:
            self._start_xvfb(width, height)
        else:
            self.wine.display = display
        self.wine.keep_server()
        home.build.require("devctl.exe", "boxfit.exe", "boxfit.dll", "navbar.exe", *(
            name for name in BUILT_ROM if name.endswith(".dll")))
        self._install_fonts()
        self.wine.run(home.build.device("devctl.exe"), "load-volatile", win_path(home.volatile))
        self.desktop = self.wine.launch("explorer", "/desktop=Default,%dx%d" % (width, height))
        self.navbar = self._start_ready("navbar.exe", "navigation bar")
        self.boxfit = self._start_ready("boxfit.exe", "message-box layout")
        self._write_session(mode)
        mode.restored = restored
        mode.settings = settings
        mode.startup = self._run_startup()
        return mode

    def _start_ready(self, name, what):
        """Starts a program of the device's system and waits until it says it is in place: the
        navigation bar, so that every program gets the work area below it, and the message-box
        layout, so that every program lays its boxes out for the device's screen."""
        proc = self.wine.launch(self.home.build.device(name), stdout=subprocess.PIPE)
        answer = proc.first_line(30)
        if answer.strip() != b"ready":
            raise DeviceError("the device's %s did not start: %r" % (what, answer.decode(errors="replace")))
        return proc

    def _install_fonts(self):
        """The fonts of the device's system, from Wine's own: Tahoma, and Marlett, whose glyphs
        draw the boxes' close buttons (without it Wine shows the letter "r")."""
        fonts = os.path.join(self.home.prefix, "drive_c", "windows", "Fonts")
        for name in SYSTEM_FONTS:
            source = os.path.join(WINE_FONTS, name)
            if os.path.isfile(source) and os.path.isdir(fonts) and not os.path.exists(os.path.join(fonts, name)):
                shutil.copy2(source, fonts)

    def _run_startup(self):
        """Starts the programs of the StartUp folder's shortcuts, as the device does at boot;
        one line for each shortcut."""
        lines = []
        for entry in startup.plan(lambda path: host_path(self.home.drive, path)):
            if entry.skipped:
                lines.append("StartUp %s skipped: %s" % (entry.shortcut, entry.skipped))
                continue
            self.started.append(self.wine.launch(entry.program, *entry.args))
            lines.append("StartUp %s started: %s" % (entry.shortcut, " ".join([entry.program] + entry.args)))
        return lines

    def _set_desktop_size(self, width, height):
        """Makes every program of the session join a virtual desktop of the mode's size,
        whichever process creates it first (HKCU\\Software\\Wine\\Explorer). Written into the
        registry file while the device is down, so that no program can run before it."""
        path = os.path.join(self.home.prefix, "user.reg")
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            text = f.read()
        ours = ("[software\\\\wine\\\\explorer]", "[software\\\\wine\\\\explorer\\\\desktops]")
        blocks = text.split("\n\n")
        kept = [b for b in blocks if not b.lstrip("\n").lower().startswith(ours)]
        kept.append('[Software\\\\Wine\\\\Explorer] 0\n"Desktop"="Default"')
        kept.append('[Software\\\\Wine\\\\Explorer\\\\Desktops] 0\n"Default"="%dx%d"\n' % (width, height))
        with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write("\n\n".join(kept))

    def _start_xvfb(self, width, height):
        """A headless display of the device's size: the X screen is the device's screen, so
        that a screenshot of it is one of the device, and whatever Wine places by the X screen
        lands on the device's."""
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % (width, height), "-nolisten", "tcp"],
            pass_fds=(write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise DeviceError("Xvfb did not start")
        self.wine.display = ":" + number

    def _write_session(self, mode):
        with open(self.home.session_file, "w") as f:
            # "boot" counts the boots of this run, so that a driver can tell that a reset happened.
            json.dump({"host_pid": os.getpid(), "display": self.wine.display, "mode": mode.name,
                       "boot": self.boots, "headless": self.xvfb is not None}, f)

    def start(self, program, args=()):
        """Starts a program of the device (a device path or a host path) in its session."""
        if program.startswith("\\") and host_path(self.home.drive, program) is None:
            raise DeviceError("no program %s on the device" % program)
        self.program = self.wine.launch(program, *args)
        return self.program

    def start_shortcut(self, name):
        """Starts what the Start menu's shortcut name starts, as a tap on it in the Start menu
        does, in the running device's session; returns the process."""
        try:
            program, args = startup.start_menu_entry(lambda path: host_path(self.home.drive, path), name)
        except (OSError, startup.ShortcutError) as e:
            raise DeviceError(str(e))
        return self.wine.launch(program, *args)

    def take_reset_request(self):
        """Accepts a pending soft-reset request: True when there was one. Renaming is the
        acceptance; a requester that withdrew first has already deleted the file."""
        request = self.home.request
        try:
            os.replace(request, request + ".accepted")
        except FileNotFoundError:
            return False
        os.remove(request + ".accepted")
        return True

    def shutdown(self):
        """Ends every program of the device, keeping its volatile keys and its registry."""
        home = self.home
        if self.wine.display is not None and home.running():
            saved = home.volatile + ".new"
            try:
                self.wine.run(home.build.device("devctl.exe"), "save-keys", win_path(saved),
                              *home.image.volatile_keys(), timeout=30)
                os.replace(saved, home.volatile)
            except (DeviceError, subprocess.TimeoutExpired) as e:
                home.log("warning: volatile keys not saved: %s" % e)
        self.wine.stop_server()
        for proc in [self.program, self.desktop, self.navbar, self.boxfit] + self.started:
            if proc is not None:
                try:
                    proc.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    proc.kill()
        for proc in (self.navbar, self.boxfit):
            if proc is not None:
                proc.stdout.close()
        self.program = self.desktop = self.navbar = self.boxfit = None
        self.started = []
        if self.xvfb is not None:
            self.xvfb.send_signal(signal.SIGTERM)
            self.xvfb.wait()
            self.xvfb = None
        if os.path.exists(home.session_file):
            os.remove(home.session_file)

    def screenshot(self, path):
        """Saves the device's screen as PNG; returns the path."""
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        # Headless, the X screen is the device's screen; on a user's display the device's
        # screen is the virtual desktop's window. One read of the screen as it shows: xwd
        # pieces its picture together window by window once windows bring colormaps of their
        # own, as every Wine program does, and leaves a window black that lies over another
        # one smaller than the screen (a program's window below the navigation bar).
        window = "root" if self.headless else DESKTOP_WINDOW
        shot = subprocess.run(["/usr/bin/import", "-silent", "-window", window, "png:" + path],
                              env=dict(os.environ, DISPLAY=self.wine.display), stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=30)
        if shot.returncode != 0:
            raise DeviceError("import failed: %s" % shot.stderr.decode(errors="replace").strip())
        return path
