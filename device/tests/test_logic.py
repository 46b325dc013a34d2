"""The device host's own logic, without Wine: reading and writing the driver's settings, the
screen sizes, the safe mode, the registry files, the images, StartUp shortcuts and the layout
check of the settings pages."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from unittest import mock

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "host"))

import build  # noqa: E402
import driver  # noqa: E402
import factory  # noqa: E402
import pages  # noqa: E402
import registry  # noqa: E402
import startup  # noqa: E402
import ui  # noqa: E402
import winerunner  # noqa: E402
import winestart  # noqa: E402
from errors import DeviceError  # noqa: E402
from home import Home, host_path  # noqa: E402
from image import Image  # noqa: E402
from session import Session  # noqa: E402

TABLE = (b"// table\r\n[ASIC0]\r\n\"AutoPwr\"=dword:1\r\n[LCD0]\r\n\"Rotation\"=dword:%s   // comment\r\n"
         b"[LCD1]\r\n\"Rotation\"=%s\r\n")


def boot(vga_mode, angle, lcd0=b"0", lcd1=b"dword:0", table=None, error=""):
    data = table if table is not None else (None if error else TABLE % (lcd0, lcd1))
    return driver.boot_mode(driver.read_settings(vga_mode, angle, data, error))


class ReadingTheTableFile(unittest.TestCase):
    def test_values_end_at_line_end_or_comment_and_are_trimmed(self):
        self.assertEqual("dword:1", driver.find_value("[LCD0]\nRotation=dword:1 // c\n", "LCD0", "Rotation"))
        self.assertEqual("dword:2", driver.find_value("[LCD1]\n\"Rotation\"=\tdword:2\r\n", "LCD1", "Rotation"))

    def test_quoted_key_after_the_header_wins_and_search_runs_past_later_headers(self):
        text = "[LCD0]\nRotation=dword:1\n[LCD1]\n\"Rotation\"=dword:3\n"
        self.assertEqual("dword:3", driver.find_value(text, "LCD0", "Rotation"))
        self.assertEqual("dword:3", driver.find_value("[LCD0]\n[LCD1]\nRotation=dword:3\n", "LCD0", "Rotation"))

    def test_value_without_line_end_blank_before_equals_and_comment_lines_are_not_found(self):
        self.assertIsNone(driver.find_value("[LCD0]\nRotation=dword:1", "LCD0", "Rotation"))
        self.assertIsNone(driver.find_value("[LCD0]\nRotation = dword:1\n", "LCD0", "Rotation"))
        self.assertIsNone(driver.find_value("[LCD0]\n//Rotation=dword:1\n", "LCD0", "Rotation"))
        self.assertIsNone(driver.find_value("[LCD1]\nRotation=dword:1\n", "LCD0", "Rotation"))

    def test_text_ends_at_the_first_zero_byte(self):
        self.assertEqual("[LCD0]\n", driver.table_text(b"[LCD0]\n\0[LCD1]\n"))

    def test_writing_a_value_replaces_what_the_device_reads_and_keeps_the_comment(self):
        data = TABLE % (b"0", b"dword:0")
        written = driver.with_value(data, "LCD1", "Rotation", "dword:3")
        self.assertEqual(data.replace(b"[LCD1]\r\n\"Rotation\"=dword:0", b"[LCD1]\r\n\"Rotation\"=dword:3"), written)
        written = driver.with_value(data, "LCD0", "Rotation", "dword:1")
        self.assertEqual(b"\"Rotation\"=dword:1   // comment", written.split(b"\r\n")[4])
        self.assertEqual("QVGA.1", boot(0, 270, table=written).name)
        with self.assertRaises(ValueError):
            driver.with_value(b"[LCD0]\r\n", "LCD0", "Rotation", "dword:1")


class BootMode(unittest.TestCase):
    def test_vga_exactly_when_vgamode_is_one(self):
        for value, vga in ((1, True), (0, False), (2, False), (None, False), ("1", False)):
            mode = boot(value, 0)
            self.assertEqual((vga, 0, ""), (mode.vga, mode.orientation, mode.safe_reason), "VGAMode %r" % value)

    def test_rotation_of_the_resolutions_panel_section_any_letter_case(self):
        self.assertEqual("VGA.2", boot(1, 180, lcd1=b"DWORD:2").name)
        self.assertEqual("QVGA.3", boot(0, 90, lcd0=b"3").name)
        self.assertEqual("QVGA.0", boot(0, 0, lcd0=b"0", lcd1=b"dword:1").name)

    def test_screen_sizes_of_all_eight_modes(self):
        expected = {"QVGA.0": (240, 320), "QVGA.1": (320, 240), "QVGA.2": (240, 320), "QVGA.3": (320, 240),
                    "VGA.0": (480, 640), "VGA.1": (640, 480), "VGA.2": (480, 640), "VGA.3": (640, 480)}
        got = {}
        for vga in (0, 1):
            for orientation in range(4):
                angle = ((4 - orientation) * 90) % 360
                mode = boot(vga, angle, lcd0=str(orientation).encode(), lcd1=b"dword:%d" % orientation)
                got[mode.name] = mode.size
        self.assertEqual(expected, got)

    def test_values_the_driver_cannot_use_boot_the_safe_mode(self):
        cases = {
            "unknown rotation": boot(1, 0, lcd1=b"dword:4"),
            "blank inside": boot(1, 0, lcd1=b"dword: 1"),
            "missing table": boot(1, 0, error="\\Windows\\atihwtbl0.txt is missing"),
            "no Rotation key": boot(1, 0, table=b"[LCD1]\r\n\"Width\"=dword:480\r\n"),
            "angle disagrees": boot(0, 90, lcd0=b"1"),
        }
        for name, mode in cases.items():
            self.assertEqual(("QVGA.0", (240, 320)), (mode.name, mode.size), name)
            self.assertTrue(mode.safe_reason, name)

    def test_missing_angle_counts_as_zero(self):
        self.assertEqual(("QVGA.0", ""), (boot(0, None).name, boot(0, None).safe_reason))
        self.assertTrue(boot(0, None, lcd0=b"2").safe)

    def test_program_reading_takes_unknown_rotations_as_zero(self):
        settings = driver.read_settings(1, 0, TABLE % (b"0", b"dword:7"))
        self.assertEqual("VGA.0", driver.program_reading(settings))


class RegistryFiles(unittest.TestCase):
    def test_wine_registry_file(self):
        text = ('WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5\n\n'
                '[ControlPanel\\\\DisplayMode] 1796740147\n#time=1dd\n"VGAMode"=dword:00000001\n\n'
                '[Software\\\\Dorix\\\\Uninstall] 1796740147\n"CalibrationData"="1,2 \\"q\\" \\\\x"\n'
                '"Bin"=hex:01,02,\\\n  03\n@="default"\n')
        hive = registry.parse_wine(text, "HKCU")
        self.assertEqual((registry.REG_DWORD, 1), hive.get("HKCU\\controlpanel\\displaymode", "vgamode"))
        self.assertEqual((registry.REG_SZ, '1,2 "q" \\x'),
                         hive.get("HKCU\\Software\\Dorix\\Uninstall", "CalibrationData"))
        self.assertEqual((registry.REG_BINARY, b"\1\2\3"), hive.get("HKCU\\Software\\Dorix\\Uninstall", "Bin"))
        self.assertEqual((registry.REG_SZ, "default"), hive.get("HKCU\\Software\\Dorix\\Uninstall", ""))

    def test_volatile_file_round_trip(self):
        hive = registry.Hive()
        hive.set("HKLM\\HARDWARE\\DEVICEMAP\\TOUCH", "CalibrationData", (registry.REG_SZ, "1,2 3,4 "))
        hive.set("HKLM\\HARDWARE\\DEVICEMAP\\TOUCH", "MaxCalError", (registry.REG_DWORD, 7))
        text = registry.write_volatile(hive, ["HKLM\\HARDWARE\\DEVICEMAP\\TOUCH"])
        back = registry.parse_volatile(text)
        self.assertEqual(hive.keys, back.keys)

    def test_regedit4_export_leaves_out_the_volatile_keys(self):
        image = Image("e805").registry
        again = registry.parse_regedit4(registry.to_regedit4(image, skip_prefix="HKLM\\HARDWARE"))
        self.assertIsNone(again.key("HKLM\\HARDWARE\\DEVICEMAP\\TOUCH"))
        self.assertEqual(image.get("HKLM\\SYSTEM\\GWE\\Menu\\BarFnt", "Ht"),
                         again.get("HKLM\\SYSTEM\\GWE\\Menu\\BarFnt", "Ht"))
        self.assertEqual(image.get("HKCU\\Software\\Microsoft\\Today", "Watermark"),
                         again.get("HKCU\\Software\\Microsoft\\Today", "Watermark"))


class Images(unittest.TestCase):
    def test_images_hold_what_the_device_is_read_for(self):
        for name, model in (("e805", "TOSHIBA e805"), ("e800", "TOSHIBA e800")):
            image = Image(name)
            reg = image.registry
            self.assertEqual(model, image.oem_info, name)
            self.assertEqual((registry.REG_SZ, "tapadm.exe"), reg.get("HKLM\\init", "Launch90"), name)
            self.assertEqual((registry.REG_DWORD, 0), reg.get("HKCU\\ControlPanel\\DisplayMode", "VGAMode"), name)
            self.assertEqual((registry.REG_DWORD, 0), reg.get("HKLM\\System\\GDI\\Rotation", "Angle"), name)
            calibration = reg.get("HKLM\\HARDWARE\\DEVICEMAP\\TOUCH", "CalibrationData")[1]
            self.assertEqual(5, len(calibration.split()), calibration)
            self.assertEqual(["HKLM\\HARDWARE\\DEVICEMAP\\TOUCH"], image.volatile_keys(), name)
            rom = image.rom_files()
            for program in ("detect.exe", "vq-select.exe", "keylock.exe", "WTM.exe", "tapadm.exe",
                            "atihwtbl0.txt"):
                path = rom["\\Windows\\" + program]
                self.assertNotEqual(3072, os.path.getsize(path), path)
            self.assertIn("\\Windows\\StartUp", image.folders(), name)
        self.assertIsNotNone(Image("e805").registry.key("HKLM\\Software\\TOSHIBA\\Bluetooth\\BTSETUP"))
        self.assertIsNone(Image("e800").registry.key("HKLM\\Software\\TOSHIBA\\Bluetooth\\BTSETUP"))
        self.assertIn("\\Windows\\BPU.exe", Image("e805").rom_files())

    def test_unknown_image_names_the_known_ones(self):
        with self.assertRaises(DeviceError) as raised:
            Image("e999")
        self.assertIn("e805", str(raised.exception))

    def test_host_path_ignores_letter_case(self):
        root = Image("e805").files
        self.assertEqual(os.path.join(root, "Windows", "atihwtbl0.txt"),
                         host_path(root, "\\WINDOWS\\ATIHWTBL0.TXT"))
        self.assertIsNone(host_path(root, "\\Windows\\none.txt"))


class StartUpShortcuts(unittest.TestCase):
    def test_command_line_of_a_shortcut(self):
        self.assertEqual("\\Windows\\WTM.exe", startup.command_line(b"16#\\Windows\\WTM.exe"))
        # The count bounds the command line; a line end ends it too.
        self.assertEqual('"\\Program Files\\Dorix\\dorix.exe" KEEP',
                         startup.command_line(b'37#"\\Program Files\\Dorix\\dorix.exe" KEEP\r\nrest'))
        self.assertEqual("\\Windows\\a.exe", startup.command_line(b"14#\\Windows\\a.exe x"))
        self.assertEqual("b.exe", startup.command_line("5#b.exe".encode("utf-16-le").join([b"\xff\xfe", b""])))
        for bad in (b"\\Windows\\WTM.exe", b"x#\\Windows\\WTM.exe", b"0#\\Windows\\WTM.exe", b"12#  \r\n", b""):
            with self.assertRaises(startup.ShortcutError, msg=bad):
                startup.command_line(bad)

    def test_program_in_quotes_when_it_holds_blanks_and_bare_names_in_windows(self):
        self.assertEqual(("\\Program Files\\Dorix\\dorix.exe", ["KEEP", "two words"]),
                         startup.split_command_line('"\\Program Files\\Dorix\\dorix.exe" KEEP "two words"'))
        self.assertEqual(("\\Windows\\WTM.exe", []), startup.split_command_line("\\Windows\\WTM.exe"))
        self.assertEqual("\\Windows\\calc.exe", startup.device_program("calc.exe"))
        with self.assertRaises(startup.ShortcutError):
            startup.split_command_line('"\\Program Files\\x.exe')

    def test_plan_runs_programs_in_name_order_and_skips_the_others(self):
        drive = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, drive)
        folder = os.path.join(drive, "Windows", "StartUp")
        os.makedirs(folder)
        files = {"Windows/tool.exe": b"MZ\x90\0", "Windows/WTM.exe": b"ROM file of the simulated device",
                 "Windows/StartUp/b.lnk": b"12#tool.exe arg", "Windows/StartUp/A.lnk": b"16#\\Windows\\WTM.exe",
                 "Windows/StartUp/c.lnk": b"20#\\Windows\\missing.exe", "Windows/StartUp/d.lnk": b"junk",
                 "Windows/StartUp/notes.txt": b"12#tool.exe"}
        for path, data in files.items():
            with open(os.path.join(drive, *path.split("/")), "wb") as f:
                f.write(data)
        plan = startup.plan(lambda path: host_path(drive, path))
        self.assertEqual([("A.lnk", "\\Windows\\WTM.exe", [], "\\Windows\\WTM.exe is no program"),
                          ("b.lnk", "\\Windows\\tool.exe", ["arg"], ""),
                          ("c.lnk", "\\Windows\\missing.exe", [], "\\Windows\\missing.exe is missing")],
                         [(e.shortcut.split("\\")[-1], e.program, e.args, e.skipped) for e in plan[:3]])
        self.assertIn("no shortcut", plan[3].skipped)
        self.assertEqual(4, len(plan))


# A stand-in for Wine's loader: its first $UNSTARTED starts fail as the loader's do when it
# cannot place a process; then the program runs and ends with exit code $CODE, as devctl's server
# after answering one command. Each start is counted in $STARTS.
FAKE_WINE = """#!/bin/sh
n=$(cat "$STARTS" 2>/dev/null || echo 0); echo $((n + 1)) > "$STARTS"
if [ "$n" -lt "${UNSTARTED:-0}" ]; then
    echo "err:virtual:virtual_alloc_first_teb wine: failed to map the shared user data: c0000018" >&2; exit 1
