"""Dorix itself on the default e805, driven as a user would: started with command lines, its
mode buttons tapped, its boxes read and answered, the device's screen after each reset.

Cases that need no fresh device share one run of it (a session): Dorix's resets only cost the
reboot, and its other command lines only a program start."""

import os
import unittest

from devicesession import SETTINGS, SIZES, WAIT, Session, factory, on_device, read, reg4, unique_colours, write
from hostrun import BUILD, host, run, state

import pages
import ui

CONFIRM_RESET = ("A soft reset is required to apply the video-mode.\nIf you have unsaved data in other "
                 "applications choose \"Cancel\" to abort.")
CONFIRM_VGA3 = "Left-handed VGA-mode is still in testing.\nUse it AT YOUR OWN RISK."
INCORRECT = "Command line incorrect."
INSTALLED = "The program was installed successfully."
CONFIRM_UNINSTALL = ("This UnInstall restores factory defaults for settings, changed by Dorix. It allows you to "
                     "install other resolution switcher. You must uninstall in standard QVGA-mode.\nClick \"Yes\" "
                     "to continue with uninstall.")
UNINSTALLED = ("The program was uninstalled successfully. If you run it again it will be installed anew. Soft "
               "Reset required to activate changes.")
OKCANCEL_EXCLAMATION, STOP, INFORMATION, YESNO_INFORMATION = 0x31, 0x10, 0x40, 0x44

# The buttons of the main window, in the order of the template, and the modes they choose.
BUTTONS = [(1027, "Portrait (Standard)", "QVGA.0"), (1032, "Landscape (Right-Handed)", "QVGA.1"),
           (1033, "Portrait (Upside down)", "QVGA.2"), (1034, "Landscape (Left-Handed)", "QVGA.3"),
           (1028, "Portrait (Standard)", "VGA.0"), (1029, "Landscape (Right-Handed)", "VGA.1"),
           (1030, "Portrait (Upside down)", "VGA.2"), (1031, "Landscape (Left-Handed)", "VGA.3")]
VIEW_PANE = 0xE900
COMMAND_BAR = 0xE800
STANDIN_SCREEN = 100
WS_VISIBLE = 0x10000000
FACTORY_CALIBRATION = "522,509 910,884 905,140 140,133 146,880 "
SCRATCH = "HKLM\\Software\\DorixTest"


