#!/usr/bin/env python3
"""The Linux program's inventory of the machine it runs on, checked against what the
system's own tools say: the host name, the processor, the memory, the disks, the network
interfaces with their gateways and DNS servers, the block devices, the processes and the
installed packages, in Linux terms; then a second run finds a process started and a memory
file system mounted between the two as new items of the raw recent changes.

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


def cpu_speed():
    """The first processor's top speed as the report writes it: cpufreq's, else cpuinfo's."""
    try:
        with open("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq") as f:
            mhz = int(f.read()) // 1000
    except (OSError, ValueError):
        with open("/proc/cpuinfo") as f:
            found = re.search(r"^cpu MHz\s*:\s*([\d.]+)", f.read(), re.M)
        if not found:
            return None
        mhz = round(float(found.group(1)))
    return "%.2fGHz" % (mhz / 1000) if mhz >= 1000 else "%.2fMHz" % mhz


def block_devices():
    out = tool("lsblk", "-dnbo", "NAME,SIZE,TYPE")
    return [(name, int(size)) for name, size, kind in (line.split() for line in out.splitlines())
            if kind == "disk" and int(size) > 0 and not name.startswith(("zram", "loop", "ram"))]


def name_servers():
    def servers(path):
        try:
            with open(path) as f:
                return re.findall(r"^nameserver\s+(\S+)", f.read(), re.M)
        except OSError:
            return []
    found = servers("/etc/resolv.conf")
    return servers("/run/systemd/resolve/resolv.conf") if found == ["127.0.0.53"] else found


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
    linux = '<body class="linuxReport">' in page
    check("the report is in Linux terms", linux)

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

    # The root file system as full as df says, within the rounding of a point.
    use = re.search(r"(\d+)%", tool("df", "-P", "/").splitlines()[-1])
    full = re.search(r"Mount / [^\[]*\[ ([\d.]+)% Full \]", summary)
    check("/ is as full as df says (%s, df %s%%)" % (full and full.group(1), use and use.group(1)),
          full is not None and use is not None and abs(float(full.group(1)) - int(use.group(1))) <= 1)

    for text in WINDOWS_ONLY:
        check("no Windows-only %r in the Linux report" % text, text not in page)
    hardware = (section_body(page, 2) or "") + (section_body(page, 5) or "")
    for label in LINUX_ROWS:
        check("the Linux report shows %s" % label, label_value(hardware, label) is not None)
    speed = cpu_speed()
    if speed:
        check("the processor speed is the system's (%s)" % speed,
              (">Processor</td><td>%s " % speed) in page)
    blocks = label_value(hardware, "Block Devices") or ""
    for name, size in block_devices():
        check("the disk %s is a block device of %s" % (name, format_bytes(size)),
              ("%s: Size: %s" % (name, format_bytes(size))) in blocks)

    network = section_body(page, 4) or ""
    for name in interfaces():
        listed = re.search(r">\d+\) [^<]*\b%s\b[^<]*:<" % re.escape(name), network)
        check("the network interface %s is listed" % name, listed is not None)
    for gateway in re.findall(r"default via (\S+)", tool("ip", "route", "show", "default")):
        check("the default gateway %s is shown" % gateway, re.search(r"\[Gateway&nbsp;[^\]]*\b%s\b" % re.escape(gateway), network))
    for server in name_servers():
        check("the DNS server %s is shown" % server, re.search(r"\[DNS&nbsp;[^\]]*\b%s\b" % re.escape(server), network))
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
    # Mounting takes root; elsewhere only the process is looked for.
    memory_disk = os.path.join(work, "fennock-ramdisk")
    os.mkdir(memory_disk)
    mounted = os.geteuid() == 0 and subprocess.run(
        ["mount", "-t", "tmpfs", "-o", "size=1m", "fennock-probe", memory_disk],
        capture_output=True).returncode == 0
    try:
        second = run(env, out)
    finally:
        probe.send_signal(signal.SIGTERM)
        probe.wait(timeout=30)
        if mounted:
            subprocess.run(["umount", memory_disk])
    raw = section_body(second, 12) or ""
    check("the raw recent changes hold the new process",
          re.search(r'add\.gif".*?%s' % re.escape(probe_name), raw, re.S) is not None)
    if mounted:
        check("and the memory file system mounted between the runs",
              re.search(r'add\.gif".*?%s' % re.escape(memory_disk), raw, re.S) is not None)

    shutil.rmtree(work, ignore_errors=True)
    print("live_linux: %d failure(s)" % report_tools.failures)
    return 1 if report_tools.failures else 0


if __name__ == "__main__":
    sys.exit(main())
