"""The safety net of a new video mode on the simulated e805: turned on from the Confirmations
page, a switch to VGA landscape left-handed asks after the reset whether to keep the mode;
without an answer the device comes back in the old mode by itself, "Keep" keeps it, and a
command line with "Y" never asks."""

import unittest

from devicesession import SETTINGS, SIZES, Session, read
from hostrun import host

OK = 32790
KEEP_MODE_BOX = 1129
CONFIRM_RESET = ("A soft reset is required to apply the video-mode.\nIf you have unsaved data in other "
                 "applications choose \"Cancel\" to abort.")
CONFIRM_VGA3 = "Left-handed VGA-mode is still in testing.\nUse it AT YOUR OWN RISK."
OKCANCEL_EXCLAMATION = 0x31
SHORTCUT = "\\Windows\\StartUp\\Dorix Keep Mode.lnk"
SHORTCUT_BYTES = b'37#"\\Program Files\\Dorix\\dorix.exe" KEEP'
PENDING = SETTINGS + "\\Pending"
# The question's controls: the mode's name, the question, the seconds left, Keep and Back.
NAME, QUESTION, SECONDS, KEEP, BACK = 1140, 1141, 1142, 1, 2


class KeepMode(unittest.TestCase):
    def test_count_runs_out_back_to_the_old_mode_keep_stays_and_y_never_asks(self):
        host("factory-reset")
        s = Session()
        try:
            s.menu("Tools", "Program settings...")
            sheet = s.sheet("Program Settings")
            s.tap_in(sheet, KEEP_MODE_BOX)
            s.tap_in(sheet, OK)
            s.gone(sheet)
            self.assertEqual(15, s.reg(SETTINGS, "KeepModeSeconds"))

            # "Y" never asks, after the reset neither. The boxes of the mode buttons fit only the
            # wider screens of VGA (see Session.box).
            s.start_dorix("VGA", "Y")
            self.assertEqual("VGA.0", s.wait_for_reset())
            self.assertEqual((None, None, None), (self.question(s), read(SHORTCUT), s.reg(PENDING, "VGA")))

            # No answer: when the count has run out, the device resets into VGA portrait again.
            s.tap(1031)
            self.assertEqual([(CONFIRM_VGA3, "Dorix", OKCANCEL_EXCLAMATION),
                              (CONFIRM_RESET, "Dorix", OKCANCEL_EXCLAMATION)], s.boxes(["ok", "ok"]))
            self.assertEqual("VGA.3", s.wait_for_reset())
            question = s.wait_for("the keep-mode question", lambda: self.question(s))
            texts = {c["id"]: c["text"] for c in question["controls"]}
            self.assertEqual(("640x480 - Landscape (Left-handed)", "Keep this video mode?", "Keep", "Back"),
                             (texts[NAME], texts[QUESTION], texts[KEEP], texts[BACK]))
            self.assertRegex(texts[SECONDS], r"^Seconds left: ([1-9]|1[0-5])$")
            left, top, right, bottom = question["rect"]
            width, height = SIZES["VGA.3"]
            self.assertTrue(0 <= left and 0 <= top and right <= width and bottom <= height,
                            "the question %s lies on the screen" % question["rect"])
            self.assertEqual((SHORTCUT_BYTES, 1, 0), (read(SHORTCUT), s.reg(PENDING, "VGA"),
                                                      s.reg(PENDING, "Orientation")))
            self.assertIn("StartUp %s started: \\Program Files\\Dorix\\dorix.exe KEEP" % SHORTCUT, s.output())
            self.assertEqual("VGA.0", s.wait_for_reset())
            self.assertEqual((None, None, None), (read(SHORTCUT), s.reg(PENDING, "VGA"), self.question(s)))

            # "Keep": the mode stays, without another reset.
            s.tap(1031)
            s.boxes(["ok", "ok"])
            self.assertEqual("VGA.3", s.wait_for_reset())
            question = s.wait_for("the keep-mode question", lambda: self.question(s))
            s.tap_in(question, KEEP)
            s.gone(question)
            s.settled()
            self.assertEqual((None, None, 4), (read(SHORTCUT), s.reg(PENDING, "VGA"), s.resets()))
            self.assertEqual("VGA.3", s.dev.home.running()["mode"])
        finally:
            report = s.stop()
        self.assertEqual(["QVGA.0", "VGA.0", "VGA.3", "VGA.0", "VGA.3"], [b["mode"] for b in report["boots"]],
                         s.output())

    @staticmethod
    def question(s):
        """The keep-mode question when it shows; None otherwise."""
        return next((w for w in s.windows() if not w["box"] and any(c["id"] == SECONDS for c in w["controls"])),
                    None)


if __name__ == "__main__":
    unittest.main()