class CommandLine(unittest.TestCase):
    """Dorix started with a command line while the device shows its shell (the stand-in, which
    measures the screen after each boot)."""

    @classmethod
    def setUpClass(cls):
        host("factory-reset")
        cls.session = Session(program="standin")

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()

    def switch(self, args, expected, answers=()):
        """Starts Dorix with args; checks the boxes it asks (answered OK) and that the device
        comes back in the expected mode at its size."""
        s = self.session
        before = s.dev.home.running()["mode"]
        self.assertNotEqual(expected, before, "a case must change the mode to show which one was chosen")
        proc = s.start_dorix(*args)
        shown = s.boxes(["ok"] * len(answers))
        self.assertEqual([(text, "Dorix", style) for text, style in answers], shown, args)
        mode = s.wait_for_reset()
        proc.wait(timeout=WAIT)
        size, shot = s.screen()
        measured = next(c["text"] for c in s.program_window()["controls"] if c["id"] == STANDIN_SCREEN)
        self.assertEqual((expected, SIZES[expected], "Screen %dx%d" % SIZES[expected]), (mode, size, measured),
                         "%s from %s; screenshot %s" % (args, before, shot))

    def test_keywords_choose_the_mode_in_any_case_and_with_slash_or_hyphen(self):
        # Y answers the confirmation: no box at all.
        self.switch(["vga", "landscape", "y"], "VGA.1")
        # The landscape group is tested before the left group.
        self.switch(["/QVGA", "-LANDSCAPE", "LEFT", "/Y"], "QVGA.1")
        self.switch(["-Landscape-Left", "V", "-y"], "VGA.3")
        # Without Y the reset is confirmed; Cancel changes nothing.
        s = self.session
        settings = (s.reg("HKCU\\ControlPanel\\DisplayMode", "VGAMode"), s.reg("HKLM\\System\\GDI\\Rotation", "Angle"))
        proc = s.start_dorix("VGA", "PORTRAIT")
        self.assertEqual([(CONFIRM_RESET, "Dorix", OKCANCEL_EXCLAMATION)], s.boxes(["cancel"]))
        self.expect_no_reset(proc, 0)
        self.assertEqual(settings, (s.reg("HKCU\\ControlPanel\\DisplayMode", "VGAMode"),
                                    s.reg("HKLM\\System\\GDI\\Rotation", "Angle")))
        # The portrait group is tested first.
        self.switch(["PORTRAIT", "LEFT", "VGA"], "VGA.0", answers=[(CONFIRM_RESET, OKCANCEL_EXCLAMATION)])
        # UD is upside down, not uninstall.
        self.switch(["UD", "QV", "Y"], "QVGA.2")

    def expect_no_reset(self, proc, code):
        s = self.session
        resets, boot = s.resets(), s.boot
        self.assertEqual(code, s.ended(proc))
        # An accepted reset request never lets the program end by itself: the host would have
        # said so before ending it.
        self.assertEqual((resets, boot), (s.resets(), s.dev.home.running()["boot"]), s.output())

    def test_a_long_box_fits_the_qvga_portrait_screen(self):
        s = self.session
        if s.dev.home.running()["mode"] != "QVGA.0":
            s.start_dorix("QVGA", "PORTRAIT", "Y")
            self.assertEqual("QVGA.0", s.wait_for_reset())
        proc = s.start_dorix("VGA", "PORTRAIT")
        box = s.box()  # fails when the box runs past the screen
        # Its icon is told by the pixels on the screen: the box shows whole on the screenshot.
        size, shot = s.screen()
        self.assertEqual(((240, 320), CONFIRM_RESET, OKCANCEL_EXCLAMATION), (size, box["text"], box["box_style"]),
                         shot)
        for control in box["controls"]:
            if control["visible"]:
                self.assertTrue(0 <= control["rect"][0] and control["rect"][2] <= 240, (control, shot))
                self.assertGreater(unique_colours(shot, control["rect"]), 1, (control, shot))
        self.assertEqual([(CONFIRM_RESET, "Dorix", OKCANCEL_EXCLAMATION)], s.boxes(["cancel"]))
        self.expect_no_reset(proc, 0)

    def test_incomplete_mode_is_reported_then_the_window_opens(self):
        s = self.session
        for args in (["LEFT"], ["Y"], ["XVGA", "VGAX", "QVGA-LANDSCAPE", "Y"]):
            proc = s.start_dorix(*args)
            self.assertEqual([(INCORRECT, "Dorix", STOP)], s.boxes(["ok"]), args)
            dorix = s.wait_for("%s: the main window after the box" % args,
                               lambda: [w for w in s.windows() if w["title"] == "Dorix" and not w["box"]])
            self.assertEqual(1, len(dorix), "%s: the main window after the box" % args)
            self.assertEqual([b[0] for b in BUTTONS], [c["id"] for c in dorix[0]["controls"] if c["id"] in
                                                       [b[0] for b in BUTTONS]], args)
            self.assertIsNone(proc.poll(), "%s: the program runs on with its window" % args)
            proc.kill()
            proc.wait()

    def test_install_wins_over_every_other_keyword(self):
        s = self.session
        proc = s.start_dorix("INSTALL", "VGA")
        self.assertEqual([(INSTALLED, "Dorix", INFORMATION)], s.boxes(["ok"]))
        self.expect_no_reset(proc, 0)
        self.assertEqual(3072, len(read("\\Windows\\detect.exe")))

        # No box at all with Y, and no uninstallation.
        self.expect_no_reset(s.start_dorix("i", "UNINSTALL", "y"), 0)
        self.assertEqual(3072, len(read("\\Windows\\detect.exe")), "the stub stays")
        self.assertEqual(" ", s.reg("HKLM\\init", "Launch90"))


