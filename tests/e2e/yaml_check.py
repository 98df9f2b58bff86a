#!/usr/bin/env python3
"""Helpers of the YAML end-to-end test: loads the YAML reports with a real YAML 1.1 reader
(PyYAML) and compares what it reads with the described machine. Every check prints
"ok   ..." or "FAIL ..."; the exit status is 1 when any check failed.

    yaml_check.py full MACHINE REPORT        the whole session, value for value
    yaml_check.py empty REPORT               a changes-only report without a previous run
    yaml_check.py change MACHINE CHANGED EXPECTED
                                             writes an edited copy of the machine and the
                                             change records its diff report must hold
    yaml_check.py diff REPORT EXPECTED       the changes-only report holds exactly those
"""

import json
import os
import re
import sys

import yaml

failures = 0


def check(what, condition):
    global failures
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures += 1
    return condition


def short(text, limit=60):
    text = repr(text)
    return text if len(text) <= limit else text[:limit] + "..."


# ---- the catalogue's WMI queries: class, key fields, fields, which objects ----

def where_ip_enabled(obj, machine):
    return wmi_get(obj, "IPEnabled") in (True, {"boolean": True})


def where_description(obj, machine):
    value = wmi_get(obj, "Description")
    return value is not None and scalar_text(value) != ""


def where_installed(obj, machine):
    return scalar_text(wmi_get(obj, "InstallState")) == "1"


def where_usb(obj, machine):
    device_id = wmi_get(obj, "DeviceID")
    return isinstance(device_id, str) and device_id.upper().startswith("USB")


def where_user(obj, machine):
    value = wmi_get(obj, "Name")
    user = machine.get("host", {}).get("userName", "")
    return value is not None and scalar_text(value).lower() == user.lower()


WMI_QUERIES = {
    "Process": ("Win32_Process", "Name,CommandLine", "Name,ExecutablePath,CommandLine", None),
    "BIOS": ("Win32_BIOS", "Name",
             "Name,Version,Manufacturer,Description,IdentificationCode,SerialNumber", None),
    "OperatingSystem": ("Win32_OperatingSystem", "Caption",
                        "InstallDate,LastBootupTime,TotalVisibleMemorySize,FreePhysicalMemory,"
                        "Caption,Version,BuildNumber,CsdVersion,WindowsDirectory,Description,"
                        "OSArchitecture,SystemDrive", None),
    "ComputerSystem": ("Win32_ComputerSystem", "Manufacturer", "Manufacturer,Model,Name,Domain",
                       None),
    "MotherboardDevice": ("Win32_MotherboardDevice", "PrimaryBusType",
                          "PrimaryBusType,SecondaryBusType", None),
    "SoundDevice": ("Win32_SoundDevice", "Description", "Description", None),
    "CDROMDrive": ("Win32_CDROMDrive", "Name", "Name", None),
    "VideoController": ("Win32_VideoController", "Name", "Name,AdapterRAM", None),
    "DesktopMonitor": ("Win32_DesktopMonitor", "Name,DeviceID",
                       "Name,Description,DeviceID,MonitorManufacturer,MonitorType", None),
    "Registry": ("Win32_Registry", "Caption", "Caption,CurrentSize,MaximumSize", None),
    "LogicalDisk": ("Win32_LogicalDisk", "DeviceID",
                    "DriveType,Size,FreeSpace,FileSystem,DeviceID,ProviderName,UsedSpace", None),
    "NetworkAdapterConfiguration": ("Win32_NetworkAdapterConfiguration", "Description",
                                    "Description,MACAddress,IPAddress,DHCPEnabled,"
                                    "DefaultIPGateway,IPSubnet,DNSServerSearchOrder",
                                    where_ip_enabled),
    "Printer": ("Win32_Printer", "Caption", "Caption,DeviceID,Name,ShareName,ServerName,DriverName",
                None),
    "StartupCommand": ("Win32_StartupCommand", "Name,Command", "Name,Command", None),
    "PhysicalMemory": ("Win32_PhysicalMemory", "Tag", "Tag,DeviceLocator,Capacity,Speed", None),
    "PhysicalMemoryArray": ("Win32_PhysicalMemoryArray", "Tag", "Tag,MaxCapacity,MemoryDevices",
                            None),
    "UserAccount": ("Win32_UserAccount", "Name", "Name,FullName,Domain", where_user),
    "OptionalFeature": ("Win32_OptionalFeature", "Name", "Name,Caption", where_installed),
    "ServerFeature": ("Win32_ServerFeature", "Name", "Name,ID,ParentID", None),
    "Processor": ("Win32_Processor", "Name,DeviceID",
                  "Name,NumberOfCores,DeviceID,MaxClockSpeed,NumberOfLogicalProcessors,"
                  "Manufacturer,Caption,Architecture,DataWidth", None),
    "DiskDrive": ("Win32_DiskDrive", "DeviceID", "DeviceID,Model,Size,InterfaceType,MediaType",
                  None),
    "USBDevice": ("Win32_PnPEntity", "DeviceID", "Name,DeviceID,Manufacturer", where_usb),
    "Tpm": (r"ROOT\CIMV2\Security\MicrosoftTpm:Win32_Tpm", "SpecVersion",
            "SpecVersion,IsEnabled_InitialValue,IsActivated_InitialValue,ManufacturerVersion", None),
}
PLATFORM_FACTS = {"FirmwareType": "firmwareType", "SecureBoot": "secureBoot",
                  "Virtualization": "virtualization", "InitSystem": "initSystem"}
