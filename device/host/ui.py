"""Driving the device as a user would, through devctl.exe inside the device's session."""

import json
import time

import device as devicemod

BUTTONS = {1: "OK", 2: "Cancel", 3: "Abort", 4: "Retry", 5: "Ignore", 6: "Yes", 7: "No", 10: "Try Again",
           11: "Continue"}


def devctl(dev, *args, timeout=30):
    result = dev.wine(dev.built("devctl.exe"), *args, check=False, capture=True, timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def windows(dev):
    code, out = devctl(dev, "list")
    if code != 0:
        raise devicemod.DeviceError(out.strip() or "devctl list failed")
    try:
        return json.loads(out)
    except ValueError:
        # A lister ended half-way (the device is resetting and its programs are being ended)
        # leaves no complete list behind.
        raise devicemod.DeviceError("devctl list ended without a list: %r" % out[:200])


def call(dev, *args):
    """Runs a devctl command that changes something; raises with its message on failure."""
    code, out = devctl(dev, *args)
    if code != 0:
        raise devicemod.DeviceError(out.strip() or "devctl %s failed" % args[0])


def describe(window):
    """One line for a window or box, as the user sees it."""
    if window["box"]:
        return 'box %s (caption %s, style 0x%x)' % (json.dumps(window["text"]), json.dumps(window["title"]),
                                                     window["box_style"])
    texts = [c["text"] for c in window["controls"] if c["text"]]
    return 'window %s [%s, style 0x%08x]%s' % (json.dumps(window["title"]), window["class"], window["style"],
                                              (": " + " | ".join(texts)) if texts else "")


class BoxAnswerer:
    """Answers every message box that appears, in the order given (ok, cancel, yes, no, ...,
    default or a button id), then with each box's default button, and reports each one. A box
    is left wait seconds for someone else (a driving command) to answer first."""

    def __init__(self, dev, answers, log, wait=0.0):
        self.dev = dev
        self.answers = list(answers)
        self.log = log
        self.wait = wait
        self.seen = {}
        self.boxes = []

    def poll(self):
        """Lists the device's windows, answers boxes that are due; returns the list."""
        found = windows(self.dev)
        present = {w["hwnd"] for w in found}
        self.seen = {h: r for h, r in self.seen.items() if h in present}
        now = time.monotonic()
        for window in found:
            if not window["box"]:
                continue
            record = self.seen.get(window["hwnd"])
            if record is None:
                record = self.seen[window["hwnd"]] = {
                    "text": window["text"], "caption": window["title"], "style": window["box_style"],
                    "answer": None, "answered": False, "since": now}
                self.boxes.append(record)
                if self.wait > 0:
                    self.log("%s shown" % describe(window))
            if record["answer"] is not None or now - record["since"] < self.wait:
                continue
            answer = self.answers.pop(0) if self.answers else "default"
            code, out = devctl(self.dev, "answer", "--window", str(window["title"]), answer)
            record["answer"], record["answered"] = answer, code == 0
            self.log("%s -> %s%s" % (describe(window), answer, "" if code == 0 else " FAILED: " + out.strip()))
        return found

    def report(self):
        return [{k: v for k, v in r.items() if k != "since"} for r in self.boxes]