class InstallUninstall(unittest.TestCase):
    """Installation and uninstallation against the factory device, with a VGA landscape switch
    in between that rotates the calibration and writes the driver's settings."""

    def test_uninstall_brings_back_the_factory_device(self):
        host("factory-reset")
        s = Session(program="standin")
        try:
            with open(os.path.join(BUILD, "stub", "stub.exe"), "rb") as f:
                stub = f.read()
            proc = s.start_dorix("INSTALL")
            self.assertEqual([(INSTALLED, "Dorix", INFORMATION)], s.boxes(["ok"]))
            self.assertEqual(0, s.ended(proc))
            self.assertEqual((stub, stub, factory("\\Windows\\keylock.exe")),
                             (read("\\Windows\\detect.exe"), read("\\Windows\\vq-select.exe"),
                              read("\\Windows\\keylock.exe")))
            self.assertEqual((b"16#\\Windows\\WTM.exe", b"16#\\Windows\\BPU.exe"),
                             (read("\\Windows\\StartUp\\WiFi-Monitor.lnk"), read("\\Windows\\StartUp\\BT-Monitor.lnk")))
            self.assertEqual((" ", FACTORY_CALIBRATION, 0x10400),
                             (s.reg("HKLM\\init", "Launch90"), s.reg(SETTINGS + "\\Uninstall", "CalibrationData"),
                              s.reg(SETTINGS + "\\Uninstall", "Version")))

            proc = s.start_dorix("VGA", "LANDSCAPE", "Y")
            self.assertEqual("VGA.1", s.wait_for_reset())
            rotated = "522,509 146,880 910,884 905,140 140,133 "
            self.assertEqual((rotated, 1, 270), (s.reg("HKLM\\HARDWARE\\DEVICEMAP\\TOUCH", "CalibrationData"),
                                                 s.reg("HKCU\\ControlPanel\\DisplayMode", "VGAMode"),
                                                 s.reg("HKLM\\System\\GDI\\Rotation", "Angle")))

            proc = s.start_dorix("UNINSTALL")
            self.assertEqual([(CONFIRM_UNINSTALL, "Dorix", YESNO_INFORMATION)], s.boxes(["no"]))
            self.assertEqual(0, s.ended(proc))
            self.assertEqual(stub, read("\\Windows\\detect.exe"), "No keeps the installation")

            proc = s.start_dorix("u")
            self.assertEqual([(CONFIRM_UNINSTALL, "Dorix", YESNO_INFORMATION), (UNINSTALLED, "Dorix", INFORMATION)],
                             s.boxes(["yes", "ok"]))
            self.assertEqual(0, s.ended(proc))
            # The RAM copies are gone; the ROM files come back at the next boot.
            self.assertEqual([None] * 5 + [factory("\\Windows\\keylock.exe")],
                             [read(p) for p in ("\\Windows\\detect.exe", "\\Windows\\vq-select.exe",
                                                "\\Windows\\atihwtbl0.txt", "\\Windows\\StartUp\\WiFi-Monitor.lnk",
                                                "\\Windows\\StartUp\\BT-Monitor.lnk", "\\Windows\\keylock.exe")])
            self.assertEqual(("tapadm.exe", FACTORY_CALIBRATION, 0, 0, None),
                             (s.reg("HKLM\\init", "Launch90"), s.reg("HKLM\\HARDWARE\\DEVICEMAP\\TOUCH", "CalibrationData"),
                              s.reg("HKCU\\ControlPanel\\DisplayMode", "VGAMode"),
                              s.reg("HKLM\\System\\GDI\\Rotation", "Angle"), s.reg(SETTINGS + "\\Uninstall", "Version")))
        finally:
            s.stop()

        report, out = run("--seconds", "0.5", "--program", "standin")
        for path in ("\\Windows\\detect.exe", "\\Windows\\vq-select.exe", "\\Windows\\atihwtbl0.txt"):
            self.assertIn("ROM file restored: " + path, out)
            self.assertEqual(factory(path), read(path), path)
        self.assertEqual(("QVGA.0", [240, 320], ""), (report["boots"][0]["mode"], report["boots"][0]["size"],
                                                      report["boots"][0]["safe_reason"]), out)
        changes = "\n".join(state()["changes"])
        for unchanged in ("detect.exe", "vq-select.exe", "atihwtbl0.txt", "StartUp", "Launch90", "TOUCH",
                          "VGAMode", "Angle"):
            self.assertNotIn(unchanged, changes)


