"""The simulated device's home on this machine: its creation from an image, its factory state,
its ROM, its registry and driver's settings as last written, and the record of its session.

A device lives in <home>/<image>/:
  prefix/        the device's Wine prefix (separate from any test prefix)
  drive/         its file system, drive D: and the current directory of its programs
  factory/       the prefix's registry files right after creation: factory state
  volatile.dat   the values of its volatile keys (HKLM\\HARDWARE\\...) between sessions
  screens/       screenshots
  session.json   while it runs: how to reach it (display, pids)
  reset-request  a program's soft-reset request (KernelIoControl of the device's coredll.dll)
  wine.log       Wine's messages and the output of the device's programs
"""

import fcntl
import hashlib
import json
import os
import shutil

import driver
import factory
import registry
from build import Build
from errors import DeviceError
from image import VOLATILE_ROOT, Image
from winerunner import WineRunner, win_path

TABLE = "\\Windows\\atihwtbl0.txt"
WINE_REG_FILES = ("system.reg", "user.reg", "userdef.reg")
# Programs of the build that are part of the device's ROM: build name -> device path. The
# device's own DLLs, which its programs link against, are the build's stand-ins (device/ce).
BUILT_ROM = {"wceload.exe": "\\Windows\\wceload.exe", "pixels.exe": "\\Windows\\pixels.exe",
             "ce/coredll.dll": "\\Windows\\coredll.dll", "ce/commctrl.dll": "\\Windows\\commctrl.dll",
             "ce/aygshell.dll": "\\Windows\\aygshell.dll"}
# The device's "\Windows" as its programs see it, where they find the device's DLLs.
DEVICE_WINDOWS = "D:\\Windows"
DORIX_PATH = "\\Program Files\\Dorix\\dorix.exe"


