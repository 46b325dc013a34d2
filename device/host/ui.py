"""Driving the device as a user would, through devctl.exe inside the device's session."""

import json
import os
import select
import subprocess
import tempfile
import threading
import time

import winestart
from errors import DeviceError

BUTTONS = {1: "OK", 2: "Cancel", 3: "Abort", 4: "Retry", 5: "Ignore", 6: "Yes", 7: "No", 10: "Try Again",
           11: "Continue"}


class Server:
    """One devctl process serving a driver's commands for one boot of the device: polling the
    device's windows several times a second would otherwise start a Wine process each time."""

    END = b"\x1e"

    def __init__(self, dev, session):
        self.key = (session.get("boot"), session.get("display"), session.get("host_pid"))
        self.err = tempfile.TemporaryFile()
        self.proc = dev.wine.start(dev.home.build.device("devctl.exe"), "serve", stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=self.err)
        self.pending = b""
        self.answered = 0

    def alive(self, session):
        return self.proc.poll() is None and self.key == (session.get("boot"), session.get("display"),
                                                           session.get("host_pid"))

    def close(self, dev):
        """Ends the server; (exit code, error output), the error output also into the device's
        Wine log. A server that answered has started: its error output does not count then
        (winestart.never_started)."""
        if self.proc.poll() is None:
            self.proc.kill()
        code = self.proc.wait()
        self.proc.stdin.close()
        self.proc.stdout.close()
        self.err.seek(0)
        errors = self.err.read()
        self.err.close()
        dev.wine.log_errors(errors)
        return code, b"" if self.answered else errors

    def call(self, args, timeout):
        """(exit code, output) of one command; None when the server ended before answering
        (the device was reset under it)."""
        try:
            self.proc.stdin.write("\x1f".join(args).encode("utf-8") + b"\n")
            self.proc.stdin.flush()
        except OSError:
            return None
        out = self.pending
        deadline = time.monotonic() + timeout
        fd = self.proc.stdout.fileno()
        while True:
            end = out.find(self.END)
            if end >= 0 and b"\n" in out[end:]:
                line_end = out.index(b"\n", end)
                self.pending = out[line_end + 1:]
                self.answered += 1
                return int(out[end + 1:line_end].strip() or b"1"), out[:end].decode("utf-8", "replace")
            left = deadline - time.monotonic()
            if left <= 0:
                raise subprocess.TimeoutExpired("devctl", timeout)
            if select.select([fd], [], [], left)[0]:
                chunk = os.read(fd, 65536)
                if not chunk:
                    return None
                out += chunk


_servers = {}
_servers_lock = threading.Lock()


def _served(dev, args, timeout):
    """A command run by the driver's devctl server for the running boot, or None where it cannot
    serve it (the device is down, or the server ended under the command). A server that Wine's
    loader could not start is started again, as any program of the device."""
    session = dev.home.running()
    if not session or any("\n" in a or "\x1f" in a for a in args):
        return None
    key = id(dev)

    def attempt():
        server = _servers.get(key)
        if server is None:
            server = _servers[key] = Server(dev, session)
        try:
            answer = server.call(args, timeout)
        except subprocess.TimeoutExpired:
            server.close(dev)
            del _servers[key]
            raise
        if answer is not None:
            return 0, b"", answer
        # Its own exit code, before close would end it.
        server.proc.wait()
        del _servers[key]
        return server.close(dev) + (None,)
    with _servers_lock:
        server = _servers.get(key)
        if server is not None and not server.alive(session):
            server.close(dev)
            del _servers[key]
        code, errors, answer = winestart.start_retried(attempt)
    if answer is not None:
        return answer
    if winestart.never_started(code, errors):
        return 1, "devctl could not be started: %s" % winestart.START_FAILURE.decode()
    return code or 1, "devctl %s ended with exit code %d while it ran" % (args[0], code)


def devctl(dev, *args, timeout=30):
    args = [str(a) for a in args]
    try:
        served = _served(dev, args, timeout)
        if served is not None:
            return served
        result = dev.wine.run(dev.home.build.device("devctl.exe"), *args, check=False, capture=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise DeviceError("devctl %s did not end within %d s" % (args[0], timeout))
    return result.returncode, result.stdout.decode("utf-8", "replace")


def failure(args, code, out):
    """devctl's message, or what ended it when it left none (a crash of the helper, or Wine
    unable to start it)."""
    return out.strip() or "devctl %s failed with exit code %d and no message" % (args[0], code)


def query(dev, *args):
    """Runs a devctl command that answers with JSON; raises with its message on failure."""
    code, out = devctl(dev, *args)
    if code != 0:
        raise DeviceError(failure(args, code, out))
    try:
        return json.loads(out)
    except ValueError:
        # A lister ended half-way (the device is resetting and its programs are being ended)
        # leaves no complete answer behind.
        raise DeviceError("devctl %s ended without an answer: %r" % (args[0], out[:200]))


def windows(dev):
    """The device's top-level windows, topmost first, each with all its controls (devctl list)."""
    return query(dev, "list")


def target(window=None, hwnd=None):
    """devctl's options naming a window: by handle, else by part of its title (none: the topmost)."""
    if hwnd is not None:
        return ["--hwnd", str(hwnd)]
    return ["--window", window] if window else []


def call(dev, *args):
    """Runs a devctl command that changes something; raises with its message on failure."""
    code, out = devctl(dev, *args)
    if code != 0:
        raise DeviceError(failure(args, code, out))


def wait_for(what, probe, timeout=30.0, interval=0.1):
    """Polls probe() until it returns something true and returns that; after timeout seconds
    raises DeviceError naming what did not happen."""
    deadline = time.monotonic() + timeout
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            raise DeviceError("%s did not happen within %.0f s" % (what, timeout))
        time.sleep(interval)


def titled(found, title):
    """The first window of a listing with exactly this title that is no message box, or None."""
    return next((w for w in found if w["title"] == title and not w["box"]), None)


def children(window, parent):
    """The controls of a listed window whose parent is the given window handle."""
    return [c for c in window["controls"] if c["parent"] == parent]


def active_page(sheet):
    """The visible page of a listed sheet (a child #32770 of it), or None."""
    return next((c for c in children(sheet, sheet["hwnd"]) if c["class"] == "#32770" and c["visible"]), None)


def menu_has(menus, text):
    """Whether any menu of devctl's menus answer holds an item of this text, at any depth."""
    def walk(items):
        return any(i["text"] == text or walk(i.get("items", [])) for i in items)
    return any(walk(m["items"]) for m in menus["menus"])


def control_tree(window):
    """(depth, control) for each control of a listed window, depth 1 for its direct children."""
    depth = {window["hwnd"]: 0}
    for c in window["controls"]:
        depth[c["hwnd"]] = depth.get(c["parent"], 0) + 1
        yield depth[c["hwnd"]], c


def describe(window):
    """One line for a window or box, as the user sees it."""
    if window["box"]:
        return 'box %s (caption %s, style 0x%x)' % (json.dumps(window["text"]), json.dumps(window["title"]),
                                                     window["box_style"])
    texts = [c["text"] for c in window["controls"] if c["text"] and c["visible"]]
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
            code, out = devctl(self.dev, "answer", "--hwnd", str(window["hwnd"]), answer)
            record["answer"], record["answered"] = answer, code == 0
            self.log("%s -> %s%s" % (describe(window), answer, "" if code == 0 else " FAILED: " + out.strip()))
        return found

    def report(self):
        return [{k: v for k, v in r.items() if k != "since"} for r in self.boxes]
