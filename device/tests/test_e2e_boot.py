"""The device booted headless: the mode the settings name, the reset loop through all eight
modes, the safe mode, ROM restore, volatile touch values, the StartUp folder, the second image."""

import os
import unittest

from devicesession import Session, write
from hostrun import drive, host, png_size, run, state

SIZES = {"QVGA.0": [240, 320], "QVGA.1": [320, 240], "QVGA.2": [240, 320], "QVGA.3": [320, 240],
         "VGA.0": [480, 640], "VGA.1": [640, 480], "VGA.2": [480, 640], "VGA.3": [640, 480]}


class Boot(unittest.TestCase):
    def setUp(self):
        host("factory-reset")

    def test_program_writing_vga_landscape_and_resetting_comes_back_at_640x480(self):
        report, out = run("--seconds", "1", "--program", "standin", "--", "VGA.1")
        boots = [(b["mode"], b["size"], png_size(b["screenshot"])) for b in report["boots"]]
        self.assertEqual([("QVGA.0", [240, 320], [240, 320]), ("VGA.1", [640, 480], [640, 480])], boots, out)
        self.assertIn('"Dorix stand-in"', report["boots"][1]["windows"][0], out)
        self.assertIn("Screen 640x480", report["boots"][1]["windows"][0], out)
        self.assertEqual(1, len(report["resets"]), out)
        self.assertIn("seconds", report["resets"][0], out)
        s = state()
        self.assertEqual(("VGA.1", 1, 270, "dword:1"), (s["boot_mode"], s["vga_mode"], s["angle"], s["rotation_lcd1"]))

    def test_reset_loop_visits_all_eight_modes_at_their_screen_sizes(self):
        plan = ["VGA.0", "VGA.1", "VGA.2", "VGA.3", "QVGA.1", "QVGA.2", "QVGA.3", "QVGA.0"]
        with open(os.path.join(drive(), "Temp", "standin-plan.txt"), "w") as f:
            f.write("\n".join(plan) + "\n")
        report, out = run("--seconds", "1", "--program", "standin")
        self.assertEqual(["QVGA.0"] + plan, [b["mode"] for b in report["boots"]], out)
        self.assertEqual([SIZES[b["mode"]] for b in report["boots"]], [b["size"] for b in report["boots"]], out)
        with open(os.path.join(drive(), "Temp", "standin-screens.txt")) as f:
            measured = f.read().split()
        # What the program itself measured after each boot.
        self.assertEqual(["%dx%d" % tuple(SIZES[m]) for m in ["QVGA.0"] + plan], measured, out)
        self.assertEqual(8, len(report["resets"]), out)

    def test_settings_the_driver_cannot_use_boot_the_safe_mode(self):
        table = os.path.join(drive(), "Windows", "atihwtbl0.txt")
        with open(table, "rb") as f:
            text = f.read()
        with open(table, "wb") as f:
            f.write(text.replace(b'"Rotation"=dword:0          //', b'"Rotation"=dword:7          //'))
        report, out = run("--seconds", "0.5", "--program", "standin")
        self.assertEqual(("QVGA.0", [240, 320]), (report["boots"][0]["mode"], report["boots"][0]["size"]), out)
        self.assertIn("dword:7", report["boots"][0]["safe_reason"], out)
        self.assertIn("SAFE MODE", out)

        os.remove(table)
        os.mkdir(table)  # unreadable as a file, and not missing: the ROM does not replace it
        report, out = run("--seconds", "0.5", "--program", "standin")
        self.assertIn("cannot be read", report["boots"][0]["safe_reason"], out)
        os.rmdir(table)

        # Settings that disagree: the panel turned, the graphics system not.
        report, out = run("--seconds", "0.5", "--program", "standin", "--", "VGA.1", "angle=0")
        self.assertEqual(["QVGA.0", "QVGA.0"], [b["mode"] for b in report["boots"]], out)
        self.assertIn('"Angle" 0', report["boots"][1]["safe_reason"], out)

    def test_deleted_rom_files_return_at_boot_and_ram_copies_shadow_them(self):
        windows = os.path.join(drive(), "Windows")
        with open(os.path.join(windows, "detect.exe"), "rb") as f:
            factory = f.read()
        os.remove(os.path.join(windows, "detect.exe"))
        os.remove(os.path.join(windows, "atihwtbl0.txt"))
        with open(os.path.join(windows, "keylock.exe"), "wb") as f:
            f.write(b"\0" * 3072)
        changes = "\n".join(state()["changes"])
        self.assertIn("\\Windows\\detect.exe: RAM copy deleted", changes)
        self.assertIn("\\Windows\\keylock.exe: RAM copy shadows the ROM file (3072 bytes", changes)
        report, out = run("--seconds", "0.5", "--program", "standin")
        self.assertIn("ROM file restored: \\Windows\\detect.exe", out)
        self.assertIn("ROM file restored: \\Windows\\atihwtbl0.txt", out)
        self.assertEqual("QVGA.0", report["boots"][0]["mode"], out)
        with open(os.path.join(windows, "detect.exe"), "rb") as f:
            self.assertEqual(factory, f.read())
        self.assertEqual(3072, os.path.getsize(os.path.join(windows, "keylock.exe")))

    def test_touch_key_is_volatile_and_its_values_survive_shutdowns(self):
        touch = "HKLM\\HARDWARE\\DEVICEMAP\\TOUCH"
        run("--program", "reg", "--", "add", touch, "/v", "CalibrationData", "/d", "1,1 2,2 3,3 4,4 5,5 ", "/f")
        run("--program", "reg", "--", "add", touch, "/v", "Other", "/d", "x", "/f")
        self.assertEqual("1,1 2,2 3,3 4,4 5,5 ", state()["calibration"])
        with open(os.path.join(os.path.dirname(drive()), "prefix", "system.reg"), encoding="utf-8") as f:
            self.assertNotIn("DEVICEMAP\\\\TOUCH", f.read())

    def test_factory_reset_restores_files_and_registry(self):
        run("--seconds", "0.5", "--program", "standin", "--", "QVGA.3")
        os.remove(os.path.join(drive(), "Windows", "WTM.exe"))
        self.assertNotEqual([], state()["changes"])
        host("factory-reset")
        s = state()
        self.assertEqual(([], "QVGA.0"), (s["changes"], s["boot_mode"]))


