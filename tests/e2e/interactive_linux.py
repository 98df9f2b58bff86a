#!/usr/bin/env python3
"""The Linux program's interactive run, driven through a pseudo-terminal as a person would:
the licence question, the progress line, Ctrl-C during a run, the diagnostics' questions,
and the same run without a terminal.

    interactive_linux.py FENNOCK MACHINES_FOLDER
"""
import json
import os
import pty
import select
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time

FENNOCK, MACHINES = sys.argv[1], sys.argv[2]
failures = 0


def check(what, ok):
    global failures
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures += 1


class Terminal:
    """One run of the program on a pseudo-terminal; everything it writes is kept."""

    def __init__(self, args, env):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.execve(FENNOCK, [FENNOCK] + args, env)
        self.output = b""
        self.status = None

    def read_until(self, text, timeout=60):
        deadline = time.time() + timeout
        while text.encode() not in self.output:
            left = deadline - time.time()
            if left <= 0 or not self._read(left):
                return False
        return True

    def _read(self, timeout):
        ready, _, _ = select.select([self.fd], [], [], min(timeout, 1.0))
        if not ready:
            return self.alive()
        try:
            data = os.read(self.fd, 65536)
        except OSError:
            return False
        self.output += data
        return bool(data)

    def alive(self):
        if self.status is None:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                self.status = status
        return self.status is None

    def send(self, text):
        os.write(self.fd, text.encode())

    def wait(self, timeout=120):
        deadline = time.time() + timeout
        while self.alive() and time.time() < deadline:
            self._read(0.2)
        if self.alive():
            os.kill(self.pid, signal.SIGKILL)
            os.waitpid(self.pid, 0)
            return None
        while self._read(0.1):
            pass
        os.close(self.fd)
        return os.waitstatus_to_exitcode(self.status)

    def text(self):
        return self.output.decode("utf-8", "replace")


def wait_for_file(path, timeout=10):
    """The viewer runs on its own after the program has ended."""
    deadline = time.time() + timeout
    while not os.path.exists(path) and time.time() < deadline:
        time.sleep(0.05)
    time.sleep(0.1)
    return os.path.exists(path)


def sessions(data):
    db = sqlite3.connect(os.path.join(data, "fennock", "inventory.db"))
    try:
        return db.execute("SELECT id, status_type_id FROM session ORDER BY id").fetchall()
    finally:
        db.close()


def write_machine(folder, name, description):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="utf-8") as f:
        json.dump(description, f)
    return path


