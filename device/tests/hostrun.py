"""Runs the device host as a user would, on a device of the tests' own (in the build folder)."""

import json
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
HOST = os.path.join(HERE, "..", "dorix-device")
BUILD = os.environ.get("DORIX_BUILD") or os.path.join(HERE, "..", "..", "build")
# Each test file may have a device home of its own (DORIX_DEVICE_TEST_HOME), so that files
# run side by side.
HOME = os.environ.get("DORIX_DEVICE_TEST_HOME") or os.path.join(BUILD, "device-test-home")

sys.path.insert(0, os.path.join(HERE, "..", "host"))


def env():
    e = dict(os.environ, DORIX_DEVICE_HOME=HOME, DORIX_BUILD=BUILD, PYTHONDONTWRITEBYTECODE="1")
    e.pop("DISPLAY", None)
    return e


def host(*args, check=True):
    result = subprocess.run([sys.executable, HOST] + list(args), env=env(), stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True, timeout=300)
    if check and result.returncode != 0:
        raise AssertionError("dorix-device %s failed (%d):\n%s" % (" ".join(args), result.returncode, result.stdout))
    return result.stdout


def run(*args, image="e805"):
    """dorix-device run, headless; (report, output)."""
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as f:
        report = f.name
    try:
        out = host("run", "--no-build", "--headless", "--image", image, "--report", report, *args)
        with open(report) as f:
            return json.load(f), out
    finally:
        os.remove(report)


def state(image="e805"):
    return json.loads(host("state", "--json", "--image", image))


def drive(image="e805"):
    return os.path.join(HOME, image, "drive")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", "%s is no PNG" % path
    return list(struct.unpack(">II", head[16:24]))