fi
if [ "$2" = serve ] && [ "${CODE:-0}" = 0 ]; then read -r command; printf '%s\\036%d\\n' "$command" 0; fi
echo ran
exit "${CODE:-0}"
"""


class StartFailures(unittest.TestCase):
    """A program that Wine's loader could not start is started again, at most three times in
    all; one that ran and failed is not: by the device host, whether it waits for the program or
    not, its devctl server and the unit tests' runner."""

    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.folder)
        self.wine, self.starts = self.file("wine", FAKE_WINE), os.path.join(self.folder, "starts")
        patched = mock.patch.dict(os.environ, STARTS=self.starts)
        patched.start()
        self.addCleanup(patched.stop)

    def file(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, 0o755)
        return path

    def started(self, run, unstarted=0, code=0):
        """(what run() gives, how often the program was started)."""
        if os.path.exists(self.starts):
            os.remove(self.starts)
        with mock.patch.dict(os.environ, UNSTARTED=str(unstarted), CODE=str(code)):
            result = run()
        with open(self.starts) as f:
            return result, int(f.read())

    def home(self):
        home = Home("e805", home=self.folder, build=self.folder, log=lambda *a: None)
        os.makedirs(home.drive)
        self.addCleanup(home.wine.close)
        return home

    def test_the_device_host(self):
        wine = self.home().wine

        def run():
            result = wine.run("program", check=False, capture=True)
            return result.returncode, result.stdout

        def launched():
            return wine.launch("program").wait(timeout=30)

        def first_line():
            program = wine.launch("program", stdout=subprocess.PIPE)
            try:
                return program.first_line(30)
            finally:
                program.wait(timeout=30)
                program.stdout.close()
        with mock.patch.object(winerunner, "WINE", self.wine):
            self.assertEqual(((0, b"ran\n"), 2), self.started(run, unstarted=1))
            self.assertEqual(((1, b""), 3), self.started(run, unstarted=5))
            self.assertEqual(((1, b"ran\n"), 1), self.started(run, code=1))
            self.assertEqual((0, 2), self.started(launched, unstarted=1))
            self.assertEqual((1, 3), self.started(launched, unstarted=5))
            self.assertEqual((1, 1), self.started(launched, code=1))
            self.assertEqual((b"ran\n", 2), self.started(first_line, unstarted=1))
            self.assertEqual((b"", 3), self.started(first_line, unstarted=5))
        with open(wine.log_path, "rb") as f:
            self.assertIn(winestart.START_FAILURE, f.read())

    def test_the_devctl_server(self):
        dev = Session(self.home())
        with open(dev.home.session_file, "w") as f:
            f.write('{"host_pid": %d, "display": ":0", "boot": 1}' % os.getpid())

        def run():
            try:
                return ui.devctl(dev, "list")
            finally:
                server = ui._servers.pop(id(dev), None)
                if server is not None:
                    server.close(dev)
        with mock.patch.object(winerunner, "WINE", self.wine):
            self.assertEqual(((0, "list"), 2), self.started(run, unstarted=1))
            self.assertEqual(((1, "devctl could not be started: failed to map the shared user data"), 3),
                             self.started(run, unstarted=5))
            self.assertEqual(((5, "devctl list ended with exit code 5 while it ran"), 1), self.started(run, code=5))

    def test_the_unit_tests_runner(self):
        with open(os.path.join(build.REPO, "tools", "wine-run.in")) as f:
            template = f.read()
        runner = self.file("wine-run", template.replace("@CMAKE_BINARY_DIR@", self.folder).replace(
            "@CMAKE_SOURCE_DIR@", build.REPO))
        prefix = os.path.join(self.folder, "prefix")
        os.makedirs(os.path.join(prefix, "dosdevices"))
        open(os.path.join(prefix, ".dorix-ready"), "w").close()
        env = dict(os.environ, DORIX_WINE=self.wine, DORIX_WINESERVER=self.file("wineserver", "#!/bin/sh\nexit 2\n"),
                   DORIX_WINEPREFIX=prefix, DORIX_DEVICE_DIR=os.path.join(self.folder, "drive"))
        env.pop("CTEST_RESOURCE_GROUP_0_DEVICE", None)

        def run():
            result = subprocess.run([runner, "program"], env=dict(env, UNSTARTED=os.environ["UNSTARTED"],
                                                                   CODE=os.environ["CODE"]), capture_output=True)
            return result.returncode, result.stdout, winestart.START_FAILURE in result.stderr
        self.assertEqual(((0, b"ran\n", False), 2), self.started(run, unstarted=1))
        self.assertEqual(((1, b"", True), 3), self.started(run, unstarted=5))
        self.assertEqual(((1, b"ran\n", False), 1), self.started(run, code=1))


