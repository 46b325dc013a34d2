"""The build folder, where the device takes its own programs (device/), Dorix and Dorix's
sample profiles from."""

import os
import subprocess

from errors import DeviceError

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
STANDIN = "standin.exe"
# The device's programs; Dorix's as well once the build has it, but not the tests.
DEVICE_TARGETS = ["devctl", "wceload", "standin", "pixels", "boxfit", "boxfithost", "navbar", "coredll_standin",
                  "commctrl_standin", "aygshell_standin"]


def default_build():
    return os.environ.get("DORIX_BUILD") or os.path.join(REPO, "build")


class Build:
    def __init__(self, path=None):
        self.path = os.path.abspath(path or default_build())

    def device(self, name):
        """A file of the device's own, built into the build's device/ folder."""
        return os.path.join(self.path, "device", name)

    def require(self, *names):
        missing = [n for n in names if not os.path.isfile(self.device(n))]
        if missing:
            raise DeviceError("not built: %s (build %s first)" % (", ".join(missing), self.path))

    def make(self):
        """Sets up the machine and builds what the device needs (incremental)."""
        subprocess.run(["bash", os.path.join(REPO, "tools", "setup-machine")], check=True)
        if not os.path.exists(os.path.join(self.path, "CMakeCache.txt")):
            subprocess.run(["cmake", "-S", REPO, "-B", self.path, "-DCMAKE_BUILD_TYPE=Release"], check=True,
                           stdout=subprocess.DEVNULL)
        listed = subprocess.run(["cmake", "--build", self.path, "--target", "help"], check=True,
                                stdout=subprocess.PIPE, text=True).stdout.split()
        targets = DEVICE_TARGETS + (["dorix"] if "dorix" in listed else [])
        subprocess.run(["cmake", "--build", self.path, "-j%d" % (os.cpu_count() or 2), "--target"] + targets,
                       check=True, stdout=subprocess.DEVNULL)