# Patches are WMI objects too, but the post-processing adds programs to them.
PATCH_QUERY = ("Win32_QuickFixEngineering", "Description,HotFixId",
               "Description,Computer,HotFixId,InstallationDate,InstalledBy", where_description)
PATCH_KEYS = PATCH_QUERY[1].split(",")
SERVICE_STATES = {1: "Stopped", 2: "Start Pending", 3: "Stop Pending", 4: "Running",
                  5: "Continue Pending", 6: "Pause Pending", 7: "Paused"}
PROGRAM_FIELDS = ["DisplayName", "DisplayVersion", "Publisher"]
STARTUP_ROW_LIMIT = 200
UNINSTALL = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_32 = r"HKLM\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall"
USER_UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
PROFILE_LIST = r"HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList"
DISPLAY_CLASS = r"HKLM\SYSTEM\CurrentControlSet\Control\Class\{4d36e968-e325-11ce-bfc1-08002be10318}"
NOT_USER_HIVES = {".default", "s-1-5-18", "s-1-5-19", "s-1-5-20"}


# ---- what the program stores for a described value ----

def wmi_class(machine, name):
    """The objects of a class; "NAMESPACE:CLASS" for a namespace other than ROOT\\CIMV2."""
    classes = machine.get("wmi", {})
    if ":" in name:
        space, name = name.split(":")
        classes = next((c for n, c in machine.get("namespaces", {}).items()
                        if n.lower() == space.lower()), {})
    for cls, objects in classes.items():
        if cls.lower() == name.lower():
            return objects
    return []


def wmi_get(obj, name):
    for prop, value in obj.items():
        if prop.lower() == name.lower():
            return value
    return None


def scalar_text(value):
    if isinstance(value, bool):
        return "-1" if value else "0"
    if isinstance(value, int):
        return str(value)
    if isinstance(value, str):
        return value
    if isinstance(value, dict):
        (kind, inner), = value.items()
        if kind == "string":
            return inner
        if kind == "boolean":
            return "-1" if inner else "0"
        if kind in ("int16", "int32", "uint32"):
            return str(inner)
    return ""  # null, "other", "empty"


def value_text(value):
    if isinstance(value, list):
        return "\t".join(scalar_text(v) for v in value)
    return scalar_text(value)


def key_value(texts, key_fields):
    """The store's key: the key fields' texts joined by commas, an empty first one skipped."""
    key = ""
    for name in key_fields:
        if key:
            key += ","
        key += texts[name]
    return key


