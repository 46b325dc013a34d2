#!/usr/bin/env python3
"""Checks of the profile packer on the host: what it writes is an archive of the one form the
reader accepts, and what it refuses leaves no archive behind. Usage: check_pack_profile.py PACKER"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

PACKER = None


def read(path):
    with open(path, "rb") as f:
        return f.read()


def make_tree(root, files):
    for name, data in files.items():
        path = os.path.join(root, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


class PackProfileTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.folder = os.path.join(self.tmp.name, "profile")
        self.output = os.path.join(self.tmp.name, "out.zdorix")
        os.mkdir(self.folder)

    def tearDown(self):
        self.tmp.cleanup()

    def pack(self, output=None, check=False, env=None):
        return subprocess.run([sys.executable, PACKER] + ([] if check else ["--no-check"])
                              + [self.folder, output or self.output], capture_output=True, text=True, env=env)

    def assert_refused(self, fragment):
        result = self.pack()
        self.assertEqual(1, result.returncode, result.stderr)
        self.assertIn(fragment, result.stderr)
        self.assertFalse(os.path.exists(self.output), "an archive was written")
        self.assertEqual([], [n for n in os.listdir(self.tmp.name) if n.startswith(".pack-")])

    def test_archive_is_stored_without_comment_with_slash_names(self):
        files = {"profile.dorix": b"[Profile]\r\nVersion=1.4.0\r\n", "Skins/vga.skn": b"V" * 1000,
                 "Skins/old/a.skn": b"", "caf\u00e9.txt": b"x"}
        make_tree(self.folder, files)
        os.makedirs(os.path.join(self.folder, "empty"))
        result = self.pack()
        self.assertEqual(0, result.returncode, result.stderr)
        data = read(self.output)
        self.assertEqual(0x06054B50, struct.unpack_from("<I", data, len(data) - 22)[0])
        self.assertEqual(0, struct.unpack_from("<H", data, len(data) - 2)[0], "archive comment")
        with zipfile.ZipFile(self.output) as z:
            self.assertIsNone(z.testzip())
            for info in z.infolist():
                self.assertEqual(0, info.flag_bits, info.filename)
                # zipfile reads names without the UTF-8 flag as code page 437.
                name = info.filename.encode("cp437").decode("cp1252")
                self.assertIn(name, files)
                self.assertEqual(zipfile.ZIP_STORED, info.compress_type, name)
                self.assertEqual(0x20, info.external_attr, name)
                self.assertEqual(files.pop(name), z.read(info), name)
        self.assertEqual({}, files, "files missing from the archive")

    def test_output_is_the_same_for_the_same_folder(self):
        make_tree(self.folder, {"profile.dorix": b"p", "b/x": b"1", "a/y": b"2"})
        self.assertEqual(0, self.pack().returncode)
        first = read(self.output)
        self.assertEqual(0, self.pack().returncode)
        self.assertEqual(first, read(self.output))

    def test_folder_without_profile_text_is_refused(self):
        make_tree(self.folder, {"Skins/profile.dorix": b"p"})
        self.assert_refused('no "profile.dorix"')

    def test_names_differing_only_in_case_are_refused(self):
        make_tree(self.folder, {"profile.dorix": b"p", "Skins/a.skn": b"1", "skins/A.skn": b"2"})
        self.assert_refused("differ only in letter case")

    def test_names_the_device_cannot_hold_are_refused(self):
        make_tree(self.folder, {"profile.dorix": b"p", "d" * 200 + "/" + "n" * 58: b"1"})
        self.assertEqual(0, self.pack().returncode, "259 bytes fit")
        os.unlink(self.output)
        make_tree(self.folder, {"d" * 200 + "/" + "n" * 59: b"1"})
        self.assert_refused("at most 259")

    def test_names_outside_the_code_page_are_refused(self):
        make_tree(self.folder, {"profile.dorix": b"p", "\u65e5.txt": b"1"})
        self.assert_refused("outside Windows-1252")

    def test_previous_archive_stays_when_packing_fails(self):
        with open(self.output, "wb") as f:
            f.write(b"previous")
        make_tree(self.folder, {"nothing.txt": b"1"})
        self.assertEqual(1, self.pack().returncode)
        self.assertEqual(b"previous", read(self.output))

    def test_archive_inside_its_folder_is_refused(self):
        make_tree(self.folder, {"profile.dorix": b"p"})
        result = self.pack(os.path.join(self.folder, "self.zdorix"))
        self.assertEqual(1, result.returncode)
        self.assertIn("must not lie inside", result.stderr)

    def test_without_the_checker_the_archive_is_written_with_how_to_check_it(self):
        make_tree(self.folder, {"profile.dorix": b"[Profile]\r\nVersion=1.4.0\r\n"})
        # A build without Dorix: the checker cannot be had.
        nothing = os.path.join(self.tmp.name, "no-build")
        os.mkdir(nothing)
        result = self.pack(check=True, env=dict(os.environ, DORIX_BUILD=nothing, DORIX_DEVICE_HOME=nothing))
        self.assertEqual(0, result.returncode, result.stderr)
        self.assertTrue(os.path.exists(self.output))
        self.assertIn("was not checked", result.stderr)
        self.assertIn('device/dorix-device check "%s"' % self.output, result.stderr)


if __name__ == "__main__":
    PACKER = sys.argv.pop(1)
    unittest.main(verbosity=1)
