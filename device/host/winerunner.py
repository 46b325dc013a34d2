"""Windows programs run under Wine in one prefix: a working directory of their own, Wine's own
messages into a log file, a start that Wine's loader could not make made again (winestart)."""

import os
import select
import subprocess
import tempfile
import time

import winestart
from errors import DeviceError

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
# Wine's own messages are off, but for the one that says why the loader could not start a
# program (winestart).
WINEDEBUG = "-all,err+virtual"


def win_path(unix_path):
    """A host path as Windows programs see it (Wine maps / as Z:)."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


class WineRunner:
    """Runs programs in the prefix with cwd as their working directory and the environment
    variables env on top of the host's. display, when set, is the X display they show on."""

    def __init__(self, prefix, cwd, log_path, **env):
        self.prefix = prefix
        self.cwd = cwd
        self.log_path = log_path
        self.extra_env = env
        self.display = None
        self._log = None
        # How often the prefix's programs were all ended: a program found never started is not
        # started again once its prefix has been stopped since.
        self._stops = 0

    def env(self):
        env = dict(os.environ)
        env.update(WINEPREFIX=self.prefix, WINEDEBUG=WINEDEBUG, WINEDLLOVERRIDES="mscoree,mshtml=", **self.extra_env)
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def log(self):
        """The log file, opened on first use."""
        if self._log is None:
            os.makedirs(os.path.dirname(self.log_path), exist_ok=True)
            self._log = open(self.log_path, "ab")
        return self._log

    def log_errors(self, errors):
        self.log().write(errors)
        self.log().flush()

    def close(self):
        if self._log is not None:
            self._log.close()
            self._log = None

    def run(self, *args, check=True, timeout=120, capture=False):
        """Runs a Windows program and waits for it. Output never goes to the caller's terminal or
        pipes: Wine's services started on the way would inherit them. With capture, the result's
        stdout holds its output; else it goes to the log, as its error output always does."""
        out = subprocess.PIPE if capture else self.log()

        def start():
            with tempfile.TemporaryFile() as err:
                result = subprocess.run([WINE] + list(args), env=self.env(), cwd=self.cwd, stdin=subprocess.DEVNULL,
                                        stdout=out, stderr=err, timeout=timeout)
                err.seek(0)
                errors = err.read()
            self.log_errors(errors)
            return result.returncode, errors, result
        result = winestart.start_retried(start)[2]
        if check and result.returncode != 0:
            raise DeviceError("%s failed with exit code %d%s" % (
                os.path.basename(args[0]), result.returncode,
                (": " + result.stdout.decode("utf-8", "replace").strip()) if capture else ""))
        return result

    def start(self, *args, stdin=subprocess.DEVNULL, stdout=None, stderr=None):
        """Starts a Windows program without waiting for it; output and error output go to the log
        unless given."""
        return subprocess.Popen([WINE] + list(args), env=self.env(), cwd=self.cwd, stdin=stdin,
                                stdout=self.log() if stdout is None else stdout,
                                stderr=self.log() if stderr is None else stderr)

    def launch(self, *args, stdout=None):
        """Starts a Windows program without waiting for it, as start does, and starts it again
        when Wine's loader could not (see StartedProgram); output goes to the log unless given."""
        stops = self._stops

        def start(errors):
            return subprocess.Popen([WINE] + list(args), env=self.env(), cwd=self.cwd, stdin=subprocess.DEVNULL,
                                    stdout=self.log() if stdout is None else stdout, stderr=errors)
        return StartedProgram(start, self.log_errors, lambda: self._stops == stops)

    def keep_server(self):
        """Starts the prefix's wineserver, if it is not running, to stay until it is stopped."""
        subprocess.run([WINESERVER, "-p"], env=self.env(), stdin=subprocess.DEVNULL, stdout=self.log(),
                       stderr=self.log())

    def stop_server(self):
        """wineserver -k ends every process of the prefix and writes the registry to disk."""
        self._stops += 1
        subprocess.run([WINESERVER, "-k"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


class StartedProgram:
    """A program started in the background, told by its windows and its exit code: what
    subprocess.Popen offers of it, with a start that Wine's loader could not make made again
    when it is found ended (winestart) while may_start_again() holds. Its error output goes to
    log(bytes) once it has ended."""

    def __init__(self, start, log, may_start_again):
        self._start = start
        self._log = log
        self._may_start_again = may_start_again
        self._attempts = 0
        self._finished = False
        self._launch()

    def _launch(self):
        self._errors = tempfile.TemporaryFile()
        self._proc = self._start(self._errors)
        self._attempts += 1

    @property
    def pid(self):
        return self._proc.pid

    @property
    def returncode(self):
        return self._proc.returncode

    @property
    def stdout(self):
        return self._proc.stdout

    def first_line(self, seconds):
        """The first line the program writes to its output, a pipe, within seconds; empty when
        it ended or the time ran out first. One found never started meanwhile is started again
        and its line read from then."""
        deadline = time.monotonic() + seconds
        while True:
            out = self._proc.stdout
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([out], [], [], left)[0]:
                return b""
            line = out.readline()
            if line:
                return line
            # The end of its output: it has ended or is ending, unless it is started again.
            while self._proc.stdout is out and self.poll() is None and time.monotonic() < deadline:
                time.sleep(0.05)
            if self._proc.stdout is out:
                return b""
            out.close()

    def _ended(self, code):
        """Whether the program has ended for good: one that never started is started again."""
        if self._finished:
            return True
        self._errors.seek(0)
        errors = self._errors.read()
        self._errors.close()
        if self._attempts < winestart.START_ATTEMPTS and winestart.never_started(code, errors) \
                and self._may_start_again():
            self._launch()
            return False
        self._log(errors)
        self._finished = True
        return True

    def poll(self):
        while True:
            code = self._proc.poll()
            if code is None or self._ended(code):
                return code

    def wait(self, timeout=None):
        deadline = None if timeout is None else time.monotonic() + timeout
        while True:
            code = self._proc.wait(None if deadline is None else max(0.0, deadline - time.monotonic()))
            if self._ended(code):
                return code

    def terminate(self):
        self._proc.terminate()

    def kill(self):
        self._proc.kill()
