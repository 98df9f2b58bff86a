#!/usr/bin/env python3
"""The Linux program's inventory of the machine it runs on, checked against what the
system's own tools say: the host name, the processor, the memory, the disks, the network
interfaces, the processes and the installed packages; then a second run finds a process
started between the two as a new item of the raw recent changes.

    live_linux.py FENNOCK
"""
import html
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import report_tools  # noqa: E402
from report_tools import check, heading, label_value, section_body  # noqa: E402

FENNOCK = sys.argv[1]

# What has no meaning on Linux and so is no part of a Linux report.
WINDOWS_ONLY = ("Service Pack", "System Directory", "Registry Size", "Registry Max Size",
                "Installed Patches via Inventory", "Installed Windows Components/Features",
                "(Physical Disk)", "( slots)", "as administrator", "0.00Hz")
LINUX_ROWS = ("Kernel", "Init System", "Virtualization", "Firmware Type", "Secure Boot", "TPM",
              "Block Devices", "USB Devices")


def run(env, out):
    done = subprocess.run([FENNOCK, "--silent", "--path", out], env=env, capture_output=True,
                          timeout=300)
    path = os.path.join(out, "inventory.html")
    check("a silent live run exits 0 (%d)" % done.returncode, done.returncode == 0)
    check("and prints the report's path", done.stdout.decode().strip() == path)
    with open(path, "rb") as f:
        return f.read().decode("utf-8", "replace").replace("\r\n", "\n")


def format_bytes(x):
    for unit, size in (("TB", 2 ** 40), ("GB", 2 ** 30), ("MB", 2 ** 20), ("kb", 1024)):
        if x >= size:
            return "%.2f%s" % (x / size, unit)
    return "%.2fb" % x


def tool(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=60).stdout


def installed_packages():
    out = tool("dpkg-query", "-W", "-f", "${db:Status-Status}\n")
    return sum(1 for line in out.splitlines() if line == "installed")


def meminfo(key):
    with open("/proc/meminfo") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def interfaces():
    names = []
    for name in sorted(os.listdir("/sys/class/net")):
        if name == "lo":
            continue
        try:
            with open("/sys/class/net/%s/operstate" % name) as f:
                state = f.read().strip()
            with open("/sys/class/net/%s/flags" % name) as f:
                up = int(f.read(), 16) & 1
        except OSError:
            continue
        addresses = tool("ip", "-o", "addr", "show", "dev", name) if shutil.which("ip") else "x"
        if up and state not in ("down", "lowerlayerdown", "notpresent") and addresses.strip():
            names.append(name)
    return names


def main():
    work = tempfile.mkdtemp(prefix="fennock-live-")
    env = dict(os.environ, XDG_DATA_HOME=os.path.join(work, "data"), TMPDIR=work,
               XDG_RUNTIME_DIR=work, XDG_CONFIG_HOME=os.path.join(work, "config"))
    out = os.path.join(work, "out")
    page = run(env, out)
    summary = section_body(page, 1)
    # A run whose session holds the platform's facts writes the report in Linux terms.
    linux = '<body class="linuxReport">' in page

    host = tool("hostname").strip()
    check("the summary names this host (%s)" % host, label_value(summary, "Name") == html.escape(host))
    model = ""
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    processors = label_value(summary, "Processors") or ""
    if model:
        check("the summary names the processor (%s)" % model, html.escape(model) in processors)
    cores = re.search(r"CPU Core Count: (\d+)", processors)
    online = os.cpu_count() or 1
    check("the core count is at most the online CPUs (%s)" % (cores.group(1) if cores else None),
          cores is not None and 1 <= int(cores.group(1)) <= online)
    total = format_bytes(meminfo("MemTotal") * 1024)
    check("the memory total is /proc/meminfo's (%s)" % total,
          label_value(summary, "RAM Total") == total)

    # Every real file system df lists is a drive of the summary.
    df = tool("df", "-P", "-x", "tmpfs", "-x", "devtmpfs", "-x", "squashfs", "-x", "overlay")
    mounts = [line.split()[-1] for line in df.splitlines()[1:] if line.split()]
    mounts = [m for m in mounts if not m.startswith(("/dev", "/sys", "/proc", "/run"))]
    check("df lists / (%s)" % mounts, "/" in mounts)
    for mount in mounts:
        check("the disk %s is in the summary" % mount,
              ("%s %s " % ("Mount" if linux else "Drive", html.escape(mount))) in summary)

    if linux:
        for text in WINDOWS_ONLY:
            check("no Windows-only %r in the Linux report" % text, text not in page)
        hardware = (section_body(page, 2) or "") + (section_body(page, 5) or "")
        for label in LINUX_ROWS:
            check("the Linux report shows %s" % label, label_value(hardware, label) is not None)
    else:
        print("live_linux: the session holds no Linux platform facts: Linux terms not checked")

    network = section_body(page, 4) or ""
    for name in interfaces():
        listed = re.search(r">\d+\) [^<]*\b%s\b[^<]*:<" % re.escape(name), network)
        check("the network interface %s is listed" % name, listed is not None)
    processes = heading(page, 8) or ""
    count = re.fullmatch(r"Running Processes \((\d+)\)", processes)
    check("processes are listed (%s)" % processes, count is not None and int(count.group(1)) > 5)
    programs = heading(page, 6) or ""
    installed = installed_packages()
    check("every installed package is listed once (%s, dpkg: %d)" % (programs, installed),
          programs == "Installed Programs (%d)" % installed)
    caption = label_value(summary, "OS Name") or ""
    machine64 = os.uname().machine in ("x86_64", "aarch64", "ppc64le", "ppc64", "s390x", "riscv64")
    check("the caption is tagged with the machine's architecture (%s)" % caption,
          caption.endswith(" x64" if machine64 else " x86"))

    # A distinctive process between two runs is a new item of the second.
    probe_name = "fennock-probe-%d" % os.getpid()
    probe_path = os.path.join(work, probe_name)
    shutil.copy("/bin/sleep", probe_path)
    probe = subprocess.Popen([probe_path, "600"])
    try:
        second = run(env, out)
    finally:
        probe.send_signal(signal.SIGTERM)
        probe.wait(timeout=30)
    raw = section_body(second, 12) or ""
    check("the raw recent changes hold the new process",
          re.search(r'add\.gif".*?%s' % re.escape(probe_name), raw, re.S) is not None)

    shutil.rmtree(work, ignore_errors=True)
    print("live_linux: %d failure(s)" % report_tools.failures)
    return 1 if report_tools.failures else 0


if __name__ == "__main__":
    sys.exit(main())