def kept_items(rows, key_fields):
    """The items a session keeps: rows with a key, the first of each key. Their order is the
    store's (its collation of the keys), not compared here."""
    first = {}
    for texts in rows:
        key = key_value(texts, key_fields)
        if key and key not in first:
            first[key] = texts
    return list(first.values())


def wmi_rows(machine, query):
    cls, _, fields, where = PATCH_QUERY if query == "QuickFixEngineering" else WMI_QUERIES[query]
    objects = [o for o in wmi_class(machine, cls) if where is None or where(o, machine)]
    if query == "StartupCommand":
        objects = objects[:STARTUP_ROW_LIMIT]
    if query == "Tpm" and not machine.get("host", {}).get("administrator", False):
        objects = []  # the namespace is refused to a user without administrator rights
    rows = [{f: value_text(wmi_get(o, f)) for f in fields.split(",")} for o in objects]
    if query == "VideoController":
        for row in rows:
            row["AdapterRAM"] = registered_adapter_memory(machine, row["Name"]) or row["AdapterRAM"]
    return rows


def service_rows(machine):
    services = machine.get("services", [])
    if isinstance(services, dict):
        services = services.get("list", [])
    return [{"DisplayName": s.get("displayName", ""), "ServiceName": s["name"],
             "State": SERVICE_STATES.get(s["status"][1], ""), "StartMode": s.get("startMode", "")}
            for s in services]


ROOTS = {"HKEY_LOCAL_MACHINE": "HKLM", "HKEY_USERS": "HKU"}


def registry_keys(machine):
    """The described keys with their roots' short names."""
    for listed, values in machine.get("registry", {}).items():
        root, _, rest = listed.partition("\\")
        yield ROOTS.get(root.upper(), root.upper()) + "\\" + rest, values


def registry_value(values, name):
    return next((v for n, v in values.items() if n.lower() == name.lower()), None)


def uninstall_entries(machine, path):
    """DisplayName, DisplayVersion and Publisher of every subkey of an uninstall key, a key
    above a listed one included."""
    prefix = path.lower() + "\\"
    entries = {}
    for listed, values in registry_keys(machine):
        if not listed.lower().startswith(prefix):
            continue
        name = listed[len(prefix):].split("\\")[0].lower()
        texts = entries.setdefault(name, {f: "" for f in PROGRAM_FIELDS})
        if listed[len(prefix):].lower() != name:
            continue
        for field in PROGRAM_FIELDS:
            value = registry_value(values, field)
            if isinstance(value, str):
                texts[field] = value
            elif isinstance(value, dict) and "dword" in value:
                texts[field] = str(value["dword"])
    return list(entries.values())


def is_update(program):
    """The post-processing's test for a program that is a patch: a KB number and "update" or
    "hotfix" in its key."""
    key = key_value(program, PROGRAM_FIELDS)
    lower = key.lower()
    return re.search(r"[Kk][Bb][0-9]{5}", key) is not None and (
        "update" in lower or "hotfix" in lower)


def programs_and_patches(machine):
    """The two program lists and the patches, as the post-processing leaves them."""
    wow64 = machine.get("host", {}).get("wow64", machine.get("host", {}).get("machine64Bit", False))
    views = {"InstalledSoftware32": UNINSTALL_32 if wow64 else UNINSTALL}
    if wow64:
        views["InstalledSoftware64"] = UNINSTALL
    patches = wmi_rows(machine, "QuickFixEngineering")
    patch_texts = {t for p in patches for t in p.values()}
    lists = {}
    moved = []
    for query, path in views.items():
        programs = [p for p in uninstall_entries(machine, path)
                    if p["DisplayName"] not in patch_texts]
        moved += [{"Description": p["DisplayName"], "HotFixId": p["DisplayVersion"],
                   "Computer": "", "InstallationDate": "", "InstalledBy": "",
                   "key": key_value(p, PROGRAM_FIELDS)} for p in programs if is_update(p)]
        # Where a program came from is a Linux fact: a described (Windows) machine has none.
        lists[query] = kept_items([dict(p, PackageSource="") for p in programs
                                   if not is_update(p)], PROGRAM_FIELDS)
    # The programs were stored before the patches: of two with one key, the program stays.
    first = {}
    for texts in moved:
        first.setdefault(texts.pop("key"), texts)
    for texts in patches:
        first.setdefault(key_value(texts, PATCH_KEYS), texts)
    first.pop("", None)
    lists["QuickFixEngineering"] = list(first.values())
    return lists


