"""Dorix's state settings on the simulated e805, driven as a user would: a sample profile ticked, a
registry entry added with its data for VGA, a file entry chosen with the file chooser, all
confirmed; then switches from the main window carry the per-mode data over and run the profile."""

import unittest

from devicesession import SETTINGS, Session, read, write
from hostrun import host

import ui

OK, CANCEL = 32790, 32791
CONFIRM_RESET = "A soft reset is required"
# The main window's buttons of the modes switched to.
VGA_PORTRAIT, QVGA_PORTRAIT = 1028, 1027
PROFILE_LIST, REGISTRY_ADD, FILE_ADD = 1118, 1112, 1108
ENTRY_KEY, ENTRY_VALUE, CHANGE_DATA, VGA_PORTRAIT_DATA = 1084, 1069, 1122, 1123
ENTRY_PATH, BROWSE, CHOOSER_TREE, CHOOSER_LIST, CHOOSER_PATH = 1098, 1115, 1101, 1103, 1116
# A tree item's indent and its small icon: the button of a top-level item lies in the first
# indent, the text of an item of level n after n + 1 indents and the icon.
TREE_INDENT, ICON = 19, 16
SCRATCH = "HKCU\\Software\\DorixTest"
INBOX, NOTES = "HKCU\\Software\\Microsoft\\Inbox\\Settings", "HKCU\\Software\\Microsoft\\Notes"