class MainWindow(unittest.TestCase):
    """The eight buttons tapped with and without each setting; after every reset the host starts
    Dorix again."""

    def test_buttons_switch_with_and_without_each_setting(self):
        host("factory-reset")
        s = Session()
        try:
            self.check_window(s, "QVGA.0")
            # The About box is a dialog of its own, no message box: nothing but the user answers it.
            self.assertTrue(ui.menu_has(s.menus(), "About...") and ui.menu_has(s.menus(), "Exit"), s.menus())
            s.menu("Tools", "About...")
            about = s.wait_for("the About box", lambda: next((w for w in s.windows()
                                                              if w["title"] == "About Dorix..."), None))
            self.assertFalse(about["box"], about)
            s.tap_in(about, 1)
            s.gone(about)
            s.start_dorix("VGA", "Y")
            self.check_window(s, s.wait_for_reset(), "VGA.0")

            s.tap(1029)
            self.assertEqual([(CONFIRM_RESET, "Dorix", OKCANCEL_EXCLAMATION)], s.boxes(["cancel"]))
            s.settled()
            self.assertEqual((1, 2, 0, False), (s.resets(), s.dev.home.running()["boot"],
                                                s.reg("HKLM\\System\\GDI\\Rotation", "Angle"),
                                                os.path.exists(s.dev.home.request)), "Cancel changes nothing")

            s.tap(1029)
            self.assertEqual([(CONFIRM_RESET, "Dorix", OKCANCEL_EXCLAMATION)], s.boxes(["ok"]))
            self.check_window(s, s.wait_for_reset(), "VGA.1")

            s.tap(1031)
            self.assertEqual([(CONFIRM_VGA3, "Dorix", OKCANCEL_EXCLAMATION), (CONFIRM_RESET, "Dorix",
                                                                               OKCANCEL_EXCLAMATION)],
                             s.boxes(["ok", "ok"]))
            self.check_window(s, s.wait_for_reset(), "VGA.3")

            # The mode the device has: per-mode data stays, the driver's settings are written again.
            s.set_dword(SETTINGS, "NoVGA3Warning", 1)
            self.add_per_mode_data(s)
            os.utime(on_device("\\Windows\\atihwtbl0.txt"), (1, 1))
            s.tap(1031)
            self.assertEqual([(CONFIRM_RESET, "Dorix", OKCANCEL_EXCLAMATION)], s.boxes(["ok"]))
            self.check_window(s, s.wait_for_reset(), "VGA.3")
            self.assertEqual((b"live file", "live", "saved"),
                             (read("\\My Documents\\same.txt"), s.reg(SCRATCH, "Same"),
                              s.reg(SETTINGS + "\\Saved Registry Data", SCRATCH + "\\Same\\VGA.landscape")))
            self.assertGreater(os.path.getmtime(on_device("\\Windows\\atihwtbl0.txt")), 1)

            s.set_dword(SETTINGS, "NoResetWarning", 1)
            s.tap(1027)
            self.check_window(s, s.wait_for_reset(), "QVGA.0")

            s.set_dword(SETTINGS, "NoReset", 1)
            s.tap(1030)
            s.host.wait(timeout=WAIT)
        finally:
            report = s.stop()
        self.assertEqual((["QVGA.0", "VGA.0", "VGA.1", "VGA.3", "VGA.3", "QVGA.0"], 0),
                         ([b["mode"] for b in report["boots"]], report.get("exit_code")), s.output())
        # NoReset: the program ended by itself and the device still runs the old mode; the next
        # boot comes up in the new one.
        self.assertEqual(5, len(report["resets"]), s.output())
        report, out = run("--seconds", "0.5")
        self.assertEqual([("VGA.2", [480, 640])], [(b["mode"], b["size"]) for b in report["boots"]], out)
        self.assertIn('window "Dorix"', report["boots"][0]["windows"][0], out)

    def check_window(self, s, mode, expected=None):
        """The device came back in the expected mode at its size, showing its navigation bar
        across the top and, below it, Dorix with its command bar at the bottom and its eight
        buttons whole, with their pictures, in between."""
        expected = expected or mode
        size, shot = s.screen()
        self.assertEqual((expected, SIZES[expected]), (mode, size), shot)
        window = s.program_window()
        controls = {c["id"]: c for c in window["controls"]}
        self.assertEqual([(i, t) for i, t, _ in BUTTONS], [(i, controls[i]["text"]) for i, _, _ in BUTTONS
                                                           if i in controls])
        self.assertTrue(controls[VIEW_PANE]["style"] & WS_VISIBLE, "the view is shown")
        for control, _, _ in BUTTONS:
            self.assertGreater(unique_colours(shot, controls[control]["rect"]), 4,
                               "button %d shows its picture in %s" % (control, shot))
        area = ui.query(s.dev, "workarea")["work"]
        bar = 52 if min(size) >= 480 else 26
        self.assertEqual([0, bar] + list(size), area, "the work area lies below the navigation bar")
        self.assertGreater(unique_colours(shot, [0, 0, size[0], bar]), 2, "the navigation bar shows in %s" % shot)
        self.assertEqual([], pages.window_faults(window, area), shot)
        self.assertEqual(area[3], controls[COMMAND_BAR]["rect"][3], "the command bar lies at the bottom")

    def add_per_mode_data(self, s):
        """A registry entry and a file entry, each with a VGA landscape copy that a switch from
        another mode would bring in."""
        write("\\My Documents\\same.txt", b"live file")
        write("\\My Documents\\same.txt.VGA", b"vga file")
        s.import_reg('[%s]\n"Same"="live"\n\n'
                     '[%s\\Saved Registry Data]\n"%s\\\\Same\\\\VGA.landscape"="saved"\n\n'
                     '[%s\\Registry]\n"Count"=dword:00000001\n"0"="%s,Same"\n\n'
                     '[%s\\Files]\n"Count"=dword:00000001\n"0"="\\\\My Documents\\\\same.txt"\n'
                     % (reg4(SCRATCH), reg4(SETTINGS), SCRATCH.replace("\\", "\\\\"), reg4(SETTINGS),
                        SCRATCH.replace("\\", "\\\\"), reg4(SETTINGS)))


