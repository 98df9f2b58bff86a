#!/usr/bin/env python3
"""Helpers of the report end-to-end tests: edits a described machine between two runs and
checks the HTML report a run wrote. Every check prints "ok   ..." or "FAIL ..."; the exit
status is 1 when any check failed.

    report_tools.py change MACHINE EXPECTED.json
    report_tools.py common REPORT
    report_tools.py first REPORT [--support-files] [--components MACHINE]
    report_tools.py second REPORT EXPECTED.json
    report_tools.py unchanged REPORT
    report_tools.py portable REPORT BASE_URL
    report_tools.py windows REPORT OS_CAPTION BIOS_NAME
"""

import html
import json
import os
import re
import sys

UNINSTALL_64 = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
SUBCOMPONENTS = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Setup\OC Manager\Subcomponents"
DISABLE_START = "<!-- Disable recent changes as no previous session exists"

SUPPORT_FILES = {
    "common.css": b"", "gray.gif": b"GIF8", "hd_20x20.gif": b"GIF8",
    "headerBGBlueGrad.png": b"\x89PNG", "help_green_20.gif": b"GIF8",
    "mirk.ico": b"\x00\x00\x01\x00", "navBarBG.png": b"\x89PNG",
    "header_inventory.gif": b"GIF8", "RoundRectBottomLeft.gif": b"GIF8",
    "RoundRectBottomRight.gif": b"GIF8", "RoundRectTopLeft.gif": b"GIF8",
    "RoundRectTopRight.gif": b"GIF8", "blue_arrow.gif": b"GIF8",
    "externalLink.png": b"\x89PNG", "add.gif": b"GIF8", "del.gif": b"GIF8",
    "ref.gif": b"GIF8", "red.gif": b"GIF8", "green.gif": b"GIF8", "yellow.gif": b"GIF8",
}

# Texts that would run script if the report inserted them as markup. The page's own
# scripts never set window.__injected, so the browser test can tell.
HOSTILE_PROGRAM = 'Probe <img src=x onerror="window.__injected=1;alert(1)"> & Sons'
HOSTILE_SERVICE = "<script>window.__injected=2;alert(2)</script>Renamed Service"

failures = 0


def check(what, condition):
    global failures
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures += 1
    return condition


def esc(text):
    """The report's escaping of inventory text."""
    return html.escape(text, quote=True).replace("&#x27;", "&#39;").replace("@", "&#64;")


def program_key(values):
    return ",".join(values[n] for n in ("DisplayName", "DisplayVersion", "Publisher")
                    if isinstance(values.get(n), str) and values[n])


# ---- the machine edit ----

