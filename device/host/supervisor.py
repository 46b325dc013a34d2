"""The device's run: boot, start the program, watch it until it ends, resets or the time is up,
and on a soft-reset request end every program and boot again in the mode the settings now
name, as a user pressing the reset button would see it."""

import os
import signal
import threading
import time

import ui
from errors import DeviceError


class Stop(Exception):
    """The host was asked to stop (SIGTERM or SIGINT)."""


def _stop(signum, frame):
    raise Stop()


def stop_on_signals():
    signal.signal(signal.SIGTERM, _stop)
    signal.signal(signal.SIGINT, _stop)


def has_window(found):
    return any(w["title"] and not w["box"] for w in found)


FIRST_WINDOW_LIMIT = 30.0


def accept_reset(dev, accepted, done):
    """Accepts the device's soft-reset request as soon as it is made. The requester gives up
    after a few seconds, and listing windows can take longer than that while the requester's
    windows do not answer (each one gets a second's time-out)."""
    while not done.is_set():
        if dev.take_reset_request():
            accepted.set()
            return
        done.wait(0.05)


def list_windows(lister):
    """The device's windows, or none this time when the listing failed: a program that ends
    while its windows are listed, or a device whose programs are being ended, leaves no list."""
    try:
        return lister()
    except DeviceError as e:
        print("  windows not listed: %s" % str(e).splitlines()[0] if str(e) else "  windows not listed")
        return []


def screenshot_if_shown(dev, path):
    """A screenshot of the device's screen, or None when the screen is already gone: a program
    that ends at once may take the device's desktop with it while the picture is taken."""
    try:
        return dev.screenshot(path)
    except DeviceError as e:
        print("  no screenshot: %s" % str(e).splitlines()[0])
        return None


def show_boot(dev, entry, number, found, started, report, reset_started):
    """Reports a boot once its program shows a window (or ends, or resets first)."""
    entry["seconds"] = round(time.monotonic() - started, 2)
    entry["windows"] = [ui.describe(w) for w in found]
    print("  up in %.1f s (boot to the program's first window)" % entry["seconds"])
    if reset_started is not None:
        report["resets"][-1]["seconds"] = round(time.monotonic() - reset_started, 2)
        print("  reset took %.1f s (request to the program's first window)" % report["resets"][-1]["seconds"])
    for line in entry["windows"]:
        print("  " + line)
    entry["screenshot"] = screenshot_if_shown(dev, os.path.join(dev.home.screens, "boot-%d.png" % number))
    print("  screenshot: %s" % entry["screenshot"])


def print_boot(number, mode):
    width, height = mode.size
    if mode.safe:
        print("boot %d: SAFE MODE %s %dx%d: %s" % (number, mode.name, width, height, mode.safe_reason))
    else:
        print("boot %d: %s %dx%d" % (number, mode.name, width, height))
    for path in mode.restored:
        print("  ROM file restored: %s" % path)
    for line in mode.startup:
        print("  " + line)


def watch_boot(dev, proc, entry, number, report, started, reset_started, headless, answerer, seconds):
    """Watches one boot's program until it ends, asks for a reset or (headless) its time is up.
    Gives whether the device is to reset."""
    deadline = None
    reset = False
    accepted, done = threading.Event(), threading.Event()
    threading.Thread(target=accept_reset, args=(dev, accepted, done), daemon=True).start()
    while True:
        if accepted.is_set():
            reset = True
        if "seconds" not in entry:
            found = list_windows(lambda: answerer.poll() if headless else ui.windows(dev))
            if has_window(found) or reset or proc.poll() is not None \
                    or time.monotonic() - started > FIRST_WINDOW_LIMIT:
                show_boot(dev, entry, number, found, started, report, reset_started)
                deadline = time.monotonic() + seconds if headless else None
        elif headless:
            list_windows(answerer.poll)
        if reset or proc.poll() is not None:
            break
        if deadline is not None and time.monotonic() > deadline:
            break
        time.sleep(0.2)
    done.set()
    return reset


def run(dev, program, program_args, headless, answerer, seconds, report):
    """Boots the device and runs program with program_args, booting again after every soft
    reset (then without the arguments, as the device's shell starts a program), until the
    program ends or the time is up. Fills report with the boots, resets and what shows last."""
    reset_started = None
    try:
        for stale in (dev.home.request, dev.home.request + ".accepted"):
            if os.path.exists(stale):
                os.remove(stale)
        while True:
            started = time.monotonic()
            mode = dev.boot(headless, os.environ.get("DISPLAY"))
            number = len(report["boots"]) + 1
            print_boot(number, mode)
            proc = dev.start(program, program_args)
            entry = {"mode": mode.name, "size": list(mode.size), "safe_reason": mode.safe_reason}
            report["boots"].append(entry)
            reset = watch_boot(dev, proc, entry, number, report, started, reset_started, headless, answerer,
                               seconds)
            reset_started = None
            # Taken after the watch: the program may end while its windows are being listed.
            if not reset and proc.poll() is not None:
                report["exit_code"] = proc.returncode
            if "exit_code" in report:
                print("program ended with exit code %d" % report["exit_code"])
            if not reset:
                break
            reset_started = time.monotonic()
            print("soft reset requested: ending every program and booting again")
            report["resets"].append({"after_boot": number})
            dev.shutdown()
            program_args = []
        final = list_windows(lambda: ui.windows(dev))
        report["final_windows"] = [ui.describe(w) for w in final]
        report["final_screenshot"] = screenshot_if_shown(dev, os.path.join(dev.home.screens, "final.png"))
        print("the device shows:")
        for line in report["final_windows"]:
            print("  " + line)
        print("screenshot: %s" % report["final_screenshot"])
    except Stop:
        print("stopping the device")
