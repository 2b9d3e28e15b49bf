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
import threading
from pathlib import Path

START_WAIT = 10
STOP_TIMEOUT = 30
RUN_TIMEOUT = 120


def fail(message):
    sys.exit(f"{Path(sys.argv[0]).name}: {message}")


def find_simulator(host_tools):
    """orvane-sim of the Linux build: `host_tools` is its folder of programs,
    or the build folder above it."""
    for path in (Path(host_tools) / "orvane-sim", Path(host_tools) / "apps/orvane-sim"):
        if os.access(path, os.X_OK):
            return str(path)
    fail(f"no orvane-sim in {host_tools}: build the Linux tree first, or set ORVANE_HOST_TOOLS to the folder of "
         "the Linux build's programs")


def arguments(description, *extra):
    """The options every test takes, and `extra` option names of its own."""
    parser = argparse.ArgumentParser(description=description)
    for name in ("--wine-run", "--prefix", "--host-tools", "--program", "--work", *extra):
        parser.add_argument(name, required=True)
    args = parser.parse_args()
    args.simulator = find_simulator(args.host_tools)
    Path(args.work).mkdir(parents=True, exist_ok=True)
    return args


def map_com_port(wine_run, prefix, com, device):
    """Makes COMn of the Wine prefix `prefix` the terminal `device` (the
    simulator's pseudo-terminal), replacing an earlier mapping: Windows
    programs started in that prefix afterwards open `device` as \\.\COMn and
    find COMn in the system's map of serial ports. Wine fills that map from
    its port settings when a session of the prefix starts, so this waits
    until the prefix's session has ended: each test that maps a COM port
    needs a prefix of its own. `wine_run` (cmake/wine-run) makes the prefix
    first when it is new."""
    subprocess.run([wine_run, prefix, "reg", "add", r"HKLM\Software\Wine\Ports", "/v", com, "/t", "REG_SZ", "/d",
                    device, "/f"], check=True, stdout=subprocess.DEVNULL, timeout=RUN_TIMEOUT)
    subprocess.run(["/usr/lib/wine/wineserver", "-w"], check=True, env=dict(os.environ, WINEPREFIX=prefix),
                   timeout=RUN_TIMEOUT)
    link = Path(prefix) / "dosdevices" / com.lower()
    link.unlink(missing_ok=True)
    link.symlink_to(device)


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


class Simulator:
    """The Linux orvane-sim with `options`, serving the network link on a
    free port of 127.0.0.1 (`address`) and, with `serial`, an RS-485 bus on
    a pseudo-terminal (`terminal`)."""

    def __init__(self, program, *options, serial=False):
        self.process = subprocess.Popen([program, "--listen", "127.0.0.1:0", *(["--serial"] if serial else []),
                                         *options], stdout=subprocess.PIPE, text=True)
        self.address = self.terminal = None
        # A simulator that says nothing is ended, which ends the reading.
        silent = threading.Timer(START_WAIT, self.process.kill)
        silent.start()
        for line in self.process.stdout:
            words = line.split()
            if len(words) == 3 and words[:2] == ["orvane-sim:", "network"]:
                self.address = words[2]
            elif len(words) == 3 and words[:2] == ["orvane-sim:", "serial"]:
                self.terminal = words[2]
            if self.address and (self.terminal or not serial):
                break
        silent.cancel()
        if not self.address or (serial and not self.terminal):
            self.process.kill()
            fail(f"the simulator did not serve its links within {START_WAIT} s")

    def stop(self):
        """Stops the simulator as Ctrl+C does, so that it saves its state
        file; what it printed meanwhile."""
        return stop_gracefully(self.process, "the simulator")

    def __enter__(self):
        return self

    def __exit__(self, *failure):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
