#!/usr/bin/env python3
"""The Windows 11 verdict of the described machines, read from the HTML report the Linux
program writes for each: the XP desktop and the Windows 7 laptop are red with their reasons,
the Windows 10 desktop green, the Windows 10 laptop red for its TPM and processor, and the
desktop without administrator rights yellow for the TPM it cannot read. A program a user
installed for himself is listed once, with his name, and a program of both registry views
once. A missing machine, or one lacking the facts a check reads, is a failure.

    readiness_linux.py FENNOCK MACHINES_FOLDER
"""
import html
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import report_tools  # noqa: E402
from report_tools import check, esc  # noqa: E402

FENNOCK, MACHINES = sys.argv[1], sys.argv[2]
TPM_NAMESPACE = "root\\cimv2\\security\\microsofttpm"
UNINSTALL = "\\software\\microsoft\\windows\\currentversion\\uninstall\\"
PROFILE_LIST = "hklm\\software\\microsoft\\windows nt\\currentversion\\profilelist\\"


def load(name):
    path = os.path.join(MACHINES, name + ".json")
    if not check("%s is shipped" % name, os.path.exists(path)):
        return None
    with open(path, encoding="utf-8-sig") as f:
        return json.load(f)


def lower_keys(obj):
    return {k.lower(): v for k, v in obj.items()}


def processor(machine):
    wmi = lower_keys(machine.get("wmi", {}))
    items = wmi.get("win32_processor", [])
    return lower_keys(items[0]) if items else {}


def has_tpm_namespace(machine):
    return TPM_NAMESPACE in (k.lower() for k in machine.get("namespaces", {}))


def needs(name, machine, facts):
    """Whether the description carries the facts the checks read."""
    missing = [what for what, present in facts if not present(machine)]
    if not facts:
        return True
    return check("%s: its description has %s" % (name, " and ".join(w for w, _ in facts)),
                 not missing)


HAS_CAPTION = ("processor caption", lambda m: bool(processor(m).get("caption")))
HAS_TPM = ("TPM namespace", has_tpm_namespace)


