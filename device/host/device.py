"""The simulated device: its home on this machine, creation from an image, ROM and RAM,
booting in the mode the driver's settings name, shutdown and the soft reset.

A device lives in <home>/<image>/:
  prefix/        the device's Wine prefix (separate from any test prefix)
  drive/         its file system, drive D: and the current directory of its programs
  factory/       the prefix's registry files right after creation: factory state
  volatile.dat   the values of its volatile keys (HKLM\\HARDWARE\\...) between sessions
  screens/       screenshots
  session.json   while it runs: how to reach it (display, pids)
  reset-request  a program's soft-reset request (KernelIoControl of the device's coredll.dll)
"""

import fcntl
import json
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

import driver
import registry
import startup

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
IMAGES = os.path.join(REPO, "device", "images")
TABLE = "\\Windows\\atihwtbl0.txt"
VOLATILE_ROOT = "HKLM\\HARDWARE"
WINE_REG_FILES = ("system.reg", "user.reg", "userdef.reg")
# Programs of the build that are part of the device's ROM: build name -> device path. The
# device's own DLLs, which its programs link against, are the build's stand-ins (device/ce).
BUILT_ROM = {"wceload.exe": "\\Windows\\wceload.exe", "pixels.exe": "\\Windows\\pixels.exe",
             "ce/coredll.dll": "\\Windows\\coredll.dll", "ce/commctrl.dll": "\\Windows\\commctrl.dll",
             "ce/aygshell.dll": "\\Windows\\aygshell.dll"}
# The device's "\Windows" as its programs see it, where they find the device's DLLs.
DEVICE_WINDOWS = "D:\\Windows"
# The X window of the device's virtual desktop.
DESKTOP_WINDOW = "Default - Wine desktop"
DORIX_PATH = "\\Program Files\\Dorix\\dorix.exe"
STANDIN = "standin.exe"
# Wine's own fonts, of which the device's system has these.
WINE_FONTS = "/usr/share/wine/fonts"
SYSTEM_FONTS = ("marlett.ttf",)
# Now and then Wine's loader cannot place a new process's shared user data, whose address
# something else took first (STATUS_CONFLICTING_ADDRESSES): the process ends with exit code 1
# before any of its code has run, and only Wine's error channel of the virtual memory says why.
# Such a start is made again: nothing was done. One in a few thousand starts, more under load.
START_FAILURE = b"failed to map the shared user data"
START_ATTEMPTS = 3
WINEDEBUG = "-all,err+virtual"


class DeviceError(Exception):
    pass


def default_home():
    return os.environ.get("DORIX_DEVICE_HOME") or os.path.join(
        os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "dorix-device")


def default_build():
    return os.environ.get("DORIX_BUILD") or os.path.join(REPO, "build")