class StateSettings(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        host("factory-reset")
        cls.session = Session()
        if not ui.menu_has(cls.session.menus(), "State settings..."):
            cls.session.stop()
            raise unittest.SkipTest('Dorix\'s Tools menu has no "State settings...": the sheet is not there yet')

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()

    def items(self, window, control):
        return ui.query(self.session.dev, "items", "--hwnd", str(window["hwnd"]), "--id", str(control))["items"]

    def tap_at(self, x, y):
        ui.call(self.session.dev, "tap", "--point", "%d,%d" % (x, y))

    def item(self, window, control, text):
        """The item of a list or tree, by its first text, once it is there."""
        return self.session.wait_for('the item "%s"' % text, lambda: next(
            (i for i in self.items(window, control) if i["texts"][0] == text), None))

    def until(self, what, window, control, text, test):
        self.session.wait_for(what, lambda: test(self.item(window, control, text)))

    def choose_file(self, entry, folder, name):
        """Opens the file chooser from the file entry sheet and picks the file as a user does:
        the root unfolded with its button, the folder and then the file tapped, OK."""
        s = self.session
        s.tap_in(entry, BROWSE)
        chooser = s.sheet("Choose file")
        left, top, _, bottom = self.item(chooser, CHOOSER_TREE, "\\")["rect"]
        self.tap_at(left + TREE_INDENT // 2, (top + bottom) // 2)
        # A folder below the tree's lower edge comes into view as the user taps the lowest one
        # shown: the tree scrolls a selected item into view.
        tree_bottom = next(c["rect"][3] for c in self.controls(chooser) if c["id"] == CHOOSER_TREE) - 2
        for _ in range(10):
            target = self.item(chooser, CHOOSER_TREE, folder)
            if target["rect"][3] <= tree_bottom:
                break
            target = max((i for i in self.items(chooser, CHOOSER_TREE) if i["rect"][1] < tree_bottom - 4),
                         key=lambda i: i["rect"][1])
            self.tap_label(target)
            self.until("the folder to be selected", chooser, CHOOSER_TREE, target["texts"][0], lambda i: i["selected"])
        self.tap_label(self.item(chooser, CHOOSER_TREE, folder))
        self.until("the folder to be selected", chooser, CHOOSER_TREE, folder, lambda i: i["selected"])
        # So does a file below the list's lower edge (the device's "\Windows" holds its ROM files
        # and DLLs): the list scrolls a tapped item into view.
        list_bottom = next(c["rect"][3] for c in self.controls(chooser) if c["id"] == CHOOSER_LIST) - 2
        for _ in range(20):
            if self.item(chooser, CHOOSER_LIST, name)["rect"][3] <= list_bottom:
                break
            lowest = max((i for i in self.items(chooser, CHOOSER_LIST) if i["rect"][1] < list_bottom - 4),
                         key=lambda i: i["rect"][1])
            self.tap_at(lowest["rect"][0] + ICON + 8, (lowest["rect"][1] + list_bottom) // 2)
            self.until("the file to come into view", chooser, CHOOSER_LIST, lowest["texts"][0],
                       lambda i: i["rect"][3] <= list_bottom)
        left, top, _, bottom = self.item(chooser, CHOOSER_LIST, name)["rect"]
        self.tap_at(left + ICON + 8, (top + bottom) // 2)
        path = "\\%s\\%s" % (folder, name)
        s.wait_for("the path %s" % path, lambda: self.text(chooser, CHOOSER_PATH) == path)
        s.tap_in(chooser, OK)
        s.gone(chooser)

    def tap_label(self, item):
        """Taps a tree item's text: after the indents of its level and the root's, and its icon."""
        left, top, _, bottom = item["rect"]
        self.tap_at(left + (item["level"] + 1) * TREE_INDENT + ICON + 6, (top + bottom) // 2)

    def controls(self, window):
        return next(w for w in self.session.windows() if w["hwnd"] == window["hwnd"])["controls"]

    def text(self, window, control):
        return next(c["text"] for c in self.controls(window) if c["id"] == control and c["visible"])

    def switch(self, button, mode):
        s = self.session
        s.settled()
        s.tap(button)
        box = s.box()
        self.assertTrue(box["text"].startswith(CONFIRM_RESET), box["text"])
        s.answer("ok")
        self.assertEqual(mode, s.wait_for_reset())

    def test_profile_registry_entry_and_file_set_in_the_sheet_follow_the_mode(self):
        s = self.session
        s.import_reg('[%s]\n"Skin"="qvga-skin"\n' % SCRATCH.replace("HKCU", "HKEY_CURRENT_USER"))
        write("\\Windows\\skin.dat", b"live")
        write("\\Windows\\skin.dat.vga", b"vga")
        write("\\Windows\\skin.dat.qvga", b"qvga")

        s.menu("Tools", "State settings...")
        sheet = s.sheet("State Settings")
        row = self.item(sheet, PROFILE_LIST, "Big Fonts")
        self.assertFalse(row["checked"])
        left, top, _, bottom = row["rect"]
        # The check box at the row's left end.
        self.tap_at(left + 8, (top + bottom) // 2)
        self.until("the profile to be ticked", sheet, PROFILE_LIST, "Big Fonts", lambda i: i["checked"])

        sheet = s.page(sheet, "Registry")
        s.tap_in(sheet, REGISTRY_ADD)
        entry = s.sheet("Add/Edit registry entry for swapping")
        s.set_text(entry, ENTRY_KEY, SCRATCH)
        s.set_text(entry, ENTRY_VALUE, "Skin")
        s.tap_in(entry, CHANGE_DATA)
        data = s.sheet("Registry data")
        self.assertEqual("qvga-skin", self.text(data, 1121), "the live value for the device's class")
        s.set_text(data, VGA_PORTRAIT_DATA, "vga-skin")
        s.tap_in(data, OK)
        s.gone(data)
        s.tap_in(entry, OK)
        s.gone(entry)

        sheet = s.page(sheet, "Files")
        s.tap_in(sheet, FILE_ADD)
        entry = s.sheet("Add/Edit file for swapping")
        self.choose_file(entry, "Windows", "skin.dat")
        self.assertEqual("\\Windows\\skin.dat", self.text(entry, ENTRY_PATH))
        s.tap_in(entry, OK)
        s.gone(entry)
        s.tap_in(sheet, OK)
        s.gone(sheet)

        s.settled()
        self.assertEqual((1, SCRATCH + ",Skin", "\\Windows\\skin.dat"),
                         (s.reg(SETTINGS + "\\Profiles", "Big Fonts"), s.reg(SETTINGS + "\\Registry", "0"),
                          s.reg(SETTINGS + "\\Files", "0")))

        saved = SETTINGS + "\\Saved Registry Data"
        self.switch(VGA_PORTRAIT, "VGA.0")
        self.assertEqual((12, 12, "vga-skin", "qvga-skin", b"vga"),
                         (s.reg(INBOX, "FontSize"), s.reg(NOTES, "FontSize"), s.reg(SCRATCH, "Skin"),
                          s.reg(saved, SCRATCH + "\\Skin\\QVGA.portrait"), read("\\Windows\\skin.dat")))
        self.switch(QVGA_PORTRAIT, "QVGA.0")
        self.assertEqual((8, 8, "qvga-skin", "vga-skin", b"qvga"),
                         (s.reg(INBOX, "FontSize"), s.reg(NOTES, "FontSize"), s.reg(SCRATCH, "Skin"),
                          s.reg(saved, SCRATCH + "\\Skin\\VGA.portrait"), read("\\Windows\\skin.dat")))


if __name__ == "__main__":
    unittest.main()