def user_programs(machine):
    """The programs of each user's hive under HKU (not the default, system, service and
    classes hives), with the user the profile list names, else the SID."""
    hives = set()
    for listed, _ in registry_keys(machine):
        if listed.upper().startswith("HKU\\"):
            hives.add(listed.split("\\")[1])
    rows = []
    for hive in sorted(hives, key=str.upper):
        if hive.lower() in NOT_USER_HIVES or hive.lower().endswith("_classes"):
            continue
        user = hive
        for listed, values in registry_keys(machine):
            if listed.lower() == (PROFILE_LIST + "\\" + hive).lower():
                path = registry_value(values, "ProfileImagePath")
                folder = (path.get("expand") if isinstance(path, dict) else path) or ""
                user = folder.rstrip("\\").split("\\")[-1] or hive
        for program in uninstall_entries(machine, "HKU\\" + hive + "\\" + USER_UNINSTALL):
            rows.append(dict(program, UserName=user))
    return kept_items(rows, PROGRAM_FIELDS + ["UserName"])


def registered_adapter_memory(machine, name):
    """The driver's HardwareInformation.qwMemorySize of the first display adapter with this
    name that has one (REG_QWORD, or REG_BINARY of 8 bytes)."""
    adapters = [(listed.split("\\")[-1].upper(), values) for listed, values in
                registry_keys(machine) if listed.lower().startswith(DISPLAY_CLASS.lower() + "\\")]
    for _, values in sorted(adapters, key=lambda a: a[0]):
        if registry_value(values, "DriverDesc") != name:
            continue
        size = registry_value(values, "HardwareInformation.qwMemorySize")
        if isinstance(size, dict) and "qword" in size:
            return str(size["qword"])
        if isinstance(size, dict) and len(size.get("binary", "")) == 16:
            return str(int.from_bytes(bytes.fromhex(size["binary"]), "little"))
    return None


# ---- loading ----

def no_duplicate_keys(loader, node):
    loader.flatten_mapping(node)
    seen = set()
    for key_node, _ in node.value:
        key = loader.construct_object(key_node, deep=True)
        if not isinstance(key, str):
            raise yaml.constructor.ConstructorError(
                None, None, "key %r is read as %s" % (key, type(key).__name__), key_node.start_mark)
        if key in seen:
            raise yaml.constructor.ConstructorError(
                None, None, "duplicate key %r" % key, key_node.start_mark)
        seen.add(key)
    return loader.construct_mapping(node, deep=True)


class Tagged:
    def __init__(self, tag, value):
        self.tag, self.value = tag, value


class ReportLoader(yaml.SafeLoader):
    pass


ReportLoader.add_constructor(yaml.resolver.BaseResolver.DEFAULT_MAPPING_TAG, no_duplicate_keys)
ReportLoader.add_multi_constructor(
    "!", lambda loader, suffix, node: Tagged(suffix, loader.construct_scalar(node)))


def load(path):
    with open(path, "rb") as f:
        data = f.read()
    name = os.path.join(os.path.basename(os.path.dirname(path)), os.path.basename(path))
    if not check("%s is not empty" % name, data):
        return None
    check("UTF-8 without byte-order mark", not data.startswith(b"\xef\xbb\xbf"))
    bare_lf = len(re.findall(rb"(?<!\r)\n", data))
    lone_cr = len(re.findall(rb"\r(?!\n)", data))
    check("every line ends with CR LF (%d bare LF, %d lone CR)" % (bare_lf, lone_cr),
          bare_lf == 0 and lone_cr == 0 and data.endswith(b"\r\n"))
    try:
        document = yaml.load(data, Loader=ReportLoader)
    except yaml.YAMLError as e:
        check("loads as YAML (%s)" % str(e)[:300], False)
        return None
    check("loads as YAML", True)
    return document


