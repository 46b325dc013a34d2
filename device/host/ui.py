"""Driving the device as a user would, through devctl.exe inside the device's session."""

import json

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
    return json.loads(out)


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
    default or a button id), then with each box's default button, and reports each one."""

    def __init__(self, dev, answers, log):
        self.dev = dev
        self.answers = list(answers)
        self.log = log
        self.seen = {}
        self.boxes = []

    def poll(self):
        """Lists the device's windows, answers new boxes; returns the list."""
        found = windows(self.dev)
        present = {w["hwnd"] for w in found}
        self.seen = {h: a for h, a in self.seen.items() if h in present}
        for window in found:
            if not window["box"] or window["hwnd"] in self.seen:
                continue
            answer = self.answers.pop(0) if self.answers else "default"
            code, out = devctl(self.dev, "answer", "--window", str(window["title"]), answer)
            self.seen[window["hwnd"]] = answer
            record = {"text": window["text"], "caption": window["title"], "style": window["box_style"],
                      "answer": answer, "answered": code == 0}
            self.boxes.append(record)
            self.log("%s -> %s%s" % (describe(window), answer, "" if code == 0 else " FAILED: " + out.strip()))
        return found