def win_path(unix_path):
    """A host path as Windows programs of the device see it (Wine maps / as Z:)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def host_path(root, device_path, existing=True):
    """The host file of a device path below root, matching names without regard to case as the
    device does; with existing, None when there is no such file."""
    current = root
    parts = [p for p in device_path.split("\\") if p]
    for i, part in enumerate(parts):
        candidate = os.path.join(current, part)
        if not os.path.lexists(candidate) and os.path.isdir(current):
            for entry in os.listdir(current):
                if entry.lower() == part.lower():
                    candidate = os.path.join(current, entry)
                    break
        if existing and not os.path.lexists(candidate):
            return None
        current = candidate
    return current


class Image:
    """A device image: files/ (its file system; files/Windows is ROM), registry.reg and
    folders.txt (empty folders of the factory device)."""

    def __init__(self, name):
        self.name = name
        self.root = os.path.join(IMAGES, name)
        if not os.path.isfile(os.path.join(self.root, "registry.reg")):
            known = sorted(d for d in os.listdir(IMAGES) if os.path.isdir(os.path.join(IMAGES, d)))
            raise DeviceError("no device image %r (images: %s)" % (name, ", ".join(known)))
        with open(os.path.join(self.root, "registry.reg"), encoding="cp1252") as f:
            self.registry = registry.parse_regedit4(f.read())

    @property
    def files(self):
        return os.path.join(self.root, "files")

    def folders(self):
        path = os.path.join(self.root, "folders.txt")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return [line.strip() for line in f if line.strip() and not line.startswith(";")]

    def rom_files(self):
        """Device path -> host file of every ROM file of the image."""
        rom = {}
        base = os.path.join(self.files, "Windows")
        for folder, _, names in os.walk(base):
            for name in names:
                full = os.path.join(folder, name)
                rom["\\" + os.path.relpath(full, self.files).replace("/", "\\")] = full
        return rom

    def volatile_keys(self):
        return [name for name, _ in self.registry.below(VOLATILE_ROOT) if len(name.split("\\")) > 2]

    @property
    def oem_info(self):
        value = self.registry.get("HKLM\\Platform", "OEMInfo")
        return value[1] if value else ""


class Device:
    def __init__(self, image="e805", home=None, build=None, log=print):
        self.image = Image(image)
        # Absolute: the device's programs run with the drive as their working directory.
        self.dir = os.path.abspath(os.path.join(home or default_home(), image))
        self.build = os.path.abspath(build or default_build())
        self.prefix = os.path.join(self.dir, "prefix")
        self.drive = os.path.join(self.dir, "drive")
        self.factory = os.path.join(self.dir, "factory")
        self.volatile = os.path.join(self.dir, "volatile.dat")
        self.screens = os.path.join(self.dir, "screens")
        self.session_file = os.path.join(self.dir, "session.json")
        self.request = os.path.join(self.dir, "reset-request")
        self.log = log
        self.display = None
        self.xvfb = None
        self.desktop = None
        self.program = None
        self.started = []  # the programs of the StartUp folder
        self.boxfit = None
        self.navbar = None
        self.headless = False
        self.wine_log = None
        self._lock = None
        self.boots = 0

    # ----- environment -----

    def env(self):
        env = dict(os.environ)
        # A program finds the device's DLLs in "\Windows", as on the device: Wine's loader adds
        # WINEPATH to the search path of every process it starts.
        env.update(WINEPREFIX=self.prefix, WINEDEBUG=WINEDEBUG, WINEDLLOVERRIDES="mscoree,mshtml=",
                   DORIX_DEVICE_RESET=win_path(self.request), WINEPATH=DEVICE_WINDOWS)
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def wine(self, *args, check=True, timeout=120, capture=False):
        """Runs a Windows program in the device and waits for it. Output never goes to the
        caller's terminal or pipes: Wine's services started on the way would inherit them."""
        out = subprocess.PIPE if capture else self._wine_log()
        for _ in range(START_ATTEMPTS):
            with tempfile.TemporaryFile() as err:
                result = subprocess.run([WINE] + list(args), env=self.env(), cwd=self.drive,
                                        stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=timeout)
                if not self.never_started(result.returncode, err):
                    break
        if check and result.returncode != 0:
            raise DeviceError("%s failed with exit code %d%s" % (
                os.path.basename(args[0]), result.returncode,
                (": " + result.stdout.decode("utf-8", "replace").strip()) if capture else ""))
        return result

    def never_started(self, code, err):
        """Whether a Windows program that ended with this exit code never started (see
        START_FAILURE); its error output, the file err, goes on to the device's Wine log."""
        err.seek(0)
        text = err.read()
        self._wine_log().write(text)
        self._wine_log().flush()
        return code == 1 and START_FAILURE in text

    def _wine_log(self):
        if self.wine_log is None:
            os.makedirs(self.dir, exist_ok=True)
            self.wine_log = open(os.path.join(self.dir, "wine.log"), "ab")
        return self.wine_log

    def built(self, name):
        return os.path.join(self.build, "device", name)

    def require_built(self, *names):
        missing = [n for n in names if not os.path.isfile(self.built(n))]
        if missing:
            raise DeviceError("not built: %s (build %s first)" % (", ".join(missing), self.build))

    # ----- creation and factory state -----

    @property
    def created(self):
        return os.path.isfile(os.path.join(self.factory, "user.reg"))

    def create(self):
        """Creates the device from its image (about 20 s): a new prefix with the image's
        registry, its factory registry saved, the image's files on the drive. With
        DORIX_DEVICE_SEED naming the home of another device of the same image, created and not
        running, its prefix and factory state are copied instead, in a second or two: the same
        device from the same factory."""
        self.require_built("devctl.exe")
        self.log("creating the device %s in %s" % (self.image.name, self.dir))
        for path in (self.prefix, self.factory, self.drive):
            shutil.rmtree(path, ignore_errors=True)
        seed = self.seed()
        if seed is not None:
            # The prefix's own links are relative, but for drive D:, which booting maps anew.
            shutil.copytree(seed.prefix, self.prefix, symlinks=True)
            shutil.copytree(seed.factory, self.factory)
            self._map_drive()
            self._factory_drive()
            return
        os.makedirs(self.drive)
        subprocess.run([WINESERVER, "-k"], env=self.env(), stderr=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        self.wine("wineboot", "--init")
        self._map_drive()
        imported = os.path.join(self.dir, "image-import.reg")
        hive = registry.parse_regedit4(registry.to_regedit4(self.image.registry, skip_prefix=VOLATILE_ROOT))
        # The X11 driver honours the virtual desktop's size; the null driver would not.
        hive.set("HKCU\\Software\\Wine\\Drivers", "Graphics", (registry.REG_SZ, "x11"))
        with open(imported, "w", encoding="cp1252", newline="") as f:
            f.write(registry.to_regedit4(hive))
        self.wine("regedit", "/S", win_path(imported))
        self._stop_server()
        os.makedirs(self.factory)
        for name in WINE_REG_FILES:
            shutil.copy2(os.path.join(self.prefix, name), self.factory)
        with open(os.path.join(self.factory, "volatile.dat"), "w", encoding="utf-8") as f:
            f.write(registry.write_volatile(self.image.registry, self.image.volatile_keys()))
        self._factory_drive()

    def seed(self):
        """The created device that DORIX_DEVICE_SEED names for this image, or None."""
        home = os.environ.get("DORIX_DEVICE_SEED")
        if not home:
            return None
        seed = Device(self.image.name, home=home, build=self.build, log=self.log)
        if seed.dir == self.dir or not seed.created or seed.running():
            return None
        return seed

    def _map_drive(self):
        """The drive folder is drive D:; programs started in it have D:\\ as their current
        directory, so drive-less paths land on the device."""
        link = os.path.join(self.prefix, "dosdevices", "d:")
        if os.path.realpath(link) != os.path.realpath(self.drive):
            if os.path.lexists(link):
                os.remove(link)
            os.symlink(self.drive, link)

    def _factory_drive(self):
        shutil.rmtree(self.drive, ignore_errors=True)
        shutil.copytree(self.image.files, self.drive)
        self.restore_rom()
        shutil.copy2(os.path.join(self.factory, "volatile.dat"), self.volatile)

    def factory_reset(self):
        """Returns the device to factory state: registry, volatile keys and file system."""
        if self.running():
            raise DeviceError("the device is running; stop it first")
        if not self.created:
            self.create()
            return
        self._stop_server()
        for name in WINE_REG_FILES:
            shutil.copy2(os.path.join(self.factory, name), self.prefix)
        self._factory_drive()
        for path in (self.request, self.request + ".accepted"):
            if os.path.exists(path):
                os.remove(path)

    # ----- ROM -----

    def rom(self):
        """Device path -> host file of every ROM file, the built ones included when built."""
        rom = self.image.rom_files()
        for name, device_path in BUILT_ROM.items():
            if os.path.isfile(self.built(name)):
                rom[device_path] = self.built(name)
        return rom

    def restore_rom(self):
        """Puts back every ROM file whose RAM copy was deleted, and the folders every device
        has. A built ROM program newer than its RAM copy replaces it (a new build is a new ROM)."""
        restored = []
        for device_path, source in sorted(self.rom().items()):
            target = host_path(self.drive, device_path)
            newer_build = target and source.startswith(self.build) and os.path.getmtime(source) > os.path.getmtime(target)
            if target is None or newer_build:
                target = target or host_path(self.drive, device_path, existing=False)
                os.makedirs(os.path.dirname(target), exist_ok=True)
                shutil.copy2(source, target)
                if not newer_build:
                    restored.append(device_path)
        for folder in self.image.folders():
            os.makedirs(host_path(self.drive, folder, existing=False), exist_ok=True)
        return restored

    def install_program(self):
        """Puts the build's dorix.exe at its installed path; the device path of the program to
        run, or None when Dorix is not built."""
        source = os.path.join(self.build, "dorix.exe")
        if not os.path.isfile(source):
            return None
        target = host_path(self.drive, DORIX_PATH, existing=False)
        if not os.path.exists(target) or os.path.getmtime(source) > os.path.getmtime(target):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy2(source, target)
        # The sample profiles go to the "profiles" folder beside the program, where it finds them.
        samples = os.path.join(self.build, "profiles")
        if os.path.isdir(samples):
            folder = os.path.join(os.path.dirname(target), "profiles")
            os.makedirs(folder, exist_ok=True)
            for name in sorted(os.listdir(samples)):
                sample, installed = os.path.join(samples, name), os.path.join(folder, name)
                if os.path.isfile(sample) and (not os.path.exists(installed)
                                               or os.path.getmtime(sample) > os.path.getmtime(installed)):
                    shutil.copy2(sample, installed)
        return DORIX_PATH

    # ----- the driver's settings -----

    def registry(self):
        """The device's registry as last written to disk, volatile keys included."""
        hive = registry.Hive()
        for name, root in (("system.reg", "HKLM"), ("user.reg", "HKCU")):
            path = os.path.join(self.prefix, name)
            if os.path.exists(path):
                with open(path, encoding="utf-8", errors="replace") as f:
                    hive.keys.update(registry.parse_wine(f.read(), root).keys)
        if os.path.exists(self.volatile):
            with open(self.volatile, encoding="utf-8") as f:
                hive.keys.update(registry.parse_volatile(f.read()).keys)
        return hive

    def driver_settings(self, hive=None):
        hive = hive or self.registry()
        vga = hive.get("HKCU\\ControlPanel\\DisplayMode", "VGAMode")
        angle = hive.get("HKLM\\System\\GDI\\Rotation", "Angle")
        table = host_path(self.drive, TABLE)
        data, error = None, ""
        if table is None:
            error = "%s is missing" % TABLE
        else:
            try:
                with open(table, "rb") as f:
                    data = f.read()
            except OSError as e:
                error = "%s cannot be read (%s)" % (TABLE, e.strerror)
        dword = lambda v: v[1] if v and v[0] == registry.REG_DWORD else (None if v is None else v[1])
        return driver.read_settings(dword(vga), dword(angle), data, error)

    def set_mode(self, vga, orientation):
        """Writes a video mode's driver settings with the host's own means while the device is
        down, so that its next boot comes up in that mode: "Rotation" in the panel section of
        the table file, "VGAMode" and "Angle"."""
        if self.running():
            raise DeviceError("the device is running; stop it first")
        self._map_drive()
        self.restore_rom()
        table = host_path(self.drive, TABLE)
        with open(table, "rb") as f:
            data = f.read()
        try:
            data = driver.with_value(data, "LCD1" if vga else "LCD0", "Rotation", "dword:%d" % orientation)
        except ValueError as e:
            raise DeviceError(str(e))
        with open(table, "wb") as f:
            f.write(data)
        for key, name, value in (("HKCU\\ControlPanel\\DisplayMode", "VGAMode", int(vga)),
                                 ("HKLM\\System\\GDI\\Rotation", "Angle", driver.angle_of(orientation))):
            self.wine("reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f")
        self._stop_server()

    # ----- sessions -----

    def running(self):
        """The session record when the device is running, else None."""
        try:
            with open(self.session_file) as f:
                session = json.load(f)
            os.kill(session["host_pid"], 0)
            return session
        except (OSError, ValueError, KeyError):
            return None

    def attach(self):
        """Joins the running device's session (for the driving commands)."""
        session = self.running()
        if not session:
            raise DeviceError("the device %s is not running (start it with: dorix-device run)" % self.image.name)
        self.display = session["display"]
        self.headless = session.get("headless", False)
        return session

    def lock(self):
        os.makedirs(self.dir, exist_ok=True)
        self._lock = open(os.path.join(self.dir, "lock"), "w")
        try:
            fcntl.flock(self._lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except OSError:
            raise DeviceError("the device %s is in use by another dorix-device" % self.image.name)

    def boot(self, headless, display=None):
        """Boots the device: ROM restored, the driver's settings read, the screen of that mode
        (Xvfb when headless), the volatile keys created, the desktop started with the device's
        navigation bar (device/navbar) and message-box layout (device/boxfit), the StartUp folder's
        programs started. Returns the
        BootMode; its "startup" lists what the StartUp folder started or skipped, one line each."""
        self._map_drive()
        restored = self.restore_rom()
        settings = self.driver_settings()
        mode = driver.boot_mode(settings)
        width, height = mode.size
        self._set_desktop_size(width, height)
        self.boots += 1
        self.headless = headless
        if headless:
            self._start_xvfb(width, height)
        else:
            self.display = display
        subprocess.run([WINESERVER, "-p"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=self._wine_log(), stderr=self._wine_log())
        self.require_built("devctl.exe", "boxfit.exe", "boxfit.dll", "navbar.exe", *(
            name for name in BUILT_ROM if name.endswith(".dll")))
        self._install_fonts()
        self.wine(self.built("devctl.exe"), "load-volatile", win_path(self.volatile))
        self.desktop = subprocess.Popen(
            [WINE, "explorer", "/desktop=Default,%dx%d" % (width, height)], env=self.env(), cwd=self.drive,
            stdin=subprocess.DEVNULL, stdout=self._wine_log(), stderr=self._wine_log())
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
        proc = subprocess.Popen([WINE, self.built(name)], env=self.env(), cwd=self.drive,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=self._wine_log())
        answer = b""
        if select.select([proc.stdout], [], [], 30)[0]:
            answer = proc.stdout.readline()
        if answer.strip() != b"ready":
            raise DeviceError("the device's %s did not start: %r" % (what, answer.decode(errors="replace")))
        return proc

    def _install_fonts(self):
        """The fonts of the device's system, from Wine's own: Tahoma, and Marlett, whose glyphs
        draw the boxes' close buttons (without it Wine shows the letter "r")."""
        fonts = os.path.join(self.prefix, "drive_c", "windows", "Fonts")
        for name in SYSTEM_FONTS:
            source = os.path.join(WINE_FONTS, name)
            if os.path.isfile(source) and os.path.isdir(fonts) and not os.path.exists(os.path.join(fonts, name)):
                shutil.copy2(source, fonts)

    def _run_startup(self):
        """Starts the programs of the StartUp folder's shortcuts, as the device does at boot;
        one line for each shortcut."""
        lines = []
        for entry in startup.plan(lambda path: host_path(self.drive, path)):
            if entry.skipped:
                lines.append("StartUp %s skipped: %s" % (entry.shortcut, entry.skipped))
                continue
            self.started.append(subprocess.Popen(
                [WINE, entry.program] + entry.args, env=self.env(), cwd=self.drive, stdin=subprocess.DEVNULL,
                stdout=self._wine_log(), stderr=self._wine_log()))
            lines.append("StartUp %s started: %s" % (entry.shortcut, " ".join([entry.program] + entry.args)))
        return lines

    def _set_desktop_size(self, width, height):
        """Makes every program of the session join a virtual desktop of the mode's size,
        whichever process creates it first (HKCU\\Software\\Wine\\Explorer). Written into the
        registry file while the device is down, so that no program can run before it."""
        path = os.path.join(self.prefix, "user.reg")
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
        self.display = ":" + number

    def _write_session(self, mode):
        with open(self.session_file, "w") as f:
            # "boot" counts the boots of this run, so that a driver can tell that a reset happened.
            json.dump({"host_pid": os.getpid(), "display": self.display, "mode": mode.name,
                       "boot": self.boots, "headless": self.xvfb is not None}, f)

    def start(self, program, args=()):
        """Starts a program of the device (a device path or a host path) in its session."""
        if program.startswith("\\") and host_path(self.drive, program) is None:
            raise DeviceError("no program %s on the device" % program)
        self.program = subprocess.Popen([WINE, program] + list(args), env=self.env(), cwd=self.drive,
                                        stdin=subprocess.DEVNULL, stdout=self._wine_log(), stderr=self._wine_log())
        return self.program

    def start_shortcut(self, name):
        """Starts what the Start menu's shortcut name starts, as a tap on it in the Start menu
        does, in the running device's session; returns the process."""
        try:
            program, args = startup.start_menu_entry(lambda path: host_path(self.drive, path), name)
        except (OSError, startup.ShortcutError) as e:
            raise DeviceError(str(e))
        return subprocess.Popen([WINE, program] + args, env=self.env(), cwd=self.drive, stdin=subprocess.DEVNULL,
                                stdout=self._wine_log(), stderr=self._wine_log())

    def shutdown(self):
        """Ends every program of the device, keeping its volatile keys and its registry."""
        if self.display is not None and self.running():
            saved = self.volatile + ".new"
            try:
                self.wine(self.built("devctl.exe"), "save-keys", win_path(saved), *self.image.volatile_keys(),
                          timeout=30)
                os.replace(saved, self.volatile)
            except (DeviceError, subprocess.TimeoutExpired) as e:
                self.log("warning: volatile keys not saved: %s" % e)
        self._stop_server()
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
        if os.path.exists(self.session_file):
            os.remove(self.session_file)

    def _stop_server(self):
        """wineserver -k ends every process of the prefix and writes the registry to disk."""
        subprocess.run([WINESERVER, "-k"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def take_reset_request(self):
        """Accepts a pending soft-reset request: True when there was one. Renaming is the
        acceptance; a requester that withdrew first has already deleted the file."""
        try:
            os.replace(self.request, self.request + ".accepted")
        except FileNotFoundError:
            return False
        os.remove(self.request + ".accepted")
        return True

    # ----- screen -----

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
                              env=dict(os.environ, DISPLAY=self.display), stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=30)
        if shot.returncode != 0:
            raise DeviceError("import failed: %s" % shot.stderr.decode(errors="replace").strip())
        return path
