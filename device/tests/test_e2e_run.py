"""A program run in a video mode of its own on the simulated e805: a Start-menu shortcut made
with Dorix's "New shortcut" sheet and tapped resets the device into that mode with the program
running; with "Back to the current mode" the device resets back when the program ends, record
and shortcut gone, and without it the device stays."""

import unittest

from devicesession import SETTINGS, Session, read
from hostrun import host

OK = 32790
MODE, PROGRAM, RETURN, YES, NAME = 1150, 1151, 1154, 1155, 1156
VGA_PORTRAIT, VGA_LANDSCAPE = 4, 5
PIXELS = "\\Windows\\pixels.exe"
PIXELS_SIZE, PIXELS_END = 100, 102
START_MENU = "\\Windows\\Start Menu\\Programs\\"
RUN = SETTINGS + "\\Run"
STARTUP = "\\Windows\\StartUp\\Dorix Run.lnk"
DORIX = '"\\Program Files\\Dorix\\dorix.exe"'


def shortcut(line):
    return ("%d#%s" % (len(line), line)).encode()


class RunInMode(unittest.TestCase):
    def test_shortcut_runs_the_program_in_its_mode_and_goes_back_when_asked(self):
        host("factory-reset")
        s = Session()
        try:
            name = self.make_shortcut(s, VGA_LANDSCAPE, "pixels in 640x480 - Landscape (Right-handed)", True)
            self.assertEqual(shortcut(DORIX + " VGA LANDSCAPE RETURN Y RUN " + PIXELS), read(START_MENU + name + ".lnk"))
            s.start_shortcut(name)
            self.assertEqual("VGA.1", s.wait_for_reset())
            pixels = self.pixels(s)
            self.assertEqual("640x480", self.text(pixels, PIXELS_SIZE))
            self.assertEqual((PIXELS, 0, 0, shortcut(DORIX + " RESUME")),
                             (s.reg(RUN, "Program"), s.reg(RUN, "VGA"), s.reg(RUN, "Orientation"), read(STARTUP)))
            s.tap_in(pixels, PIXELS_END)
            self.assertEqual("QVGA.0", s.wait_for_reset())
            self.assertEqual((None, None), (s.reg(RUN, "Program"), read(STARTUP)))

            # Without the way back the device stays in the program's mode.
            name = self.make_shortcut(s, VGA_PORTRAIT, "pixels in 480x640 - Portrait (Standard)", False)
            s.start_shortcut(name)
            self.assertEqual("VGA.0", s.wait_for_reset())
            pixels = self.pixels(s)
            self.assertEqual((None, None), (s.reg(RUN, "Program"), read(STARTUP)))
            s.tap_in(pixels, PIXELS_END)
            s.gone(pixels)
            s.settled()
            self.assertEqual(("VGA.0", 3), (s.dev.home.running()["mode"], s.resets()))
        finally:
            report = s.stop()
        self.assertEqual(["QVGA.0", "VGA.1", "QVGA.0", "VGA.0"], [b["mode"] for b in report["boots"]], s.output())

    def make_shortcut(self, s, mode, proposed, back):
        """Makes a shortcut to pixels.exe in mode through the sheet, switching without asking;
        returns its name, the one the sheet proposes."""
        s.menu("Tools", "New shortcut...")
        sheet = s.sheet("New shortcut")
        s.pick(sheet, MODE, mode)
        s.set_text(sheet, PROGRAM, PIXELS)
        s.wait_for("the proposed name", lambda: self.text(s.sheet("New shortcut"), NAME) == proposed)
        if back:
            s.tap_in(sheet, RETURN)
        s.tap_in(sheet, YES)
        s.tap_in(sheet, OK)
        s.gone(sheet)
        return proposed

    @staticmethod
    def pixels(s):
        return s.wait_for("the program's window", lambda: next(
            (w for w in s.windows() if w["title"] == "Pixels" and not w["box"]), None))

    @staticmethod
    def text(window, control):
        return next((c["text"] for c in window["controls"] if c["id"] == control and c["visible"]), None)


if __name__ == "__main__":
    unittest.main()