# ---- the checks ----

def compare_items(query, got, want):
    got = sorted(got, key=lambda i: sorted(i.items()))
    want = sorted(want, key=lambda i: sorted(i.items()))
    if got == want:
        check("%s: %d items, every value as described" % (query, len(want)), True)
        return
    check("%s: %d items as described (%d read)" % (query, len(want), len(got)), False)
    for what, items, other in (("read, not described", got, want),
                               ("described, not read", want, got)):
        for item in [i for i in items if i not in other][:3]:
            print("     %s: %s" % (what, short(item, 300)))


def full(machine_path, report_path):
    with open(machine_path, encoding="utf-8-sig") as f:
        machine = json.load(f)
    document = load(report_path)
    if not check("the report is a mapping of queries", isinstance(document, dict)):
        return
    malformed = [q for q, items in document.items()
                 if not isinstance(items, list) or
                 not all(isinstance(i, dict) and all(isinstance(v, str) for v in i.values())
                         for i in items)]
    check("every query a list of items of texts %s" % malformed, not malformed)
    for query, (_, keys, _, _) in WMI_QUERIES.items():
        want = kept_items(wmi_rows(machine, query), keys.split(","))
        if want or query in document:
            compare_items(query, document.get(query) or [], want)
    compare_items("Services", document.get("Services") or [],
                  kept_items(service_rows(machine), ["DisplayName"]))
    for query, want in programs_and_patches(machine).items():
        if want or query in document:
            compare_items(query, document.get(query) or [], want)
    want = user_programs(machine)
    if want or "InstalledSoftwareUser" in document:
        compare_items("InstalledSoftwareUser", document.get("InstalledSoftwareUser") or [], want)
    facts = machine.get("platform", {})
    # The TPM's namespace: refused without administrator rights, else it answers.
    presence = "" if not machine.get("host", {}).get("administrator", False) else \
        "Yes" if wmi_class(machine, WMI_QUERIES["Tpm"][0]) else "No"
    compare_items("Platform", document.get("Platform") or [],
                  [dict({"OSFamily": "Windows", "TpmPresent": presence},
                        **{f: facts.get(m, "") for f, m in PLATFORM_FACTS.items()})])
    version = (document.get("Version") or [{}])[0]
    check("Version: the program's own item", "FileVersionMajor" in version)


def empty(report_path):
    document = load(report_path)
    check("a changes-only report without a previous run holds no query (%s)" % short(document),
          document is None)


# ---- the edit between two runs ----

NEW_PROCESS = {"Name": "new \"proc\" - : # \u0085\u2028\u2029 key: old:",
               "CommandLine": "\\\\srv\\x \"a b\" \x01\x7f\x9f \ufeff \U0001F600 ",
               "ExecutablePath": "  C:\\new\\\"proc\".exe  "}
NEW_PATH = "  D:\\moved \"there\"\\x.exe # : - \u2028\u0085\ufeff\x00\x1b\x9c\U0001D11E  "
NEW_VERSION = "v2: !mod \"\" # \u2029"
NEW_SERVICE_NAME = "renamed\\svc \"x\" \x7f\u0085"


def process_key(obj):
    return key_value({f: value_text(wmi_get(obj, f)) for f in ("Name", "CommandLine")},
                     ["Name", "CommandLine"])