def change(machine_path, expected_path):
    """Adds a program, removes another (64-bit view), cuts a local disk's free space to two
    thirds and renames a service; writes what the second report must list."""
    with open(machine_path, encoding="utf-8-sig") as f:
        machine = json.load(f)
    registry = machine["registry"]
    prefix = UNINSTALL_64 + "\\"
    subkeys = [k for k in registry if k.startswith(prefix) and "\\" not in k[len(prefix):]]
    keys = [program_key(registry[k]) for k in subkeys]
    hotfix_texts = {v for qfe in machine["wmi"].get("Win32_QuickFixEngineering", [])
                    for v in qfe.values() if isinstance(v, str)}

    def removable(k):
        v = registry[k]
        key = program_key(v)
        return (all(isinstance(v.get(n), str) and v[n].isascii() and v[n]
                    for n in ("DisplayName", "DisplayVersion", "Publisher"))
                and keys.count(key) == 1 and v["DisplayName"] not in hotfix_texts
                and not re.search(r"kb\d{5}", key, re.I)
                and not any(o.startswith(k + "\\") for o in registry))

    gone = next(k for k in subkeys if removable(k))
    removed = program_key(registry.pop(gone))
    added_values = {"DisplayName": HOSTILE_PROGRAM, "DisplayVersion": "2.0",
                    "Publisher": "Probe Ltd", "InstallDate": "20140301"}
    registry[prefix + "FennockProbe"] = added_values
    added = program_key(added_values)

    disk = next(d for d in machine["wmi"]["Win32_LogicalDisk"]
                if d.get("DriveType") == {"uint32": 3} and d.get("FreeSpace"))
    old_free = disk["FreeSpace"]
    disk["FreeSpace"] = str(int(old_free) * 2 // 3)

    names = [s["displayName"] for s in machine["services"]]
    service = next(s for s in machine["services"]
                   if s["status"][0] in (16, 32) and names.count(s["displayName"]) == 1
                   and s["displayName"].isascii())
    old_name = service["displayName"]
    service["displayName"] = HOSTILE_SERVICE

    with open(machine_path, "w", encoding="utf-8") as f:
        json.dump(machine, f, ensure_ascii=False, indent=1)
    with open(expected_path, "w", encoding="utf-8") as f:
        json.dump({"added": added, "removed": removed, "disk": disk["DeviceID"],
                   "oldFree": old_free, "newFree": disk["FreeSpace"],
                   "oldService": old_name, "newService": service["displayName"]}, f)


# ---- reading the report ----

def read_report(path):
    with open(path, "rb") as f:
        data = f.read()
    check("report is not empty", len(data) > 0)
    return data


def text_of(data):
    return data.decode("utf-8", errors="replace").replace("\r\n", "\n")


def section_body(page, n):
    """The content of <tbody id="sectionN">, or None."""
    m = re.search(r'<tbody id="section%d"[^>]*>(.*?)</tbody>' % n, page, re.S)
    return m.group(1) if m else None


def heading(page, n):
    m = re.search(r"hideShowDetail\('section%d'\); return false;\"><td[^>]*>&gt;&nbsp;</td>"
                  r"<td colspan=\"2\">(.*?)</td></tr>" % n, page)
    return m.group(1) if m else None


def comment_spans(page, start):
    spans = []
    for m in re.finditer(re.escape(start), page):
        end = page.find("-->", m.end())
        spans.append((m.start(), len(page) if end < 0 else end + 3))
    return spans


def section_extent(page, n):
    """From the section's heading row to the end of its body."""
    head = page.find("hideShowDetail('section%d')" % n)
    body = page.find('<tbody id="section%d"' % n)
    if head < 0 or body < 0:
        return None
    return head, page.find("</tbody>", body) + len("</tbody>")


def inside(extent, spans):
    return extent is not None and any(a <= extent[0] and extent[1] <= b for a, b in spans)


LABEL_ROW = re.compile(r'<tr class="(rowHighlightData|rowData)"><td width="1%">&nbsp;&nbsp;</td>'
                       r'<td style="width: 150px; min-width: 100px;">(.*?)</td><td>(.*?)</td></tr>',
                       re.S)


def icon(kind):
    title = {"add": "new item", "del": "removed item", "ref": "changed item"}[kind]
    return '<img src="inventory_files/%s.gif" title="%s" border="0">\n' % (kind, title)


# ---- checks ----

def common(path):
    data = read_report(path)
    check("UTF-8 without byte-order mark", not data.startswith(b"\xef\xbb\xbf"))
    try:
        data.decode("utf-8")
        check("valid UTF-8", True)
    except UnicodeDecodeError as e:
        check("valid UTF-8 (%s)" % e, False)
    bare_lf = len(re.findall(rb"(?<!\r)\n", data))
    lone_cr = len(re.findall(rb"\r(?!\n)", data))
    check("every line ends with CR LF (%d bare LF, %d lone CR)" % (bare_lf, lone_cr),
          bare_lf == 0 and lone_cr == 0 and data.endswith(b"\r\n"))
    page = text_of(data)
    left = sorted(set(re.findall(r"@@__\w*", page)))
    check("no placeholder left %s" % left[:5], not left)
    check("page ends with </html>", page.rstrip().endswith("</html>"))
    # Only the template's own two script elements; hostile inventory text shows as text.
    check("two script elements (%d)" % page.count("<script"), page.count("<script") == 2)
    check("no unescaped <script>alert(1)</script>", "<script>alert(1)</script>" not in page)
    check("escaped <script>alert(1)</script> shown as text",
          "&lt;script&gt;alert(1)&lt;/script&gt;" in page)
    check("no inserted event handler", not re.search(r"<[^>]*\sonerror\s*=", page))
    for n in range(1, 11):
        check("section%d present" % n, section_body(page, n) is not None)
    check("section1 shown, the others hidden at load",
          '<tbody id="section1">' in page and
          all('<tbody id="section%d" style="display:none">' % n in page for n in range(2, 15)
              if '<tbody id="section%d"' % n in page))
    return page


def support_files(path, page):
    """The 20 support files beside the report, and every file the page refers to."""
    folder = os.path.join(os.path.dirname(path), "inventory_files")
    names = set(os.listdir(folder)) if os.path.isdir(folder) else set()
    check("inventory_files holds the 20 support files %s" % sorted(names ^ set(SUPPORT_FILES)),
          names == set(SUPPORT_FILES))
    for name, magic in SUPPORT_FILES.items():
        p = os.path.join(folder, name)
        ok = os.path.isfile(p) and os.path.getsize(p) > 0
        if ok:
            with open(p, "rb") as f:
                ok = f.read(len(magic)) == magic
        check("support file %s written with its content" % name, ok)
    refs = set(re.findall(r"""inventory_files/([^"')\s>]+)""", page))
    check("page refers to support files (%d)" % len(refs), len(refs) >= 8)
    for ref in sorted(refs):
        check("referred file %s exists" % ref, os.path.isfile(os.path.join(folder, ref)))
    css = os.path.join(folder, "common.css")
    if os.path.isfile(css):
        with open(css, encoding="utf-8") as f:
            for ref in sorted(set(re.findall(r"""url\(["']?([^"')]+)""", f.read()))):
                check("style sheet's %s exists" % ref, os.path.isfile(os.path.join(folder, ref)))


def first(path, with_support_files, components_machine):
    page = common(path)
    spans = comment_spans(page, DISABLE_START)
    check("two recent-changes comments (%d)" % len(spans), len(spans) == 2)
    check("Recent Changes inside the comment", inside(section_extent(page, 11), spans))
    check("Recent Changes - Raw inside the comment", inside(section_extent(page, 12), spans))
    check("no comment left open or closed early",
          all(page[a:b].count("<!--") == 1 for a, b in spans))
    check("last inventory: no previous scans", "No previous scans detected" in page)
    body = section_body(page, 8) or ""
    check("process list not empty", body.count("<tr") > 2)
    if with_support_files:
        support_files(path, page)
    if components_machine:
        with open(components_machine, encoding="utf-8-sig") as f:
            values = json.load(f)["registry"].get(SUBCOMPONENTS, {})
        installed = [n for n, v in values.items() if n and v in ({"dword": 1}, "1")]
        check("components section not commented out",
              not inside(section_extent(page, 13), comment_spans(page, "<!--")))
        title = heading(page, 13) or ""
        check("components heading counts %d (%s)" % (len(installed), title),
              title == "Installed Windows Components/Features (%d)" % len(installed))
        rows = (section_body(page, 13) or "").count("<tr") - 1
        check("components list has %d rows (%d)" % (len(installed), rows), rows == len(installed))


def second(path, expected_path):
    page = common(path)
    with open(expected_path, encoding="utf-8") as f:
        e = json.load(f)
    check("recent changes not commented out", DISABLE_START not in page)
    check("last inventory names the previous scan", "No previous scans detected" not in page)
    # The note and the arrow are the program's own text; only inventory values are escaped.
    disk_value = "%s (Free Space decreased by > 25%%: %s => %s)" % (
        esc(e["disk"]), esc(e["oldFree"]), esc(e["newFree"]))
    want = [
        ("LogicalDisk:", icon("ref") + disk_value),
        ("InstalledSoftware64:", icon("add") + esc(e["added"])),
        ("", icon("del") + esc(e["removed"])),
        ("Services:", icon("add") + esc(e["newService"])),
        ("", icon("del") + esc(e["oldService"])),
    ]
    check("Recent Changes (%d) in the heading (%s)" % (len(want), heading(page, 11)),
          heading(page, 11) == "Recent Changes (%d)" % len(want))
    body = section_body(page, 11) or ""
    rows = LABEL_ROW.findall(body)
    got = [(label, value) for _, label, value in rows]
    check("filtered list holds exactly the changes", got == want)
    if got != want:
        for g in got:
            print("     got  %r" % (g,))
        for w in want:
            print("     want %r" % (w,))
    check("filtered rows alternate from highlight",
          [c for c, _, _ in rows] == ["rowHighlightData", "rowData"] * 2 + ["rowHighlightData"])
    check("nothing else in the filtered list", body.count("<tr") == len(want) + 1)

    check("Recent Changes - Raw (5) in the heading (%s)" % heading(page, 12),
          heading(page, 12) == "Recent Changes - Raw (5)")
    raw = section_body(page, 12) or ""
    groups = re.findall(r"""<tr onclick='hideShowSubdetail\("raw(\w+)"\); return false;' """
                        r"""class="detail_page_section_heading"><td width="1%">(?:>|&gt;)&nbsp;</td>"""
                        r"""<td colspan="2">(\w+) \((\d+)\)</td></tr>""", raw)
    check("raw headings LogicalDisk 1, InstalledSoftware64 2, Services 2 (%s)" % groups,
          groups == [("LogicalDisk", "LogicalDisk", "1"),
                     ("InstalledSoftware64", "InstalledSoftware64", "2"),
                     ("Services", "Services", "2")])
    ids = re.findall(r'<tr id="(raw\w+/\d+)" style="display:none;" class="(\w+)">', raw)
    check("raw rows numbered per query, hidden (%s)" % ids,
          ids == [("rawLogicalDisk/1", "rowHighlightData"),
                  ("rawInstalledSoftware64/1", "rowHighlightData"),
                  ("rawInstalledSoftware64/2", "rowData"),
                  ("rawServices/1", "rowHighlightData"), ("rawServices/2", "rowData")])
    check("raw free-space row shows the plain values",
          "%s (FreeSpace: %s => %s)" % (esc(e["disk"]), esc(e["oldFree"]), esc(e["newFree"])) in raw)
    installed = section_body(page, 6) or ""
    check("added program listed, as text", esc(e["added"].split(",")[0]) in installed)
    check("removed program no longer listed", esc(e["removed"].split(",")[0]) not in installed)
    services = section_body(page, 10) or ""
    check("renamed service listed under its new name, as text",
          esc(e["newService"]) in services and esc(e["oldService"]) not in services)


def unchanged(path):
    page = common(path)
    check("Recent Changes (0) after a run without changes", heading(page, 11) == "Recent Changes (0)")
    check("Recent Changes - Raw (0)", heading(page, 12) == "Recent Changes - Raw (0)")
    check("no changes detected row", "No changes detected." in (section_body(page, 11) or ""))


def portable(path, base_url):
    page = common(path)
    folder = os.path.dirname(path)
    check("no inventory_files folder", not os.path.exists(os.path.join(folder, "inventory_files")))
    check("style sheet from the portable base URL", 'href="%scommon.css"' % base_url in page)
    check("page icon from the portable base URL", 'href="%smirk.ico"' % base_url in page)
    check("no relative support-file reference",
          not re.search(r"""(src|href)=["']inventory_files/""", page))


def label_value(body, label):
    for _, l, v in LABEL_ROW.findall(body or ""):
        if l == label:
            return v
    return None


def windows(path, caption, bios):
    """A report written under Wine: its support files and Wine's own data in the sections."""
    page = common(path)
    support_files(path, page)
    # The report tags a caption without its architecture.
    names = {esc(caption), esc(caption) + " x86", esc(caption) + " x64"}
    summary = label_value(section_body(page, 1), "OS Name")
    check("summary OS name is Wine's caption %r (%r)" % (caption, summary), summary in names)
    check("operating system name is Wine's caption",
          label_value(section_body(page, 5), "Name") in names)
    check("BIOS name is Wine's %r (%r)" % (bios, label_value(section_body(page, 2), "BIOS Name")),
          label_value(section_body(page, 2), "BIOS Name") == esc(bios))
    processes = heading(page, 8) or ""
    check("processes listed (%s)" % processes,
          re.fullmatch(r"Running Processes \(([3-9]|\d\d+)\)", processes) is not None)
    check("the program's own process listed",
          re.search(r"fennock(64)?\.exe", section_body(page, 8) or "", re.I) is not None)
    services = heading(page, 10) or ""
    check("services listed (%s)" % services,
          re.fullmatch(r"Services \(([5-9]|\d\d+)\)", services) is not None)


def main(argv):
    cmd, args = argv[1], argv[2:]
    if cmd == "change":
        change(*args)
    elif cmd == "common":
        common(args[0])
    elif cmd == "first":
        components = args[args.index("--components") + 1] if "--components" in args else None
        first(args[0], "--support-files" in args, components)
    elif cmd == "second":
        second(*args)
    elif cmd == "unchanged":
        unchanged(*args)
    elif cmd == "portable":
        portable(*args)
    elif cmd == "windows":
        windows(*args)
    else:
        sys.exit("unknown command " + cmd)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