def report_of(name, machine):
    """The HTML report of a run on a copy of the description, in fresh private folders."""
    work = tempfile.mkdtemp(prefix=name + "-", dir=WORK)
    env = dict(os.environ)
    for var in ("XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "TMPDIR"):
        folder = os.path.join(work, var.lower())
        os.mkdir(folder, 0o700)
        env[var] = folder
    path = os.path.join(work, name + ".json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(machine, f, ensure_ascii=False)
    out = os.path.join(work, "out")
    done = subprocess.run([FENNOCK, "--silent", "--machine", path, "--path", out], env=env,
                          capture_output=True, timeout=120)
    check("%s: silent run exits 0 (%d)" % (name, done.returncode), done.returncode == 0)
    try:
        with open(os.path.join(out, "inventory.html"), "rb") as f:
            return report_tools.text_of(f.read())
    except OSError:
        check("%s: report written" % name, False)
        return ""


def light(page, release):
    """The light's colour and its status lines."""
    found = re.search(r'<img class="compatLight" src="[^"]*?(\w+)\.gif"[^>]*? title="([^"]*)"'
                      r'[^>]*> <b>%s</b>' % re.escape(release), page)
    if not found:
        return None, []
    return found.group(1), [line for line in html.unescape(found.group(2)).split("\r") if line]


def expect_light(name, page, color, reasons, only=False):
    """`reasons`: (what, test of a status line) that some line must pass; `only`: every line
    that names a failure is one of them."""
    shown, lines = light(page, "Windows 11")
    check("%s: Windows 11 light %s (%s: %s)" % (name, color, shown, lines), shown == color)
    for what, test in reasons:
        check("%s: a status line %s" % (name, what), any(test(line) for line in lines))
    if only:
        failing = [line for line in lines if "required" in line or "not supported" in line]
        check("%s: no other failure (%s)" % (name, failing),
              all(any(test(line) for _, test in reasons) for line in failing))


def starts(prefix):
    return lambda line: line.startswith(prefix)


PROCESSOR = ("rejects the processor", lambda line: line == "64-bit processor required" or
             line.startswith("Processor generation not supported"))
GENERATION = ("rejects the processor generation", starts("Processor generation not supported"))
NO_TPM2 = ("asks for TPM 2.0", starts("TPM 2.0 required"))
TPM12 = ("names TPM 1.2", lambda line: line == "TPM 2.0 required (this computer has TPM 1.2)")
BIOS = ("rejects the BIOS", lambda line: line == "UEFI firmware required (this computer has BIOS)")
TPM_UNKNOWN = ("names the unknown TPM",
               lambda line: line == "TPM unknown: reading it takes administrator rights")


def user_programs(machine):
    """(DisplayName, DisplayVersion, user) of each program under a user's uninstall key."""
    registry = {k.lower().replace("hkey_users\\", "hku\\").replace("hkey_local_machine\\",
                                                                   "hklm\\"): lower_keys(v)
                for k, v in machine.get("registry", {}).items()}
    programs = []
    for key, values in registry.items():
        if not key.startswith("hku\\") or UNINSTALL not in key:
            continue
        sid = key.split("\\")[1]
        if sid in (".default", "s-1-5-18", "s-1-5-19", "s-1-5-20") or sid.endswith("_classes"):
            continue
        name, version = values.get("displayname"), values.get("displayversion")
        if not isinstance(name, str) or not name:
            continue
        profile = registry.get(PROFILE_LIST + sid, {}).get("profileimagepath")
        if isinstance(profile, dict):
            profile = profile.get("expand")
        sid_text = next(k for k in machine["registry"] if k.lower().startswith(
            ("hku\\" + sid, "hkey_users\\" + sid))).split("\\")[1]
        user = profile.rstrip("\\").split("\\")[-1] if isinstance(profile, str) and profile \
            else sid_text
        programs.append((name, version if isinstance(version, str) else "", user))
    return programs


def expect_user_program(pages):
    for name, (machine, page) in pages.items():
        for program, version, user in user_programs(machine):
            row = esc(program) + (" (%s)" % esc(version) if version else "") + \
                " [for user %s]" % esc(user)
            count = page.count(">" + row + "<a")
            check("%s: %s listed once with its user (%d)" % (name, row, count), count == 1)
            return
    check("a described machine has a per-user program", False)


def expect_listed_once(pages, name, program):
    """A program of both the 32-bit and the 64-bit view, alike in name, version and maker."""
    page = pages[name][1] if name in pages else ""
    count = page.count(">" + esc(program) + " (")
    check("%s: %s, in both views, listed once (%d)" % (name, program, count), count == 1)


def main():
    pages = {}
    for name, facts, color, reasons, only in (
            ("xp-desktop", [], "red", [PROCESSOR, NO_TPM2, BIOS], False),
            # Its user is no administrator: the TPM cannot be read, and so is unknown.
            ("win7-laptop", [HAS_CAPTION, HAS_TPM], "red", [PROCESSOR, TPM_UNKNOWN, BIOS], False),
            ("win10-desktop", [], "green", [], False),
            ("win10-laptop", [], "red", [TPM12, GENERATION], True)):
        machine = load(name)
        if machine is None or not needs(name, machine, facts):
            continue
        page = report_of(name, machine)
        pages[name] = (machine, page)
        expect_light(name, page, color, reasons, only)

    desktop = load("win10-desktop")
    if desktop is not None:
        desktop.setdefault("host", {})["administrator"] = False
        desktop["namespaces"] = {k: v for k, v in desktop.get("namespaces", {}).items()
                                 if k.lower() != TPM_NAMESPACE}
        name = "win10-desktop without administrator rights"
        expect_light(name, report_of("win10-desktop-user", desktop), "yellow", [TPM_UNKNOWN],
                     True)

    expect_user_program(pages)
    expect_listed_once(pages, "win7-laptop", "Intel(R) Management Engine Components")
    print("readiness_linux: %d failure(s)" % report_tools.failures)
    return 1 if report_tools.failures else 0


if __name__ == "__main__":
    WORK = tempfile.mkdtemp(prefix="readiness-")
    try:
        sys.exit(main())
    finally:
        shutil.rmtree(WORK, ignore_errors=True)
