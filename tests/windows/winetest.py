"""What the Wine tests of the Windows programs share.

The Windows programs of the cross-build run under Wine (cmake/wine-run, in a
prefix inside the build folder) against the Linux simulator of the Linux
build, on 127.0.0.1 only. A failed check ends the test with a message that
says what was run, what was expected and what came back.
"""

import argparse
import os
import signal
import subprocess
import sys
from pathlib import Path

STOP_TIMEOUT = 30
RUN_TIMEOUT = 120


def fail(message):
    sys.exit(f"{Path(sys.argv[0]).name}: {message}")


def arguments(description, *extra):
    """The options every test takes, and `extra` option names of its own."""
    parser = argparse.ArgumentParser(description=description)
    for name in ("--wine-run", "--prefix", "--simulator", "--program", "--work", *extra):
        parser.add_argument(name, required=True)
    args = parser.parse_args()
    if not os.access(args.simulator, os.X_OK):
        fail(f"no simulator at {args.simulator}: build the Linux tree first, or set ORVANE_HOST_TOOLS to the "
             "folder of the Linux build")
    Path(args.work).mkdir(parents=True, exist_ok=True)
    return args


def shown(result):
    return f"status {result.returncode}\n--- output:\n{result.stdout}--- errors:\n{result.stderr}"


def run_windows(args, *words, stdin=None, environment=None):
    """Runs the Windows program args.program with `words` under Wine; its
    output with Windows line ends made plain."""
    command = [args.wine_run, args.prefix, args.program, *words]
    result = subprocess.run(command, input=stdin, capture_output=True, text=True, timeout=RUN_TIMEOUT,
                            env=dict(os.environ, **(environment or {})))
    result.stdout = result.stdout.replace("\r\n", "\n")
    result.stderr = result.stderr.replace("\r\n", "\n")
    return result


def expect_output(result, what, expected):
    """The program ended with status 0 and printed a line that holds
    `expected`."""
    if result.returncode != 0 or not any(expected in line for line in result.stdout.splitlines()):
        fail(f"{what}: expected status 0 and a line with '{expected}', got {shown(result)}")


def stop_gracefully(process, what):
    """Ends `process` as Ctrl+C does and checks that it ended by itself with
    status 0; what it printed still unread."""
    process.send_signal(signal.SIGINT)
    try:
        rest, _ = process.communicate(timeout=STOP_TIMEOUT)
    except subprocess.TimeoutExpired:
        process.kill()
        rest, _ = process.communicate()
        fail(f"{what} did not end within {STOP_TIMEOUT} s of Ctrl+C; it printed:\n{rest}")
    if process.returncode != 0:
        fail(f"{what} ended with status {process.returncode} after Ctrl+C; it printed:\n{rest}")
    return rest


def served_line(process, prefix, what):
    """Reads the output of `process` up to the line that starts with `prefix`,
    and gives the rest of that line."""
    for line in process.stdout:
        if line.startswith(prefix):
            return line[len(prefix):].strip()
    process.wait()
    fail(f"{what} ended with status {process.returncode} before it printed '{prefix}'")


class Simulator:
    """The Linux orvane-sim serving the network link on a free port of
    127.0.0.1, keeping its device in the state file `state`."""

    def __init__(self, program, state):
        Path(state).unlink(missing_ok=True)
        self.state = state
        self.process = subprocess.Popen([program, "--listen", "0", "--state", state], stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        self.address = served_line(self.process, "orvane-sim: network ", "the simulator")

    def stop(self):
        """Stops the simulator, which saves its state file, and gives the
        file's bytes."""
        stop_gracefully(self.process, "the simulator")
        return Path(self.state).read_bytes()

    def __enter__(self):
        return self

    def __exit__(self, *failure):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