def default_home():
    return os.environ.get("DORIX_DEVICE_HOME") or os.path.join(
        os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"), "dorix-device")


def host_path(root, device_path, existing=True):
    """The host file of a device path below root, matching names without regard to case as the
    device does; with existing, None when there is no such file."""
    current = root
    parts = [p for p in device_path.split("\\") if p]
    for part in parts:
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


def fingerprint(path):
    """A host file's (size, digest), what the factory comparison compares."""
    digest = hashlib.sha1()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return os.path.getsize(path), digest.hexdigest()


def device_files(root, skip=None):
    """Device path -> (size, digest) of every file below the host folder root, in walk order."""
    files = {}
    for folder, _, names in os.walk(root):
        for name in sorted(names):
            full = os.path.join(folder, name)
            path = "\\" + os.path.relpath(full, root).replace("/", "\\")
            if skip is None or not path.lower().startswith(skip):
                files[path] = fingerprint(full)
    return files


def read_hive(folder, volatile):
    """The registry of Wine's registry files in folder and the file of volatile keys, those
    that are there."""
    hive = registry.Hive()
    for name, root in (("system.reg", "HKLM"), ("user.reg", "HKCU")):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            with open(path, encoding="utf-8", errors="replace") as f:
                hive.keys.update(registry.parse_wine(f.read(), root).keys)
    if os.path.exists(volatile):
        with open(volatile, encoding="utf-8") as f:
            hive.keys.update(registry.parse_volatile(f.read()).keys)
    return hive


class Home:
    def __init__(self, image="e805", home=None, build=None, log=print):
        self.image = Image(image)
        # Absolute: the device's programs run with the drive as their working directory.
        self.dir = os.path.abspath(os.path.join(home or default_home(), image))
        self.build = Build(build)
        self.prefix = os.path.join(self.dir, "prefix")
        self.drive = os.path.join(self.dir, "drive")
        self.factory = os.path.join(self.dir, "factory")
        self.volatile = os.path.join(self.dir, "volatile.dat")
        self.screens = os.path.join(self.dir, "screens")
        self.session_file = os.path.join(self.dir, "session.json")
        self.request = os.path.join(self.dir, "reset-request")
        self.log = log
        # A program finds the device's DLLs in "\Windows", as on the device: Wine's loader adds
        # WINEPATH to the search path of every process it starts.
        self.wine = WineRunner(self.prefix, self.drive, os.path.join(self.dir, "wine.log"),
                               DORIX_DEVICE_RESET=win_path(self.request), WINEPATH=DEVICE_WINDOWS)
        self._lock = None

    def lock(self):
        os.makedirs(self.dir, exist_ok=True)
        self._lock = open(os.path.join(self.dir, "lock"), "w")
        try:
            fcntl.flock(self._lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except OSError:
            raise DeviceError("the device %s is in use by another dorix-device" % self.image.name)

    def running(self):
        """The session record when the device is running, else None."""
        try:
            with open(self.session_file) as f:
                session = json.load(f)
            os.kill(session["host_pid"], 0)
            return session
        except (OSError, ValueError, KeyError):
            return None

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
        self.build.require("devctl.exe")
        self.log("creating the device %s in %s" % (self.image.name, self.dir))
        for path in (self.prefix, self.factory, self.drive):
            shutil.rmtree(path, ignore_errors=True)
        seed = self.seed()
        if seed is not None:
            # The prefix's own links are relative, but for drive D:, which booting maps anew.
            shutil.copytree(seed.prefix, self.prefix, symlinks=True)
            shutil.copytree(seed.factory, self.factory)
            self.map_drive()
            self._factory_drive()
            return
        os.makedirs(self.drive)
        self.wine.stop_server()
        self.wine.run("wineboot", "--init")
        self.map_drive()
        imported = os.path.join(self.dir, "image-import.reg")
        hive = registry.parse_regedit4(registry.to_regedit4(self.image.registry, skip_prefix=VOLATILE_ROOT))
        # The X11 driver honours the virtual desktop's size; the null driver would not.
        hive.set("HKCU\\Software\\Wine\\Drivers", "Graphics", (registry.REG_SZ, "x11"))
        with open(imported, "w", encoding="cp1252", newline="") as f:
            f.write(registry.to_regedit4(hive))
        self.wine.run("regedit", "/S", win_path(imported))
        self.wine.stop_server()
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
        seed = Home(self.image.name, home=home, build=self.build.path, log=self.log)
        if seed.dir == self.dir or not seed.created or seed.running():
            return None
        return seed

    def map_drive(self):
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
        self.wine.stop_server()
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
            if os.path.isfile(self.build.device(name)):
                rom[device_path] = self.build.device(name)
        return rom

    def restore_rom(self):
        """Puts back every ROM file whose RAM copy was deleted, and the folders every device
        has. A built ROM program newer than its RAM copy replaces it (a new build is a new ROM)."""
        restored = []
        for device_path, source in sorted(self.rom().items()):
            target = host_path(self.drive, device_path)
            newer_build = target and source.startswith(self.build.path) and \
                os.path.getmtime(source) > os.path.getmtime(target)
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
        source = os.path.join(self.build.path, "dorix.exe")
        if not os.path.isfile(source):
            return None
        target = host_path(self.drive, DORIX_PATH, existing=False)
        if not os.path.exists(target) or os.path.getmtime(source) > os.path.getmtime(target):
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copy2(source, target)
        # The sample profiles go to the "profiles" folder beside the program, where it finds them.
        samples = os.path.join(self.build.path, "profiles")
        if os.path.isdir(samples):
            folder = os.path.join(os.path.dirname(target), "profiles")
            os.makedirs(folder, exist_ok=True)
            for name in sorted(os.listdir(samples)):
                sample, installed = os.path.join(samples, name), os.path.join(folder, name)
                if os.path.isfile(sample) and (not os.path.exists(installed)
                                               or os.path.getmtime(sample) > os.path.getmtime(installed)):
                    shutil.copy2(sample, installed)
        return DORIX_PATH

    # ----- registry, the driver's settings and the factory comparison -----

    def registry(self):
        """The device's registry as last written to disk, volatile keys included."""
        return read_hive(self.prefix, self.volatile)

    def factory_registry(self):
        """The device's registry as it came from the factory, volatile keys included."""
        return read_hive(self.factory, os.path.join(self.factory, "volatile.dat"))

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
        self.map_drive()
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
            self.wine.run("reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f")
        self.wine.stop_server()

    def changes(self, hive):
        """What differs from the factory state, one line each: in the registry hive the image's
        keys and Dorix's settings (Wine's own keys are noise), then the files."""
        roots = {e["name"] for e in self.image.registry.keys.values()} | {"HKCU\\Software\\Dorix"}
        changes = factory.registry_changes(hive, self.factory_registry(), roots)
        rom = {path: fingerprint(source) for path, source in self.rom().items()}
        return changes + factory.file_changes(device_files(self.drive, skip="\\temp\\"), rom,
                                              device_files(self.image.files))

    def state(self):
        """What the device would boot in, its driver's settings, its calibration and what differs
        from the factory state, as values to show."""
        hive = self.registry()
        settings = self.driver_settings(hive)
        mode = driver.boot_mode(settings)
        changes = self.changes(hive)
        calibration = hive.get("HKLM\\HARDWARE\\DEVICEMAP\\TOUCH", "CalibrationData")
        return {
            "image": self.image.name, "oem_info": self.image.oem_info, "home": self.dir,
            "running": bool(self.running()),
            "boot_mode": mode.name, "screen": list(mode.size), "safe_reason": mode.safe_reason,
            "program_reads": driver.program_reading(settings),
            "vga_mode": settings.vga_mode, "angle": settings.angle,
            "rotation_lcd0": settings.rotations.get("LCD0"), "rotation_lcd1": settings.rotations.get("LCD1"),
            "table_error": settings.table_error,
            "calibration": calibration[1] if calibration else None,
            "changes": changes,
        }
