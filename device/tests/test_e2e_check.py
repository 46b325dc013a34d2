"""Dorix's profile checker run on the device by the profile packer: a profile with a mistake is
refused with the checker's report, a sound one is packed."""

import os
import subprocess
import sys
import tempfile
import unittest

from hostrun import HERE, env

PACKER = os.path.join(HERE, "..", "..", "tools", "pack-profile")
PROFILE = ("[Profile]\r\nVersion=1.4.0\r\n[VGA]\r\n0=CopyFile,Skins\\vga.skn,%PROGRAM_FILES%\\a.skn\r\n"
           "[QVGA]\r\n0=CopyFile,Skins\\qvga.skn,%PROGRAM_FILES%\\a.skn\r\n")


class PackChecked(unittest.TestCase):
    def pack(self, skins):
        """Packs a profile of two copies with the given skin files; (result, archive path)."""
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        os.makedirs(os.path.join(folder.name, "p", "Skins"))
        with open(os.path.join(folder.name, "p", "profile.dorix"), "w", newline="") as f:
            f.write(PROFILE)
        for skin in skins:
            with open(os.path.join(folder.name, "p", "Skins", skin), "w") as f:
                f.write(skin)
        output = os.path.join(folder.name, "Skins.zdorix")
        result = subprocess.run([sys.executable, PACKER, os.path.join(folder.name, "p"), output], env=env(),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=600)
        return result, output

    def test_profile_with_a_missing_source_is_refused_with_the_report(self):
        result, output = self.pack(["vga.skn"])
        self.assertEqual(1, result.returncode, result.stdout + result.stderr)
        self.assertFalse(os.path.exists(output))
        self.assertIn('QVGA, line 6: The archive holds no "Skins\\qvga.skn".\n1 problems found.', result.stderr)

    def test_sound_profile_is_packed(self):
        result, output = self.pack(["vga.skn", "qvga.skn"])
        self.assertEqual(0, result.returncode, result.stdout + result.stderr)
        self.assertEqual("", result.stderr)
        self.assertTrue(os.path.exists(output))


if __name__ == "__main__":
    unittest.main()