class FailedSwitch(unittest.TestCase):
    """A switch to VGA landscape that fails after two per-mode registry entries were swapped and
    a per-mode file replaced: the values come back, the file stays replaced, the reason is shown,
    the program ends with exit code 1 and the device is not reset."""

    PROFILE = "[Profile]\r\nVersion=1.4.0\r\n[VGA]\r\n0=RegSwap,%s,Third\r\n" \
              "1=CopyFile,\\My Documents\\missing.txt,\\My Documents\\copy.txt\r\n" % SCRATCH

    def setUp(self):
        host("factory-reset")
        self.session = Session()
        self.session.start_dorix("VGA", "Y")
        self.assertEqual("VGA.0", self.session.wait_for_reset())
        write("\\My Documents\\skin.txt", b"qvga skin")
        write("\\My Documents\\skin.txt.vga", b"vga skin")
        copies = "\n".join('"%s\\\\%s\\\\VGA.landscape"=%s' % (SCRATCH.replace("\\", "\\\\"), name, data)
                           for name, data in (("First", '"first vga"'), ("Second", "dword:00000002"),
                                              ("Third", '"third vga"')))
        self.session.import_reg(
            '[%s]\n"First"="first live"\n"Second"=dword:00000001\n"Third"="third live"\n\n'
            '[%s\\Saved Registry Data]\n%s\n\n'
            '[%s\\Registry]\n"Count"=dword:00000002\n"0"="%s,First"\n"1"="%s,Second"\n\n'
            '[%s\\Files]\n"Count"=dword:00000001\n"0"="\\\\My Documents\\\\skin.txt"\n'
            % (reg4(SCRATCH), reg4(SETTINGS), copies, reg4(SETTINGS), SCRATCH.replace("\\", "\\\\"),
               SCRATCH.replace("\\", "\\\\"), reg4(SETTINGS)))

    def tearDown(self):
        self.session.stop()

    def live(self):
        return tuple(self.session.reg(SCRATCH, name) for name in ("First", "Second", "Third"))

    def test_stored_clock_of_zero_fails_the_command_line_switch(self):
        s = self.session
        s.set_dword(SETTINGS + "\\VGA.landscape", "ClkFreq.1", 0)
        proc = s.start_dorix("VGA", "LANDSCAPE", "Y")
        self.assertEqual([("Invalid clock settings", "Dorix", STOP)], s.boxes(["ok"]))
        self.assertEqual(1, s.ended(proc))
        self.assertEqual((("first live", 1, "third live"), b"vga skin", 1, 0),
                         (self.live(), read("\\My Documents\\skin.txt"), s.resets(),
                          s.reg("HKLM\\System\\GDI\\Rotation", "Angle")), s.output())

    def test_failing_profile_fails_the_switch_from_the_button(self):
        s = self.session
        write("\\Program Files\\Dorix\\Failing.dorix", self.PROFILE.encode("cp1252"))
        s.set_dword(SETTINGS + "\\Profiles", "Failing", 1)
        s.tap(1029)
        self.assertEqual([(CONFIRM_RESET, "Dorix", OKCANCEL_EXCLAMATION),
                          ("Cannot replace file \"\\My Documents\\copy.txt\". Close all running applications and "
                           "try again.", "Dorix", STOP)], s.boxes(["ok", "ok"]))
        s.host.wait(timeout=WAIT)
        report = s.stop()
        self.assertEqual((1, 1, ["QVGA.0", "VGA.0"]), (report.get("exit_code"), len(report["resets"]),
                                                        [b["mode"] for b in report["boots"]]), s.output())
        hive = s.dev.home.registry()
        self.assertEqual(("first live", 1, "third live"),
                         tuple(hive.get(SCRATCH, name)[1] for name in ("First", "Second", "Third")))
        self.assertEqual((b"vga skin", "VGA.0"), (read("\\My Documents\\skin.txt"), state()["boot_mode"]))


if __name__ == "__main__":
    unittest.main()
