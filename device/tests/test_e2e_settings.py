"""Dorix's settings sheets on the simulated e805, driven as a user would: each opened from the
Tools menu, a value changed and confirmed (32790) takes effect at the next switch into a mode it
belongs to; Cancel (32791) stores nothing."""

import unittest

from devicesession import SETTINGS, Session, read
from hostrun import host

import driver
import ui

OK, CANCEL = 32790, 32791
CLOCK_WARNING = "Changing timings can cause"
GWE = "HKLM\\SYSTEM\\GWE"
TABLE = "\\Windows\\atihwtbl0.txt"
RESET_CONFIRMATION = 1126
# The main window's buttons by the mode they switch to.
BUTTONS = {"QVGA.1": 1032, "QVGA.2": 1033, "VGA.0": 1028, "VGA.1": 1029}


class Sheets(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        host("factory-reset")
        cls.session = Session()
        if not ui.menu_has(cls.session.menus(), "Mode settings"):
            cls.session.stop()
            raise unittest.SkipTest('Dorix\'s Tools menu has no "Mode settings": the settings sheets are not '
                                    'there yet')

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()

    def open(self, command, caption):
        self.session.command(command)
        return self.session.sheet(caption)

    def fill(self, sheet, tab, values):
        """Shows the page and types the values (control id -> text); the GPU-Clock page first
        shows its warning, which is answered."""
        s = self.session
        sheet = s.page(sheet, tab)
        if tab == "GPU-Clock":
            box = s.box()
            self.assertTrue(box["text"].startswith(CLOCK_WARNING), box["text"])
            s.answer("ok")
            s.gone(box)
        for control, text in values.items():
            s.set_text(sheet, control, text)
        return sheet

    def close(self, sheet, button):
        self.session.tap_in(sheet, button)
        self.session.gone(sheet)

    def stored(self, group, *names):
        return tuple(self.session.reg(SETTINGS + "\\" + group, name) for name in names)

    def test_cancel_stores_nothing(self):
        s = self.session
        before = (self.stored("QVGA.portrait", "VertScrollWidth", "ClkFreq.0", "ClkDivider.0"),
                  s.reg(SETTINGS, "NoResetWarning"))
        sheet = self.open(32852, "240x320 - Portrait")
        self.fill(sheet, "Scrollbars", {1073: "31"})
        self.fill(sheet, "GPU-Clock", {1092: "77", 1094: "9"})
        self.close(sheet, CANCEL)
        sheet = self.open(32860, "Program Settings")
        s.tap_in(sheet, RESET_CONFIRMATION)
        self.close(sheet, CANCEL)
        s.settled()
        self.assertEqual(before, (self.stored("QVGA.portrait", "VertScrollWidth", "ClkFreq.0", "ClkDivider.0"),
                                  s.reg(SETTINGS, "NoResetWarning")))

    def test_confirmed_values_take_effect_at_the_next_switch(self):
        s = self.session
        sheet = self.open(32852, "240x320 - Portrait")
        self.fill(sheet, "Scrollbars", {1073: "17"})
        # The page's second mode is the upside-down one.
        self.fill(sheet, "GPU-Clock", {1093: "90", 1095: "12"})
        self.close(sheet, OK)
        sheet = self.open(32854, "320x240 - Landscape")
        self.fill(sheet, "Scrollbars", {1075: "23"})
        self.close(sheet, OK)
        sheet = self.open(32851, "480x640 - Portrait")
        self.fill(sheet, "Scrollbars", {1077: "21"})
        self.close(sheet, OK)
        sheet = self.open(32857, "640x480 - Landscape")
        self.fill(sheet, "Scrollbars", {1079: "26"})
        self.fill(sheet, "GPU-Clock", {1092: "110", 1094: "20"})
        self.close(sheet, OK)
        self.assertEqual(((17, 90, 12), (23,), (21,), (26, 110, 20)),
                         (self.stored("QVGA.portrait", "VertScrollWidth", "ClkFreq.2", "ClkDivider.2"),
                          self.stored("QVGA.landscape", "VertScrollHeight"),
                          self.stored("VGA.portrait", "HorzScrollHeight"),
                          self.stored("VGA.landscape", "HorzScrollWidth", "ClkFreq.1", "ClkDivider.1")))

        # "Changing video-mode" unticked: the switches below ask nothing.
        sheet = self.open(32860, "Program Settings")
        s.tap_in(sheet, RESET_CONFIRMATION)
        self.close(sheet, OK)
        self.assertEqual(1, s.reg(SETTINGS, "NoResetWarning"))

        expected = [("QVGA.2", "cxVScr", 17, ("ASIC0", "LCD0", "dword:90", "dword:12")),
                    ("QVGA.1", "cyVScr", 23, None),
                    ("VGA.1", "cxHScr", 26, ("ASIC1", "LCD1", "dword:110", "dword:20")),
                    ("VGA.0", "cyHScr", 21, None)]
        for mode, metric, value, clock in expected:
            s.settled()
            s.tap(BUTTONS[mode])
            self.assertEqual(mode, s.wait_for_reset())
            got = [s.reg(GWE, metric)]
            want = [value]
            if clock:
                controller, panel, frequency, divider = clock
                table = driver.table_text(read(TABLE))
                got += [driver.find_value(table, controller, "FastClkFreq"),
                        driver.find_value(table, panel, "PixClkPostDivider")]
                want += [frequency, divider]
            self.assertEqual(want, got, "after the switch to %s" % mode)


if __name__ == "__main__":
    unittest.main()
