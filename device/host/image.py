"""A device image (device/images/<name>): the file system and registry a device is made from."""

import os

import registry
from errors import DeviceError

IMAGES = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "images")
# The device's volatile keys, which the image's registry holds but each boot creates anew.
VOLATILE_ROOT = "HKLM\\HARDWARE"


class Image:
    """files/ (its file system; files/Windows is ROM), registry.reg and folders.txt (empty
    folders of the factory device)."""

    def __init__(self, name):
        self.name = name
        self.root = os.path.join(IMAGES, name)
        if not os.path.isfile(os.path.join(self.root, "registry.reg")):
            known = sorted(d for d in os.listdir(IMAGES) if os.path.isdir(os.path.join(IMAGES, d)))
            raise DeviceError("no device image %r (images: %s)" % (name, ", ".join(known)))
        with open(os.path.join(self.root, "registry.reg"), encoding="cp1252") as f:
            self.registry = registry.parse_regedit4(f.read())

    @property
    def files(self):
        return os.path.join(self.root, "files")

    def folders(self):
        path = os.path.join(self.root, "folders.txt")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return [line.strip() for line in f if line.strip() and not line.startswith(";")]

    def rom_files(self):
        """Device path -> host file of every ROM file of the image."""
        rom = {}
        base = os.path.join(self.files, "Windows")
        for folder, _, names in os.walk(base):
            for name in names:
                full = os.path.join(folder, name)
                rom["\\" + os.path.relpath(full, self.files).replace("/", "\\")] = full
        return rom

    def volatile_keys(self):
        return [name for name, _ in self.registry.below(VOLATILE_ROOT) if len(name.split("\\")) > 2]

    @property
    def oem_info(self):
        value = self.registry.get("HKLM\\Platform", "OEMInfo")
        return value[1] if value else ""