def main():
    work = tempfile.mkdtemp(prefix="fennock-interactive-")
    data, out, tmp, run = (os.path.join(work, d) for d in ("data", "out", "tmp", "run"))
    bin_folder = os.path.join(work, "bin")
    for folder in (tmp, run, bin_folder):
        os.makedirs(folder)
    # The viewer: a recorder in place of xdg-open, reached only with a display.
    viewer_log = os.path.join(work, "viewer.log")
    with open(os.path.join(bin_folder, "xdg-open"), "w") as f:
        f.write("#!/bin/sh\necho \"$1\" >> '%s'\n" % viewer_log)
    os.chmod(os.path.join(bin_folder, "xdg-open"), 0o755)
    env = {"PATH": bin_folder + ":/usr/bin:/bin", "HOME": work, "XDG_DATA_HOME": data,
           "TMPDIR": tmp, "XDG_RUNTIME_DIR": run, "TERM": "xterm", "DISPLAY": ":fennock-test",
           "LANG": "C.UTF-8"}
    laptop = os.path.join(MACHINES, "win7-laptop.json")
    args = ["--machine", laptop, "--path", out]
    ini = os.path.join(data, "fennock", "inventory.ini")
    report = os.path.join(out, "inventory.html")

    # The licence: anything but yes refuses.
    t = Terminal(args, env)
    check("the licence is shown as text", t.read_until("Fennock Licence Agreement"))
    check("then the question", t.read_until("Accept the licence agreement? [y/N]"))
    check("without RTF markup", "\\par" not in t.text() and "{\\rtf" not in t.text())
    t.send("n\r")
    check("n refuses: exit 2", t.wait() == 2)
    check("nothing recorded", not os.path.exists(ini))
    check("no report", not os.path.exists(report))

    # Accepted: the version is recorded and the run goes to the end with a progress line.
    t = Terminal(args, env)
    t.read_until("[y/N]")
    t.send("yes\r")
    code = t.wait()
    check("y accepts and the run finishes: exit 0", code == 0)
    check("the version is recorded", os.path.exists(ini) and
          open(ini).read() == "Version=1.0.32278\n")
    check("one progress line redrawn in place", "\r\033[KNow gathering Process information..."
          in t.text())
    check("with position and percentage", " 31/31 100%" in t.text())
    check("the report's path is printed", report in t.text())
    check("the report is written", os.path.exists(report))
    check("and opened with xdg-open", wait_for_file(viewer_log) and
          open(viewer_log).read().strip() == report)
    kept = sessions(data)
    check("one kept session", len(kept) == 1 and kept[0][1] == 2)

    # Ctrl-C during a run that lasts: a machine of many processes.
    big = write_machine(work, "big.json", {
        "host": {"windowsVersion": "6.1"},
        "wmi": {"Win32_Process": [{"Name": "p%d.exe" % i, "CommandLine": "p%d.exe -x %d" % (i, i),
                                   "ExecutablePath": "C:\\p%d.exe" % i} for i in range(60000)]}})
    os.remove(viewer_log)
    t = Terminal(["--machine", big, "--path", out], env)
    check("no licence question once accepted", t.read_until("Now gathering Process information"))
    t.send("\x03")
    check("Ctrl-C says it cancels", t.read_until("Now canceling inventory session..."))
    t.send("\x03")  # ignored until the run ends
    code = t.wait()
    check("a cancelled run exits 130", code == 130)
    check("the previous base is kept", sessions(data) == kept)
    check("no viewer after a cancel", not os.path.exists(viewer_log))
    check("no later query started", "Now gathering BIOS information" not in t.text())

    # The diagnostics ask on the terminal: a full list of startup commands with a missing
    # Startup folder entry.
    # Every core section has its item, so that only this question comes.
    core = {"Win32_Process": [{"Name": "a.exe", "CommandLine": "a"}],
            "Win32_BIOS": [{"Name": "BIOS"}], "Win32_OperatingSystem": [{"Caption": "Windows 7"}],
            "Win32_ComputerSystem": [{"Manufacturer": "Maker"}],
            "Win32_MotherboardDevice": [{"PrimaryBusType": "PCI"}],
            "Win32_VideoController": [{"Name": "Video"}], "Win32_Registry": [{"Caption": "Registry"}],
            "Win32_LogicalDisk": [{"DeviceID": "C:"}], "Win32_PhysicalMemory": [{"Tag": "Memory 0"}]}
    startup = write_machine(work, "startup.json", {
        "host": {"windowsVersion": "6.1"},
        "wmi": dict(core, Win32_StartupCommand=[{"Name": "s%d" % i, "Command": "c%d" % i}
                                                for i in range(250)])})
    t = Terminal(["--machine", startup, "--path", out], env)
    check("the Startup question is asked", t.read_until("[y/n/c]"))
    check("in its own words", "An error was detected in the registry" in t.text())
    t.send("n\r")
    check("No goes on: exit 0", t.wait() == 0)
    check("only that question", t.text().count("[y/n/c]") == 1)
    kept = sessions(data)
    check("and its session becomes the base", len(kept) == 1 and kept[0][1] == 2)

    # A machine without WMI: every WMI section is missing.
    no_wmi = write_machine(work, "nowmi.json", {"host": {"windowsVersion": "6.1"}})
    t = Terminal(["--machine", no_wmi, "--path", out], env)
    check("the WMI question is asked", t.read_until("[y/n/c]") and
          "An error was detected in the WMI repository" in t.text())
    t.send("y\r")
    code = t.wait()
    check("Yes on Linux explains there is nothing to repair", "nothing to repair" in t.text())
    check("and ends the run as cancelled", code == 130)
    check("Yes keeps the base", sessions(data) == kept)

    # Without a terminal: plain lines on stderr, the question answered "No" with a line
    # that names the problem.
    done = subprocess.run([FENNOCK, "--machine", startup, "--path", out], env=env,
                          stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    err = done.stderr.decode("utf-8", "replace")
    check("a run without a terminal finishes: exit 0", done.returncode == 0)
    check("one plain line per status", "Now gathering Process information...\n" in err
          and "\r" not in err)
    check("the problem found is named", "Startup folder entry" in err and "as if No" in err)
    check("the path is printed on stdout", done.stdout.decode().strip() == report)

    subprocess.run(["rm", "-rf", work])
    print("interactive_linux: %d failure(s)" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