def change(machine_path, changed_path, expected_path):
    """Adds a process, removes one, moves one; gives the BIOS a new version and a service a
    new name: new, removed and changed items, with hostile texts in each."""
    with open(machine_path, encoding="utf-8-sig") as f:
        machine = json.load(f)
    records = []
    processes = wmi_class(machine, "Win32_Process")
    keys = [process_key(p) for p in processes]
    unique = [i for i, k in enumerate(keys) if k and keys.count(k) == 1]
    removed, moved = unique[0], unique[1]
    old_path = value_text(wmi_get(processes[moved], "ExecutablePath"))
    for prop in list(processes[moved]):
        if prop.lower() == "executablepath":
            del processes[moved][prop]
    processes[moved]["ExecutablePath"] = NEW_PATH
    records.append(["Process", "mod", "ExecutablePath", keys[moved], old_path, NEW_PATH])
    records.append(["Process", "del", "", keys[removed], None, ""])
    processes.append(dict(NEW_PROCESS))
    records.append(["Process", "add", "", process_key(NEW_PROCESS), None, ""])
    del processes[removed]

    bios = wmi_class(machine, "Win32_BIOS")
    if len(bios) == 1 and value_text(wmi_get(bios[0], "Name")):
        old_version = value_text(wmi_get(bios[0], "Version"))
        for prop in list(bios[0]):
            if prop.lower() == "version":
                del bios[0][prop]
        bios[0]["Version"] = NEW_VERSION
        records.append(["BIOS", "mod", "Version", value_text(wmi_get(bios[0], "Name")),
                        old_version, NEW_VERSION])

    services = machine.get("services", [])
    names = [s.get("displayName", "") for s in services]
    service = next(s for s in services if s.get("displayName") and names.count(s["displayName"]) == 1)
    records.append(["Services", "mod", "ServiceName", service["displayName"], service["name"],
                    NEW_SERVICE_NAME])
    service["name"] = NEW_SERVICE_NAME

    with open(changed_path, "w", encoding="utf-8") as f:
        json.dump(machine, f, ensure_ascii=False, indent=1)
    with open(expected_path, "w", encoding="utf-8") as f:
        json.dump(records, f)


KIND_ORDER = {"add": 0, "del": 1, "mod": 2}


def diff(report_path, expected_path):
    with open(expected_path, encoding="utf-8") as f:
        expected = sorted(tuple(r) for r in json.load(f))
    document = load(report_path)
    if not check("the report is a mapping of queries", isinstance(document, dict)):
        return
    got = []
    for query, records in document.items():
        if not check("%s: a list of records" % query, isinstance(records, list)):
            continue
        kinds = []
        for record in records:
            tagged = [(k, v) for k, v in record.items() if isinstance(v, Tagged)]
            rest = {k: v for k, v in record.items() if not isinstance(v, Tagged)}
            shaped = (len(tagged) == 1 and set(rest) in ({"key"}, {"key", "old"}) and
                      all(isinstance(v, str) for v in rest.values()))
            if shaped:
                (field, value), = tagged
                shaped = ("old" in rest) == (value.tag == "mod")
            if not shaped:
                check("%s: one tagged field, its key and, if changed, the old value: %s" % (
                    query, short({k: (v.tag, v.value) if isinstance(v, Tagged) else v
                                  for k, v in record.items()}, 200)), False)
                continue
            kinds.append(value.tag)
            got.append((query, value.tag, field, rest["key"], rest.get("old"), value.value))
        check("%s: %d records, new items, then removed ones, then changed values" % (
            query, len(kinds)), kinds == sorted(kinds, key=lambda k: KIND_ORDER.get(k, 3)))
    got.sort(key=lambda r: tuple("" if v is None else v for v in r))
    expected.sort(key=lambda r: tuple("" if v is None else v for v in r))
    if check("exactly the %d edits, each saying kind, key, old and new value" % len(expected),
             got == expected):
        return
    for r in got:
        if r not in expected:
            print("     read      %s" % short(r, 300))
    for r in expected:
        if r not in got:
            print("     expected  %s" % short(r, 300))


def main(argv):
    cmd, args = argv[1], argv[2:]
    commands = {"full": full, "empty": empty, "change": change, "diff": diff}
    if cmd not in commands:
        sys.exit("unknown command " + cmd)
    commands[cmd](*args)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