class StartUp(unittest.TestCase):
    THEME = "\\My Documents\\start theme.txt"
    WALL = "HKCU\\Software\\Microsoft\\Today"

    def test_shortcuts_run_their_programs_at_every_boot_before_the_program(self):
        host("factory-reset")
        line = '"\\Windows\\wceload.exe" /noui /delete 0 "%s"' % self.THEME
        write("\\Windows\\StartUp\\Theme.lnk", b"%d#%s" % (len(line), line.encode()))
        write("\\Windows\\StartUp\\WiFi-Monitor.lnk", b"16#\\Windows\\WTM.exe")
        write(self.THEME, b"Wallpaper=first.gif\r\n")
        s = Session(program="standin")
        try:
            s.wait_for("the first boot's theme", lambda: s.reg(self.WALL, "Wall") == "first.gif")
            write(self.THEME, b"Wallpaper=second.gif\r\n")
            s.tap(201)  # the stand-in's QVGA.1 button: write that mode and reset
            self.assertEqual("QVGA.1", s.wait_for_reset())
            s.wait_for("the second boot's theme", lambda: s.reg(self.WALL, "Wall") == "second.gif")
        finally:
            s.stop()
        out = s.output()
        started = "  StartUp \\Windows\\StartUp\\Theme.lnk started: \\Windows\\wceload.exe /noui /delete 0 %s\n" \
            % self.THEME
        skipped = "  StartUp \\Windows\\StartUp\\WiFi-Monitor.lnk skipped: \\Windows\\WTM.exe is no program\n"
        self.assertEqual(2, out.count(started), out)
        self.assertEqual(2, out.count(skipped), out)
        # Each boot: the StartUp programs, then the program's first window.
        self.assertLess(out.index(started), out.index("  up in"), out)
        self.assertLess(out.rindex(started), out.rindex("  up in"), out)


class SecondImage(unittest.TestCase):
    def test_e800_has_its_own_oem_text_and_no_bluetooth(self):
        report, out = run("--seconds", "0.5", "--program", "standin", image="e800")
        self.assertEqual("QVGA.0", report["boots"][0]["mode"], out)
        s = state("e800")
        self.assertEqual("TOSHIBA e800", s["oem_info"])
        self.assertFalse(os.path.exists(os.path.join(drive("e800"), "Windows", "BPU.exe")))
        with open(os.path.join(os.path.dirname(drive("e800")), "prefix", "system.reg"), encoding="utf-8") as f:
            reg = f.read()
        self.assertIn('"OEMInfo"="TOSHIBA e800"', reg)
        self.assertNotIn("BTSETUP", reg)


if __name__ == "__main__":
    unittest.main()