def control(hwnd, parent, rect, cls="Static", style=0, visible=True, **more):
    return dict(hwnd=hwnd, parent=parent, id=hwnd, cls=cls, text="", style=style, visible=visible, rect=rect,
                **{"class": cls}, **more)


SCREEN = [0, 0, 240, 320]


class PageLayout(unittest.TestCase):
    """The layout check of a settings page: controls inside the page and the work area, no
    overlaps but an up-down control on its edit box, nothing across a group box's edge; of the
    main window: its eight mode buttons whole in its view."""

    def sheet(self, *controls):
        page = control(2, 1, [0, 20, 240, 300], cls="#32770")
        hidden = control(3, 1, [0, 20, 240, 300], cls="#32770", visible=False)
        return {"hwnd": 1, "controls": [page, hidden, control(30, 3, [0, 0, 500, 500])] + list(controls)}

    def test_sound_page_has_no_faults(self):
        group = control(10, 2, [4, 24, 236, 120], cls="Button", style=pages.BS_GROUPBOX)
        edit = control(11, 2, [10, 40, 100, 60], cls="Edit")
        spin = control(12, 2, [98, 40, 116, 60], cls="msctls_updown32", buddy=11)
        label = control(13, 2, [10, 130, 100, 150])
        self.assertEqual([], pages.layout_faults(self.sheet(group, edit, spin, label), SCREEN))

    def test_each_kind_of_fault_is_named(self):
        cases = {
            "runs past its parent": [control(10, 2, [200, 30, 250, 50])],
            "runs past the work area": [control(10, 2, [0, 280, 100, 300])],
            "overlaps": [control(10, 2, [10, 30, 100, 50]), control(11, 2, [90, 40, 120, 60], cls="Edit")],
            "crosses the edge of the group box": [control(10, 2, [4, 24, 100, 100], cls="Button",
                                                          style=pages.BS_GROUPBOX), control(11, 2, [90, 30, 120, 50])],
        }
        for fault, controls in cases.items():
            area = [0, 26, 240, 290] if fault == "runs past the work area" else SCREEN
            found = pages.layout_faults(self.sheet(*controls), area)
            self.assertEqual(1, len([f for f in found if not f.startswith("the page")]), (fault, found))
            self.assertIn(fault, found[-1])
        self.assertEqual(["the sheet shows no page"], pages.layout_faults({"hwnd": 1, "controls": []}, SCREEN))

    def test_hidden_controls_and_other_pages_do_not_count(self):
        hidden = control(10, 2, [200, 30, 300, 50], visible=False)
        self.assertEqual([], pages.layout_faults(self.sheet(hidden), SCREEN))

    def test_main_window_shows_its_eight_buttons_whole_between_the_bars(self):
        def window(*changed):
            buttons = [control(i, 2, [9 + 111 * (i % 2), 31 + 60 * ((i - 1027) // 2), 109 + 111 * (i % 2),
                                      89 + 60 * ((i - 1027) // 2)], cls="Button") for i in pages.MODE_BUTTONS]
            for button in changed:
                buttons = [button if b["id"] == button["id"] else b for b in buttons]
            return {"hwnd": 1, "rect": [0, 26, 240, 320], "controls": [
                control(2, 1, [0, 26, 240, 294], cls="#32770"), control(3, 1, [0, 294, 240, 320])] + buttons}
        area = [0, 26, 240, 320]
        self.assertEqual([], pages.window_faults(window(), area))
        self.assertEqual(["the mode button 1030 does not show"],
                         pages.window_faults(window(control(1030, 2, [9, 151, 109, 209], visible=False)), area))
        cut = pages.window_faults(window(control(1033, 2, [9, 251, 109, 309], cls="Button")), area)
        self.assertIn("runs past its parent", cut[0])


class ComparingWithTheFactoryState(unittest.TestCase):
    def test_registry_changes_name_added_deleted_and_changed_keys_and_values(self):
        before, now = registry.Hive(), registry.Hive()
        before.set("HKCU\\Software\\Dorix", "NoReset", (registry.REG_DWORD, 0))
        before.set("HKCU\\Software\\Dorix\\Old", "x", (registry.REG_SZ, "a"))
        now.set("HKCU\\Software\\Dorix", "NoReset", (registry.REG_DWORD, 1))
        now.set("HKCU\\Software\\Dorix\\New", "y", (registry.REG_SZ, "b"))
        now.set("HKCU\\Software\\Wine", "noise", (registry.REG_SZ, "c"))
        changes = factory.registry_changes(now, before, ["HKCU\\Software\\Dorix", "HKCU\\Software\\Dorix\\Old"])
        self.assertEqual(changes, [
            'HKCU\\Software\\Dorix "NoReset": 1 (factory 0)',
            "key HKCU\\Software\\Dorix\\New: added",
            'HKCU\\Software\\Dorix\\New "y": "b" (factory missing)',
            "key HKCU\\Software\\Dorix\\Old: deleted",
            'HKCU\\Software\\Dorix\\Old "x": missing (factory "a")',
        ])

    def test_file_changes_tell_rom_shadows_image_changes_additions_and_deleted_rom_copies(self):
        rom = {"\\Windows\\a.dll": (3, "r1"), "\\Windows\\b.exe": (4, "r2"), "\\Windows\\c.txt": (5, "r3")}
        image = {"\\My Documents\\n.txt": (6, "i1")}
        drive = {"\\WINDOWS\\A.DLL": (3, "r1"), "\\Windows\\b.exe": (7, "x"),
                 "\\My Documents\\n.txt": (8, "y"), "\\new.bin": (9, "z")}
        self.assertEqual(factory.file_changes(drive, rom, image), [
            "file \\Windows\\b.exe: RAM copy shadows the ROM file (7 bytes, factory 4)",
            "file \\My Documents\\n.txt: changed (8 bytes, factory 6)",
            "file \\new.bin: added (9 bytes)",
            "file \\Windows\\c.txt: RAM copy deleted (the ROM file returns at the next boot)",
        ])


class TheDeviceDllsExportLists(unittest.TestCase):
    """device/ce/make_def.py: the export list of a stand-in of the device's DLLs."""

    MAKE_DEF = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ce", "make_def.py")

    def make(self, names, source=""):
        with tempfile.TemporaryDirectory() as folder:
            listed = os.path.join(folder, "coredll.def")
            with open(listed, "w") as f:
                f.write("LIBRARY coredll.dll\nEXPORTS\n" + "".join("%s ; CE 4.2\n" % n for n in names))
            own = os.path.join(folder, "Own.cpp")
            with open(own, "w") as f:
                f.write(source)
            out = os.path.join(folder, "out.def")
            result = subprocess.run([sys.executable, self.MAKE_DEF, "--list", listed, "--dll", "coredll.dll",
                                     "--nm", "x86_64-w64-mingw32-nm", "--libdir", "/usr/x86_64-w64-mingw32/lib",
                                     "--desktop", "kernel32,user32,shell32,comctl32", "--out", out, own],
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            text = ""
            if os.path.exists(out):
                with open(out) as f:
                    text = f.read()
            return result.returncode, text, result.stderr

    @unittest.skipUnless(shutil.which("x86_64-w64-mingw32-nm"), "needs the cross toolchain")
    def test_own_functions_are_the_stand_ins_the_rest_forwarded_under_ce_names(self):
        code, text, errors = self.make(["CloseHandle", "SendMessageTimeout", "ImageList_LoadImage", "SetWindowLongW",
                                        "CreateFileW"],
                                       "HANDLE WINAPI CE(CreateFileW)(LPCWSTR name)\nDWORD WINAPI CE(GetOwnerProcess)()\n")
        self.assertEqual(0, code, errors)
        lines = [line.strip() for line in text.splitlines()]
        for line in ("CloseHandle = kernel32.CloseHandle", "SendMessageTimeout = user32.SendMessageTimeoutW",
                     "ImageList_LoadImage = comctl32.ImageList_LoadImageW",
                     "SetWindowLongW = user32.SetWindowLongPtrW", "CreateFileW = Ce_CreateFileW",
                     "GetOwnerProcess = Ce_GetOwnerProcess"):
            self.assertIn(line, lines)

    @unittest.skipUnless(shutil.which("x86_64-w64-mingw32-nm"), "needs the cross toolchain")
    def test_a_name_nothing_provides_fails_the_build_with_its_name(self):
        code, text, errors = self.make(["CloseHandle", "NoSuchFunction"])
        self.assertEqual(1, code)
        self.assertEqual("", text)
        self.assertIn("NoSuchFunction", errors)
        self.assertIn("none of kernel32, user32, shell32, comctl32 exports", errors)

    @unittest.skipUnless(shutil.which("x86_64-w64-mingw32-nm"), "needs the cross toolchain")
    def test_environment_and_current_directory_are_never_exported(self):
        for name in ("GetEnvironmentVariableW", "SetEnvironmentVariableW", "GetCurrentDirectoryW",
                     "SetCurrentDirectoryW", "GetFullPathNameW"):
            code, text, errors = self.make(["CloseHandle", name])
            self.assertEqual(1, code, name)
            self.assertIn(name + ", which the device does not have", errors)


if __name__ == "__main__":
    unittest.main()
