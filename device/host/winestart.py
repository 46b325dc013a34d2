"""A Windows program's start under Wine, made again when Wine's loader could not start it.

Now and then Wine's loader cannot place a new process's shared user data, whose address
something else took first (STATUS_CONFLICTING_ADDRESSES): the process ends with exit code 1
before any of its code has run, and only Wine's error channel of the virtual memory
(err+virtual) says why. Such a start is made again, as nothing was done; a program that ran and
failed is not. One in a few thousand starts, more under load.

The device host starts its programs through start_retried; tools/wine-run, CTest's runner of
the unit tests, through this file's entry:
    winestart.py WINE ARGS...
which runs WINE ARGS in the current directory and environment with the caller's input and
output, passes on the error output of the last start when it ends and exits with its exit code.
It needs nothing beyond os, so that it adds little to each test's start.
"""

import os
import sys

START_FAILURE = b"failed to map the shared user data"
START_ATTEMPTS = 3


def never_started(code, errors):
    """Whether a program that ended with this exit code and error output (bytes) never started."""
    return code == 1 and START_FAILURE in errors


def start_retried(start):
    """Calls start(), which starts a program once and gives (exit code, error output, ...), again
    while the program never started, at most START_ATTEMPTS times in all; gives what the last
    call gave."""
    for attempt in range(1, START_ATTEMPTS + 1):
        outcome = start()
        if attempt == START_ATTEMPTS or not never_started(outcome[0], outcome[1]):
            return outcome


def exit_status(wait_status):
    """The exit code a shell gives for a child's wait status: 128 + N for a signal N."""
    if os.WIFSIGNALED(wait_status):
        return 128 + os.WTERMSIG(wait_status)
    return os.WEXITSTATUS(wait_status)


def start_inherited(args):
    """Starts args once with the caller's input and output but its error output into memory:
    (exit code, error output). A file rather than a pipe, as Wine's services started on the way
    would inherit a pipe and hold it open."""
    errors = os.memfd_create("errors")
    try:
        try:
            pid = os.posix_spawnp(args[0], args, os.environ, file_actions=[(os.POSIX_SPAWN_DUP2, errors, 2)])
        except OSError as e:
            # As a shell says it: a program that cannot be run at all.
            return 127, ("%s: %s\n" % (args[0], e.strerror)).encode()
        status = exit_status(os.waitpid(pid, 0)[1])
        os.lseek(errors, 0, os.SEEK_SET)
        chunks = []
        while True:
            chunk = os.read(errors, 65536)
            if not chunk:
                return status, b"".join(chunks)
            chunks.append(chunk)
    finally:
        os.close(errors)


def main(args):
    status, errors = start_retried(lambda: start_inherited(args))
    sys.stderr.buffer.write(errors)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
