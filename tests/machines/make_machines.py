#!/usr/bin/env python3
"""Writes the described machines shipped with the tests: a Windows XP SP3 office desktop
(32-bit), a Windows 7 SP1 64-bit laptop, and two Windows 10 22H2 machines, one ready for
Windows 11 and one not. They are test fixtures and demo data at once, so
they look like real machines and carry the awkward values real machines have: quotes,
backslashes, markup, ampersands, non-ASCII text, very long command lines, empty strings.

Every choice comes from a generator with a fixed seed: running the script again gives the
same files byte for byte.

    make_machines.py [OUTPUT_FOLDER]      (default: the folder of this script)
"""

import datetime
import json
import os
import random
import sys

UNINSTALL = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_32 = r"HKLM\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall"
SUBCOMPONENTS = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Setup\OC Manager\Subcomponents"
DISPLAY_CLASS = r"HKLM\SYSTEM\CurrentControlSet\Control\Class\{4d36e968-e325-11ce-bfc1-08002be10318}"
TPM_NAMESPACE = r"ROOT\CIMV2\Security\MicrosoftTpm"

STOPPED, START_PENDING, RUNNING = 1, 2, 4
KERNEL_DRIVER, FS_DRIVER = 1, 2


# ---- typed values ----

def u32(n):
    return {"uint32": n}


def i16(n):
    return {"int16": n}


def dword(n):
    return {"dword": n}


def expand(text):
    return {"expand": text}


def wmi_datetime(y, mo, d, h, mi, s, micro, offset):
    """A CIM datetime: yyyymmddHHMMSS.ffffff and the UTC offset in minutes (+060)."""
    sign = "+" if offset >= 0 else "-"
    return f"{y:04d}{mo:02d}{d:02d}{h:02d}{mi:02d}{s:02d}.{micro:06d}{sign}{abs(offset):03d}"


def guid(rng):
    h = f"{rng.getrandbits(128):032X}"
    return "{" + f"{h[:8]}-{h[8:12]}-{h[12:16]}-{h[16:20]}-{h[20:]}" + "}"


def install_date(rng, first_year, last_year):
    return f"{rng.randint(first_year, last_year)}{rng.randint(1, 12):02d}{rng.randint(1, 28):02d}"


def us_date(rng, first_year, last_year):
    return f"{rng.randint(1, 12)}/{rng.randint(1, 28)}/{rng.randint(first_year, last_year)}"


# ---- the uninstall key ----

def program(rng, name, version, publisher, *, key=None, msi=False, folder=None, size=None,
            years=(2008, 2013), language=None, extra=None):
    """One subkey of the uninstall key as installers write it."""
    code = guid(rng) if msi else None
    values = {}
    if name is not None:
        values["DisplayName"] = name
    if version is not None:
        values["DisplayVersion"] = version
    if publisher is not None:
        values["Publisher"] = publisher
    values["InstallDate"] = install_date(rng, *years)
    if folder:
        values["InstallLocation"] = folder
    if msi:
        values["UninstallString"] = expand("MsiExec.exe /X" + code)
        values["ModifyPath"] = expand("MsiExec.exe /I" + code)
        values["NoModify"] = dword(1)
        values["WindowsInstaller"] = dword(1)
        parts = (version or "").split(".")
        if len(parts) >= 2 and parts[0].isdigit() and parts[1].isdigit():
            major, minor = int(parts[0]) % 256, int(parts[1]) % 256
            values["VersionMajor"] = dword(major)
            values["VersionMinor"] = dword(minor)
            values["Version"] = dword((major << 24) | (minor << 16))
        values["Language"] = dword(language or 1033)
    elif folder:
        values["UninstallString"] = '"' + folder.rstrip("\\") + '\\uninstall.exe"'
    if size:
        values["EstimatedSize"] = dword(size)
    if extra:
        values.update(extra)
    key = key or code or name
    if "\\" in key:
        # A key name holds no backslash; Inno Setup names its key after the program instead.
        key = key.split(" (")[0].replace("\\", "") + "_is1"
    return key, values


def update_entry(rng, title, kb, parent, *, version=None, years=(2009, 2013), windows="WINDOWS"):
    """An update that registers itself below the program it patches."""
    values = {"DisplayName": title}
    if version is not None:
        values["DisplayVersion"] = version
    values["Publisher"] = "Microsoft Corporation"
    values["InstallDate"] = install_date(rng, *years)
    values["ParentKeyName"] = parent
    values["ParentDisplayName"] = {"OperatingSystem": "Windows XP - Software Updates"}.get(
        parent, parent)
    values["ReleaseType"] = ("Security Update" if title.startswith("Security")
                             else "Hotfix" if title.startswith("Hotfix") else "Update")
    values["HelpLink"] = "http://support.microsoft.com?kbid=" + kb[2:]
    values["URLInfoAbout"] = "http://support.microsoft.com"
    values["UninstallString"] = f'"C:\\{windows}\\$NtUninstall{kb}$\\spuninst\\spuninst.exe"'
    values["NoModify"] = dword(1)
    values["NoRepair"] = dword(1)
    return values


# ---- user profiles ----

PROFILE_LIST = r"HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList"
USER_UNINSTALL = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
XP_SERVICE_PROFILES = {
    "S-1-5-18": "%SystemRoot%\\system32\\config\\systemprofile",
    "S-1-5-19": "%SystemDrive%\\Documents and Settings\\LocalService",
    "S-1-5-20": "%SystemDrive%\\Documents and Settings\\NetworkService",
}
NT6_SERVICE_PROFILES = {
    "S-1-5-18": "%systemroot%\\system32\\config\\systemprofile",
    "S-1-5-19": "C:\\Windows\\ServiceProfiles\\LocalService",
    "S-1-5-20": "C:\\Windows\\ServiceProfiles\\NetworkService",
}


def user_profiles(registry, service_profiles, profiles, loaded):
    """The profile list and HKEY_USERS while the users of `loaded` (SID -> [(key, values)] of
    their own uninstall key) are logged on: the default, system and service hives, each
    loaded user's hive beside its classes hive. `profiles` maps every SID with a profile on
    the machine to its folder."""
    for sid, folder in list(service_profiles.items()) + list(profiles.items()):
        registry[PROFILE_LIST + "\\" + sid] = {
            "ProfileImagePath": expand(folder), "Flags": dword(0), "State": dword(0)}
    registry["HKU\\.DEFAULT\\" + USER_UNINSTALL] = {}
    for sid in service_profiles:
        registry["HKU\\" + sid + "\\" + USER_UNINSTALL] = {}
    for sid, programs in loaded.items():
        for key, values in programs:
            registry["HKU\\" + sid + "\\" + USER_UNINSTALL + "\\" + key] = values
        registry["HKU\\" + sid + "_Classes\\Local Settings"] = {}


# Subkeys Windows itself leaves in the uninstall key, without a display name.
NAMELESS = ["AddressBook", "Connection Manager", "DirectDrawEx", "DXM_Runtime", "Fontcore",
            "IE40", "IE4Data", "IE5BAKEX", "IEData", "MobileOptionPack", "SchedulingAgent"]
NAMELESS_XP = NAMELESS + ["Branding", "DirectAnimation", "ICW", "MPlayer2", "NetMeeting",
                          "OutlookExpress", "PCHealth"]


def nameless(rng, names):
    entries = {}
    for name in names:
        values = {}
        if rng.random() < 0.4:
            values["QuietDisplayName"] = name.replace("_", " ")
        if rng.random() < 0.3:
            values["DisplayVersion"] = f"{rng.randint(4, 8)}.{rng.randint(0, 99)}"
        if rng.random() < 0.5:
            values["UninstallString"] = expand(
                "%SystemRoot%\\system32\\rundll32.exe setupapi.dll,InstallHinfSection "
                "DefaultUninstall 132 %SystemRoot%\\INF\\" + name.lower() + ".inf")
        entries[name] = values
    return entries


# ---- services ----

def services(rng, rows):
    """Service list entries from "name|display name|type|state" rows, sorted by name as the
    service control manager lists them."""
    out = []
    for row in rows:
        name, display, kind, state = row.split("|")
        kind = int(kind)
        if state == "R":
            drivers = (KERNEL_DRIVER, FS_DRIVER)
            accepted = 1 if kind in drivers else rng.choice([1, 3, 5, 0x81, 0x181])
            status = [kind, RUNNING, accepted, 0, 0, 0, 0]
        elif state == "P":
            status = [kind, START_PENDING, 0, 0, 0, 1, 30000]
        else:
            exit_code = rng.choice([0, 1077, 1077])
            status = [kind, STOPPED, 0, exit_code, 0, 0, 0]
        out.append({"name": name, "displayName": display, "status": status})
    out.sort(key=lambda s: s["name"].upper())
    return out


# ---- processes ----

class Processes:
    """Win32_Process objects in start order: the first ones within seconds of the boot, the
    rest over the day."""

    def __init__(self, rng, boot, offset):
        self.rng = rng
        self.clock = datetime.datetime(*boot)
        self.offset = offset
        self.items = []
        self.next_pid = 4

    def add(self, name, path, command, *, parent=None, session=1, threads=None):
        idle = name == "System Idle Process"
        pid = 0 if idle else self.next_pid
        if not idle:
            self.next_pid += 4 * self.rng.randint(1, 90)
            early = len(self.items) < 12
            self.clock += datetime.timedelta(
                seconds=self.rng.randint(0, 2) if early else self.rng.randint(5, 420),
                microseconds=self.rng.randint(0, 999999))
        t = self.clock
        item = {
            "Name": name,
            "ExecutablePath": path,
            "CommandLine": command,
            "ProcessId": u32(pid),
            "ParentProcessId": u32(parent if parent is not None else 0),
            "SessionId": u32(session),
            "ThreadCount": u32(threads or self.rng.randint(1, 60)),
            "WorkingSetSize": "24576" if idle else str(self.rng.randint(60, 30000) * 4096),
            "CreationDate": None if idle else wmi_datetime(
                t.year, t.month, t.day, t.hour, t.minute, t.second, t.microsecond, self.offset),
        }
        self.items.append(item)
        return pid


def long_classpath(rng, folder, count):
    jars = ["kontosync-core-3.2.1", "kontosync-ui-3.2.1", "kontosync-hbci-3.2.1",
            "kontosync-sepa-3.2.1", "commons-lang-2.6", "commons-io-2.4",
            "commons-codec-1.7", "commons-logging-1.1.1", "log4j-1.2.17", "h2-1.3.170",
            "bcprov-jdk15on-1.48", "hbci4java-2.5.12", "jgoodies-forms-1.6.0",
            "jgoodies-looks-2.5.2", "jcalendar-1.4", "itextpdf-5.4.0", "poi-3.9",
            "poi-ooxml-3.9", "xmlbeans-2.3.0", "dom4j-1.6.1", "jaxb-api-2.2.7",
            "jaxb-impl-2.2.6", "activation-1.1.1", "mail-1.4.5", "guava-14.0.1"]
    paths = []
    for i in range(count):
        base = jars[i % len(jars)]
        suffix = "" if i < len(jars) else f"-plugin{i // len(jars)}"
        paths.append(folder + "\\lib\\" + base + suffix + ".jar")
    return ";".join(paths)


# ---- the Windows XP desktop ----

XP_HOST = "BUCHHALTUNG-02"
XP_USER = "J\u00fcrgen"
XP_PROFILE = "C:\\Documents and Settings\\J\u00fcrgen"
XP_SID = "S-1-5-21-1957994488-1770027372-725345543"

XP_HOTFIXES = [
    "KB923561", "KB946648", "KB950762", "KB950974", "KB951066", "KB951376", "KB951748",
    "KB952004", "KB952954", "KB954600", "KB955069", "KB956572", "KB956744", "KB956802",
    "KB956803", "KB956844", "KB958644", "KB958687", "KB958869", "KB959426", "KB960225",
    "KB960803", "KB960859", "KB961501", "KB968389", "KB969059", "KB969947", "KB970238",
    "KB970430", "KB971029", "KB971513", "KB971557", "KB971657", "KB971961", "KB972270",
    "KB973346", "KB973354", "KB973507", "KB973525", "KB973815", "KB973869", "KB973904",
    "KB974112", "KB974318", "KB974392", "KB974571", "KB975025", "KB975467", "KB975560",
    "KB975561", "KB975713", "KB977165", "KB977816", "KB977914", "KB978037", "KB978251",
    "KB978262", "KB978338", "KB978542", "KB978601", "KB978706", "KB979309", "KB979482",
    "KB979559", "KB979683", "KB979687", "KB980195", "KB980218", "KB980232", "KB980436",
    "KB981322", "KB981852", "KB981957", "KB981997", "KB982132", "KB982214", "KB982665",
    "KB2079403", "KB2115168", "KB2121546", "KB2160329", "KB2183461", "KB2229593",
    "KB2259922", "KB2279986", "KB2286198", "KB2296011", "KB2347290", "KB2360937",
    "KB2387149", "KB2393802", "KB2412687", "KB2419632", "KB2423089", "KB2436673",
    "KB2440591", "KB2443105", "KB2478960", "KB2478971", "KB2479628", "KB2483185",
    "KB2485376", "KB2485663", "KB2503658", "KB2503665", "KB2506212", "KB2507618",
    "KB2507938", "KB2508429", "KB2509553", "KB2510581", "KB2511455", "KB2524375",
    "KB2535512", "KB2536276", "KB2544893", "KB2555917", "KB2562937", "KB2566454",
    "KB2567053", "KB2567680", "KB2570222", "KB2570947", "KB2584146", "KB2585542",
    "KB2592799", "KB2598479", "KB2603381", "KB2618451", "KB2619339", "KB2620712",
    "KB2624667", "KB2631813", "KB2633171", "KB2639417", "KB2641653", "KB2646524",
    "KB2647518", "KB2653956", "KB2659262", "KB2660465", "KB2661637", "KB2676562",
    "KB2686509", "KB2691442", "KB2698365", "KB2705219", "KB2712808", "KB2719985",
    "KB2723135", "KB2727528", "KB2731847", "KB2753842", "KB2757638", "KB2758857",
    "KB2761226", "KB2770660", "KB2778344", "KB2779030", "KB2779562", "KB2780091",
    "KB2799494", "KB2802968", "KB2803821", "KB2807986", "KB2813345", "KB2820197",
]

XP_PROGRAMS = [
    # name, version, publisher, msi, folder, size (KB)
    ("Adobe Flash Player 11 ActiveX", "11.6.602.180", "Adobe Systems Incorporated", False,
     "C:\\WINDOWS\\system32\\Macromed\\Flash", 6144),
    ("Adobe Flash Player 11 Plugin", "11.6.602.180", "Adobe Systems Incorporated", False,
     "C:\\WINDOWS\\system32\\Macromed\\Flash", 6144),
    ("Adobe Reader X (10.1.6) - Deutsch", "10.1.6", "Adobe Systems Incorporated", True,
     "C:\\Program Files\\Adobe\\Reader 10.0\\", 131287),
    ("Java(TM) 6 Update 39", "6.0.390", "Oracle", True, "C:\\Program Files\\Java\\jre6\\",
     97310),
    ("Microsoft .NET Framework 2.0 Service Pack 2", "2.2.30729", "Microsoft Corporation", True,
     None, 185344),
    ("Microsoft .NET Framework 3.0 Service Pack 2", "3.2.30729", "Microsoft Corporation", True,
     None, 176128),
    ("Microsoft .NET Framework 3.5 SP1", "3.5.30729", "Microsoft Corporation", False, None,
     None),
    ("Microsoft .NET Framework 4 Client Profile", "4.0.30319", "Microsoft Corporation", True,
     None, 132096),
    ("Microsoft .NET Framework 4 Client Profile DEU Language Pack", "4.0.30319",
     "Microsoft Corporation", True, None, 4120),
    ("Microsoft Office Standard 2007", "12.0.6612.1000", "Microsoft Corporation", False,
     "C:\\Program Files\\Microsoft Office\\", 1041187),
    ("Microsoft Office 2007 Primary Interop Assemblies", "12.0.4518.1014",
     "Microsoft Corporation", True, None, 3100),
    ("Microsoft Office File Validation Add-In", "14.0.5130.5003", "Microsoft Corporation",
     True, None, 2345),
    ("Microsoft Visual C++ 2005 Redistributable", "8.0.61001", "Microsoft Corporation", True,
     None, 5200),
    ("Microsoft Visual C++ 2008 Redistributable - x86 9.0.30729.6161", "9.0.30729.6161",
     "Microsoft Corporation", True, None, 10300),
    # Two blanks, as that installer writes it.
    ("Microsoft Visual C++ 2010  x86 Redistributable - 10.0.40219", "10.0.40219",
     "Microsoft Corporation", True, None, 15000),
    ("Microsoft SQL Server 2005 Express Edition (SQLEXPRESS)", "9.4.5000.00",
     "Microsoft Corporation", True, "C:\\Program Files\\Microsoft SQL Server\\", 201234),
    ("Microsoft SQL Server Native Client", "9.00.5000.00", "Microsoft Corporation", True, None,
     4608),
    ("Microsoft SQL Server Setup Support Files (English)", "9.00.5000.00",
     "Microsoft Corporation", True, None, 22016),
    ("Microsoft SQL Server VSS Writer", "9.00.5000.00", "Microsoft Corporation", True, None,
     712),
    ("MSXML 4.0 SP3 Parser", "4.30.2100.0", "Microsoft Corporation", True, None, 1372),
    # A KB number without "update" or "hotfix": stays a program.
    ("MSXML 6 Service Pack 2 (KB954459)", "6.20.1099.0", "Microsoft Corporation", True, None,
     1360),
    ("Windows Installer 3.1 (KB893803)", "3.1", "Microsoft Corporation", False, None, None),
    ("Windows Genuine Advantage Validation Tool (KB892130)", "1.9.0042.0",
     "Microsoft Corporation", False, None, None),
    ("Windows Internet Explorer 8", "20090308.140743", "Microsoft Corporation", False, None,
     None),
    ("Windows Media Format 11 runtime", None, "Microsoft Corporation", False, None, None),
    ("Windows Media Player 11", None, "Microsoft Corporation", False, None, None),
    ("Windows Search 4.0", "04.00.6001.503", "Microsoft Corporation", False, None, None),
    ("Windows XP Service Pack 3", "20080414.031525", "Microsoft Corporation", False, None,
     None),
    ("Windows Imaging Component", "3.0.0.0", "Microsoft Corporation", False, None, None),
    ("Microsoft Compression Client Pack 1.0 for Windows XP", "1", "Microsoft Corporation",
     False, None, None),
    ("Microsoft Base Smart Card Cryptographic Service Provider Package", None,
     "Microsoft Corporation", False, None, None),
    ("Microsoft User-Mode Driver Framework Feature Pack 1.0", None, "Microsoft Corporation",
     False, None, None),
    ("Microsoft Silverlight", "5.1.20125.0", "Microsoft Corporation", True,
     "C:\\Program Files\\Microsoft Silverlight\\", 51200),
    ("Google Chrome", "26.0.1410.43", "Google Inc.", False,
     "C:\\Program Files\\Google\\Chrome\\Application", 104857),
    ("Google Update Helper", "1.3.21.135", "Google Inc.", True, None, 36),
    ("Mozilla Firefox 19.0.2 (x86 de)", "19.0.2", "Mozilla", False,
     "C:\\Program Files\\Mozilla Firefox", 46172),
    ("Mozilla Maintenance Service", "19.0.2", "Mozilla", False, None, 320),
    ("McAfee VirusScan Enterprise", "8.8.02004", "McAfee, Inc.", True,
     "C:\\Program Files\\McAfee\\VirusScan Enterprise\\", 52326),
    ("McAfee Agent", "4.6.0.2935", "McAfee, Inc.", True,
     "C:\\Program Files\\McAfee\\Common Framework\\", 40961),
    ("Intel(R) Graphics Media Accelerator Driver", "6.14.10.4926", "Intel Corporation", False,
     None, None),
    ("Intel(R) Matrix Storage Manager", "7.8.0.1012", "Intel Corporation", False,
     "C:\\Program Files\\Intel\\Intel Matrix Storage Manager\\", 11264),
    ("Intel(R) PRO Network Connections Drivers", "", "Intel", False, None, None),
    ("SoundMAX", None, "Analog Devices", False, "C:\\Program Files\\Analog Devices\\", None),
    ("HP LaserJet P2015 Series", None, "Hewlett-Packard", False, None, None),
    ("HP Update", "5.003.001.001", "Hewlett-Packard", True, "C:\\Program Files\\HP\\", 3600),
    ("PDFCreator", "1.6.2", "Frank Heindörfer, Philip Chinery", False,
     "C:\\Program Files\\PDFCreator\\", 21000),
    ("7-Zip 9.20", "9.20", "Igor Pavlov", False, "C:\\Program Files\\7-Zip\\", 3800),
    ("WinZip 11.2", "11.2.8094", "WinZip Computing, Inc.", True,
     "C:\\Program Files\\WinZip\\", 9200),
    ("TeamViewer 7", "7.0.15723", "TeamViewer", False, "C:\\Program Files\\TeamViewer\\Version7",
     None),
    ("ElsterFormular", "14.5.0.35", "Landesamt für Steuern Rheinland-Pfalz", False,
     "C:\\Program Files\\ElsterFormular\\", 156000),
    ("KontoSync 3.2", "3.2.1", "KontoSync GmbH & Co. KG", False,
     "C:\\Program Files\\KontoSync\\", 88000),
    ("Notepad++", "6.3.1", "Notepad++ Team", False, "C:\\Program Files\\Notepad++\\", 8200),
    ("VLC media player 2.0.5", "2.0.5", "VideoLAN", False, "C:\\Program Files\\VideoLAN\\VLC",
     None),
    ("Windows PowerShell(TM) 1.0", "", "Microsoft Corporation", False, None, None),
    ("Bits &amp; Pieces Toolbar", "1.0.3", "Bits &amp; Pieces Ltd.", False,
     "C:\\Program Files\\Bits &amp; Pieces\\", 1200),
    ("Rechnungsdruck \"Schnell\" 2.1", "2.1", "Müller & Söhne Büro-Software", False,
     "C:\\Program Files\\Rechnungsdruck\\", 5400),
    ("Jürgen's Makros für Excel", "1.0", "", False, None, None),
    ("Acme </td><td>Reporter", "2.4", "Acme Software <b>Inc.</b>", False,
     "C:\\Program Files\\Acme\\Reporter\\", 2300),
    ("Netzlaufwerk-Verbinder (\\\\fileserver\\daten)", "1.2", "IT-Service Kaiser", False,
     None, None),
    ("Kassenbuch Pro 2013", "13.0.4", "Büroprofi Software GmbH", True,
     "C:\\Program Files\\Kassenbuch Pro 2013\\", 64000),
]

XP_OFFICE_UPDATES = [
    ("Security Update for Microsoft Office Excel 2007 (KB2760583)", "KB2760583"),
    ("Security Update for Microsoft Office Word 2007 (KB2760421)", "KB2760421"),
    ("Security Update for Microsoft Office PowerPoint 2007 (KB2596912)", "KB2596912"),
    ("Security Update for Microsoft Office Outlook 2007 (KB2794707)", "KB2794707"),
    ("Update for Microsoft Office 2007 suites (KB2767916)", "KB2767916"),
    ("Update for Microsoft Office 2007 suites (KB2596620)", "KB2596620"),
    ("Update for Microsoft Office 2007 Help for Common Features (KB963673)", "KB963673"),
    ("Update for Microsoft Office Outlook 2007 Junk Email Filter (KB2810013)", "KB2810013"),
    ("Security Update for 2007 Microsoft Office System (KB2596672)", "KB2596672"),
    ("Security Update for 2007 Microsoft Office System (KB2687439)", "KB2687439"),
    ("Security Update for Microsoft Office System 2007 (972581)", "KB972581"),
    ("Hotfix for Microsoft Office Excel 2007 (KB2596597)", "KB2596597"),
    ("Update for Microsoft Office Excel 2007 Help (KB963678)", "KB963678"),
    ("Security Update for Microsoft Office InfoPath 2007 (KB2687440)", "KB2687440"),
    ("Update for Microsoft Office Word 2007 Help (KB963665)", "KB963665"),
    ("Microsoft Office 2007 Service Pack 3 (SP3)", "KB2526086"),
]

XP_DOTNET_UPDATES = [
    ("Hotfix for Microsoft .NET Framework 3.5 SP1 (KB953595)", "KB953595",
     "Microsoft .NET Framework 3.5 SP1"),
    ("Hotfix for Microsoft .NET Framework 3.5 SP1 (KB958484)", "KB958484",
     "Microsoft .NET Framework 3.5 SP1"),
    ("Update for Microsoft .NET Framework 3.5 SP1 (KB963707)", "KB963707",
     "Microsoft .NET Framework 3.5 SP1"),
    ("Security Update for Microsoft .NET Framework 4 Client Profile (KB2604121)", "KB2604121",
     "Microsoft .NET Framework 4 Client Profile"),
    ("Security Update for Microsoft .NET Framework 4 Client Profile (KB2656351)", "KB2656351",
     "Microsoft .NET Framework 4 Client Profile"),
    ("Security Update for Microsoft .NET Framework 4 Client Profile (KB2789642)", "KB2789642",
     "Microsoft .NET Framework 4 Client Profile"),
    ("Update for Microsoft .NET Framework 4 Client Profile (KB2468871)", "KB2468871",
     "Microsoft .NET Framework 4 Client Profile"),
    ("Security Update for Microsoft .NET Framework 2.0 SP2 on Windows Server 2003 and Windows "
     "XP x86 (KB2729450)", "KB2729450", "Microsoft .NET Framework 2.0 Service Pack 2"),
    ("Security Update for Windows Internet Explorer 8 (KB2510531)", "KB2510531",
     "Windows Internet Explorer 8"),
    ("Security Update for Windows Internet Explorer 8 (KB2618444)", "KB2618444",
     "Windows Internet Explorer 8"),
    ("Security Update for Windows Media Player (KB978695)", "KB978695", "Windows Media Player 11"),
]

XP_SUBCOMPONENTS = [
    ("accessopt", 1), ("bitsserverextensionsisapi", 0), ("bitsserverextensionsmanager", 0),
    ("calc", 1), ("certsrv", 0), ("certsrv_client", 0), ("certsrv_server", 0), ("charmap", 1),
    ("chat", 1), ("clipbook", 1), ("deskpaper", 1), ("dialer", 1), ("fax", 1),
    ("fp_extensions", 0), ("fp_vdir_deploy", 0), ("freecell", 0), ("hearts", 0),
    ("hypertrm", 1), ("iisdbg", 0), ("iis_common", 0), ("iis_ftp", 0), ("iis_inetmgr", 0),
    ("iis_www", 0), ("iis_www_vdir_scripts", 0), ("indexsrv_system", 1), ("inetprint", 0),
    ("media_clips", 1), ("media_utopia", 1), ("minesweeper", 0), ("mousepoint", 1),
    ("msmq_core", 0), ("msmsgs", 1), ("msnexplr", 0), ("mswordpad", 1), ("netcis", 0),
    ("netoc", 1), ("objectpkg", 1), ("paint", 1), ("pinball", 0), ("rec", 1),
    ("rstorage", 1), ("solitaire", 0), ("spider", 0), ("templates", 1), ("TSWebClient", 0),
    ("vol", 1), ("WBEMSNMP", 0), ("WMAccess", 1), ("WMPOCM", 1), ("zonegames", 0),
]

XP_SERVICES = [
    "ALG|Application Layer Gateway Service|16|R", "AppMgmt|Application Management|32|S",
    "AudioSrv|Windows Audio|32|R", "BITS|Background Intelligent Transfer Service|32|R",
    "Browser|Computer Browser|32|R", "CiSvc|Indexing Service|16|R",
    "clr_optimization_v2.0.50727_32|.NET Runtime Optimization Service v2.0.50727_X86|16|S",
    "clr_optimization_v4.0.30319_32|Microsoft .NET Framework NGEN v4.0.30319_X86|16|S",
    "COMSysApp|COM+ System Application|16|S", "CryptSvc|Cryptographic Services|32|R",
    "DcomLaunch|DCOM Server Process Launcher|32|R", "Dhcp|DHCP Client|32|R",
    "dmserver|Logical Disk Manager|32|R", "Dnscache|DNS Client|32|R",
    "ERSvc|Error Reporting Service|32|R", "Eventlog|Event Log|32|R",
    "EventSystem|COM+ Event System|32|R",
    "FastUserSwitchingCompatibility|Fast User Switching Compatibility|32|R",
    "FontCache3.0.0.0|Windows Presentation Foundation Font Cache 3.0.0.0|16|S",
    "helpsvc|Help and Support|32|R", "HidServ|Human Interface Device Access|32|S",
    "HTTPFilter|HTTP SSL|32|R", "ImapiService|IMAPI CD-Burning COM Service|16|S",
    "lanmanserver|Server|32|R", "lanmanworkstation|Workstation|32|R",
    "LmHosts|TCP/IP NetBIOS Helper|32|R", "Messenger|Messenger|32|S",
    "MSDTC|Distributed Transaction Coordinator|16|R", "MSIServer|Windows Installer|32|S",
    "Netlogon|Net Logon|32|S", "Netman|Network Connections|32|R",
    "NetTcpPortSharing|Net.Tcp Port Sharing Service|32|S",
    "Nla|Network Location Awareness (NLA)|32|R", "NtmsSvc|Removable Storage|32|S",
    "PlugPlay|Plug and Play|32|R", "PolicyAgent|IPSEC Services|32|R",
    "ProtectedStorage|Protected Storage|32|R", "RasMan|Remote Access Connection Manager|32|R",
    "RemoteAccess|Routing and Remote Access|32|S", "RemoteRegistry|Remote Registry|32|R",
    "RpcSs|Remote Procedure Call (RPC)|32|R", "SamSs|Security Accounts Manager|32|R",
    "SCardSvr|Smart Card|32|S", "Schedule|Task Scheduler|32|R", "seclogon|Secondary Logon|32|R",
    "SENS|System Event Notification|32|R",
    "SharedAccess|Windows Firewall/Internet Connection Sharing (ICS)|32|R",
    "ShellHWDetection|Shell Hardware Detection|32|R", "Spooler|Print Spooler|272|R",
    "srservice|System Restore Service|32|R", "SSDPSRV|SSDP Discovery Service|32|R",
    "stisvc|Windows Image Acquisition (WIA)|32|R", "SwPrv|MS Software Shadow Copy Provider|16|S",
    "SysmonLog|Performance Logs and Alerts|16|S", "TapiSrv|Telephony|32|R",
    "TermService|Terminal Services|32|R", "Themes|Themes|32|R",
    "TrkWks|Distributed Link Tracking Client|32|R",
    "upnphost|Universal Plug and Play Device Host|32|S", "VSS|Volume Shadow Copy|16|S",
    "W32Time|Windows Time|32|R", "WebClient|WebClient|32|R",
    "winmgmt|Windows Management Instrumentation|32|R", "WmiApSrv|WMI Performance Adapter|16|S",
    "wscsvc|Security Center|32|R", "WSearch|Windows Search|16|R",
    "wuauserv|Automatic Updates|32|R", "WudfSvc|Windows User Mode Driver Framework|32|R",
    "WZCSVC|Wireless Zero Configuration|32|R", "AdobeARMservice|Adobe Acrobat Update Service|16|R",
    "gupdate|Google Update Service (gupdate)|16|S",
    "gupdatem|Google Update Service (gupdatem)|16|S",
    "IAANTMON|Intel(R) Matrix Storage Event Monitor|16|R",
    "JavaQuickStarterService|Java Quick Starter|16|R",
    "McAfeeFramework|McAfee Framework Service|16|R", "McShield|McAfee McShield|16|R",
    "McTaskManager|McAfee Task Manager|16|R",
    "mfevtp|McAfee Validation Trust Protection Service|16|R", "MDM|Machine Debug Manager|16|R",
    "MozillaMaintenance|Mozilla Maintenance Service|16|S",
    "MSSQL$SQLEXPRESS|SQL Server (SQLEXPRESS)|16|R", "SQLBrowser|SQL Server Browser|16|R",
    "SQLWriter|SQL Server VSS Writer|16|R", "ose|Office Source Engine|16|S",
    "Pml Driver HPZ12|Pml Driver HPZ12|16|R", "Net Driver HPZ12|Net Driver HPZ12|16|R",
    "TeamViewer7|TeamViewer 7|16|R",
    "SoundMAX Agent Service (default)|SoundMAX Agent Service|16|R",
    "KontoSyncUpdate|KontoSync Aktualisierungsdienst für Zahlungsverkehr|16|S",
    "ACPI|Microsoft ACPI Driver|1|R",
    "ADIHdAudAddService|ADI UAA Function Driver for High Definition Audio Service|1|R",
    "AFD|AFD|1|R", "atapi|Standard IDE/ESDI Hard Disk Controller|1|R", "Beep|Beep|1|R",
    "Cdfs|Cdfs|2|R", "Cdrom|CD-ROM Driver|1|R", "Disk|Disk Driver|1|R",
    "dmio|Logical Disk Manager Driver|1|R",
    "E1000|Intel(R) PRO/1000 PCI Express Network Connection Driver|1|R", "Fastfat|Fastfat|2|R",
    "Fdc|Floppy Disk Controller Driver|1|S", "Flpydisk|Floppy Disk Driver|1|S",
    "FltMgr|FltMgr|2|R", "Fs_Rec|Fs_Rec|2|R", "Ftdisk|Volume Manager Driver|1|R",
    "HDAudBus|Microsoft UAA Bus Driver for High Definition Audio|1|R",
    "hidusb|Microsoft HID Class Driver|1|R", "HPZid412|IEEE-1284.4 Driver HPZid412|1|R",
    "HPZius12|USB to IEEE-1284.4 Translation Driver HPZius12|1|R", "HTTP|HTTP|1|R",
    "i8042prt|i8042 Keyboard and PS/2 Mouse Port Driver|1|R", "ialm|ialm|1|R",
    "iaStor|Intel RAID Controller|1|R", "Imapi|CD-Burning Filter Driver|1|R",
    "intelppm|Intel Processor Driver|1|R", "IPSec|IPSEC driver|1|R",
    "Kbdclass|Keyboard Class Driver|1|R", "kbdhid|Keyboard HID Driver|1|R", "KSecDD|KSecDD|1|R",
    "mfeavfk|McAfee Inc. mfeavfk|2|R", "mfehidk|McAfee Inc. mfehidk|1|R",
    "mfetdik|McAfee Inc. mfetdik|1|R", "Mouclass|Mouse Class Driver|1|R",
    "mouhid|Mouse HID Driver|1|R", "MountMgr|Mount Point Manager|1|R",
    "MRxDAV|WebDav Client Redirector|2|R", "MRxSmb|MRxSmb|2|R", "Msfs|Msfs|2|R", "Mup|Mup|2|R",
    "NDIS|NDIS System Driver|1|R", "NetBIOS|NetBIOS Interface|2|R", "NetBT|NetBios over Tcpip|1|R",
    "Npfs|Npfs|2|R", "Ntfs|Ntfs|2|R", "Parport|Parallel port driver|1|R", "PCI|PCI Bus Driver|1|R",
    "PSched|QoS Packet Scheduler|1|R", "Rdbss|Rdbss|2|R", "RDPCDD|RDPCDD|1|R",
    "Serial|Serial port driver|1|R", "sr|System Restore Filter Driver|2|R", "Srv|Srv|2|R",
    "swenum|Software Bus Driver|1|R", "sysaudio|Microsoft Kernel System Audio Device|1|R",
    "Tcpip|TCP/IP Protocol Driver|1|R", "TermDD|Terminal Device Driver|1|R", "Udfs|Udfs|2|S",
    "usbehci|Microsoft USB 2.0 Enhanced Host Controller Miniport Driver|1|R",
    "usbhub|Microsoft USB Standard Hub Driver|1|R", "usbprint|Microsoft USB PRINTER Class|1|R",
    "USBSTOR|USB Mass Storage Driver|1|S",
    "usbuhci|Microsoft USB Universal Host Controller Miniport Driver|1|R", "VolSnap|VolSnap|1|R",
    "Wanarp|Remote Access IP ARP Driver|1|R",
    "wdmaud|Microsoft WINMM WDM Audio Compatibility Driver|1|R",
]


def xp_processes(rng):
    p = Processes(rng, (2013, 4, 15, 7, 42, 11), 120)
    sys32 = "C:\\WINDOWS\\system32\\"
    pf = "C:\\Program Files\\"
    p.add("System Idle Process", None, None, session=0, threads=2)
    system = p.add("System", None, None, session=0, threads=104)
    smss = p.add("smss.exe", sys32 + "smss.exe", "\\SystemRoot\\System32\\smss.exe",
                 parent=system, session=0)
    p.add("csrss.exe", "\\??\\" + sys32 + "csrss.exe",
          sys32 + "csrss.exe ObjectDirectory=\\Windows SharedSection=1024,3072,512 Windows=On "
          "SubSystemType=Windows ServerDll=basesrv,1 ServerDll=winsrv:UserServerDllInitialization,"
          "3 ServerDll=winsrv:ConServerDllInitialization,2 ProfileControl=Off "
          "MaxRequestThreads=16", parent=smss, session=0)
    winlogon = p.add("winlogon.exe", "\\??\\" + sys32 + "winlogon.exe", "winlogon.exe",
                     parent=smss, session=0)
    services = p.add("services.exe", sys32 + "services.exe", sys32 + "services.exe",
                     parent=winlogon, session=0)
    p.add("lsass.exe", sys32 + "lsass.exe", sys32 + "lsass.exe", parent=winlogon, session=0)
    for group in ["DcomLaunch", "rpcss", "netsvcs", "NetworkService", "LocalService",
                  "imgsvc", "HTTPFilter"]:
        folder = "C:\\WINDOWS\\System32\\" if group == "netsvcs" else sys32
        exe = "svchost.exe" if group not in ("DcomLaunch", "rpcss") else "svchost"
        p.add("svchost.exe", sys32 + "svchost.exe", folder + exe + " -k " + group,
              parent=services, session=0)
    for name, path, command in [
        ("spoolsv.exe", sys32 + "spoolsv.exe", sys32 + "spoolsv.exe"),
        ("alg.exe", "C:\\WINDOWS\\System32\\alg.exe", "C:\\WINDOWS\\System32\\alg.exe"),
        ("cisvc.exe", sys32 + "cisvc.exe", sys32 + "cisvc.exe"),
        ("wdfmgr.exe", sys32 + "wdfmgr.exe", sys32 + "wdfmgr.exe"),
        ("jqs.exe", pf + "Java\\jre6\\bin\\jqs.exe",
         '"' + pf + 'Java\\jre6\\bin\\jqs.exe" -service -config "' + pf +
         'Java\\jre6\\lib\\deploy\\jqs\\jqs.conf"'),
        ("mdm.exe", pf + "Common Files\\Microsoft Shared\\VS7DEBUG\\MDM.EXE",
         '"' + pf + 'Common Files\\Microsoft Shared\\VS7DEBUG\\MDM.EXE"'),
        ("sqlservr.exe", pf + "Microsoft SQL Server\\MSSQL.1\\MSSQL\\Binn\\sqlservr.exe",
         '"' + pf + 'Microsoft SQL Server\\MSSQL.1\\MSSQL\\Binn\\sqlservr.exe" -sSQLEXPRESS'),
        ("sqlbrowser.exe", pf + "Microsoft SQL Server\\90\\Shared\\sqlbrowser.exe",
         '"' + pf + 'Microsoft SQL Server\\90\\Shared\\sqlbrowser.exe"'),
        ("sqlwriter.exe", pf + "Microsoft SQL Server\\90\\Shared\\sqlwriter.exe",
         '"' + pf + 'Microsoft SQL Server\\90\\Shared\\sqlwriter.exe"'),
        ("FrameworkService.exe", pf + "McAfee\\Common Framework\\FrameworkService.exe",
         '"' + pf + 'McAfee\\Common Framework\\FrameworkService.exe" /ServiceStart'),
        ("Mcshield.exe", pf + "McAfee\\VirusScan Enterprise\\Mcshield.exe",
         '"' + pf + 'McAfee\\VirusScan Enterprise\\Mcshield.exe"'),
        ("VsTskMgr.exe", pf + "McAfee\\VirusScan Enterprise\\VsTskMgr.exe",
         '"' + pf + 'McAfee\\VirusScan Enterprise\\VsTskMgr.exe"'),
        ("mfevtps.exe", sys32 + "mfevtps.exe", sys32 + "mfevtps.exe"),
        ("IAANTMON.EXE", pf + "Intel\\Intel Matrix Storage Manager\\Iaantmon.exe",
         pf + "Intel\\Intel Matrix Storage Manager\\Iaantmon.exe"),
        ("HPZipm12.exe", sys32 + "HPZipm12.exe", sys32 + "HPZipm12.exe"),
        ("TeamViewer_Service.exe", pf + "TeamViewer\\Version7\\TeamViewer_Service.exe",
         '"' + pf + 'TeamViewer\\Version7\\TeamViewer_Service.exe"'),
        ("SearchIndexer.exe", sys32 + "SearchIndexer.exe", sys32 + "SearchIndexer.exe /Embedding"),
        ("AdobeARM.exe", pf + "Common Files\\Adobe\\ARM\\1.0\\armsvc.exe",
         '"' + pf + 'Common Files\\Adobe\\ARM\\1.0\\armsvc.exe"'),
        ("SoundMAXPnP.exe", pf + "Analog Devices\\Core\\SoundMAXPnP.exe",
         '"' + pf + 'Analog Devices\\Core\\SoundMAXPnP.exe"'),
    ]:
        p.add(name, path, command, parent=services, session=0)
    p.add("wmiprvse.exe", sys32 + "wbem\\wmiprvse.exe", sys32 + "wbem\\wmiprvse.exe",
          parent=services, session=0)
    p.add("wuauclt.exe", sys32 + "wuauclt.exe",
          '"' + sys32 + 'wuauclt.exe" /RunStoreAsComServer Local\\[3c0]SUSDS4a3b7f1e8f4c1a4d'
          '9b86a6d52bb0b2f1', parent=services, session=0)

    explorer = p.add("explorer.exe", "C:\\WINDOWS\\Explorer.EXE", "C:\\WINDOWS\\Explorer.EXE",
                     threads=22)
    docs = XP_PROFILE + "\\Eigene Dateien\\"
    for name, path, command in [
        ("ctfmon.exe", sys32 + "ctfmon.exe", '"' + sys32 + 'ctfmon.exe"'),
        ("wscntfy.exe", sys32 + "wscntfy.exe", sys32 + "wscntfy.exe"),
        ("igfxtray.exe", sys32 + "igfxtray.exe", '"' + sys32 + 'igfxtray.exe"'),
        ("hkcmd.exe", sys32 + "hkcmd.exe", '"' + sys32 + 'hkcmd.exe"'),
        ("igfxpers.exe", sys32 + "igfxpers.exe", '"' + sys32 + 'igfxpers.exe"'),
        ("smax4pnp.exe", pf + "Analog Devices\\Core\\smax4pnp.exe",
         '"' + pf + 'Analog Devices\\Core\\smax4pnp.exe"'),
        ("jusched.exe", pf + "Java\\jre6\\bin\\jusched.exe",
         '"' + pf + 'Java\\jre6\\bin\\jusched.exe"'),
        ("reader_sl.exe", pf + "Adobe\\Reader 10.0\\Reader\\reader_sl.exe",
         '"' + pf + 'Adobe\\Reader 10.0\\Reader\\reader_sl.exe"'),
        ("iaanotif.exe", pf + "Intel\\Intel Matrix Storage Manager\\iaanotif.exe",
         '"' + pf + 'Intel\\Intel Matrix Storage Manager\\iaanotif.exe"'),
        ("UdaterUI.exe", pf + "McAfee\\Common Framework\\UdaterUI.exe",
         '"' + pf + 'McAfee\\Common Framework\\udaterui.exe" /StartedFromRunKey'),
        ("shstat.exe", pf + "McAfee\\VirusScan Enterprise\\SHSTAT.EXE",
         '"' + pf + 'McAfee\\VirusScan Enterprise\\SHSTAT.EXE" /STANDALONE'),
        ("McTray.exe", pf + "McAfee\\Common Framework\\McTray.exe",
         '"' + pf + 'McAfee\\Common Framework\\McTray.exe"'),
        ("msmsgs.exe", pf + "Messenger\\msmsgs.exe",
         '"' + pf + 'Messenger\\msmsgs.exe" /background'),
        ("hpwuSchd2.exe", pf + "HP\\HP Software Update\\hpwuSchd2.exe",
         '"' + pf + 'HP\\HP Software Update\\hpwuSchd2.exe"'),
        ("TeamViewer.exe", pf + "TeamViewer\\Version7\\TeamViewer.exe",
         '"' + pf + 'TeamViewer\\Version7\\TeamViewer.exe"'),
        ("OUTLOOK.EXE", pf + "Microsoft Office\\Office12\\OUTLOOK.EXE",
         '"' + pf + 'Microsoft Office\\Office12\\OUTLOOK.EXE" /recycle'),
        ("WINWORD.EXE", pf + "Microsoft Office\\Office12\\WINWORD.EXE",
         '"' + pf + 'Microsoft Office\\Office12\\WINWORD.EXE" /n /dde'),
        ("EXCEL.EXE", pf + "Microsoft Office\\Office12\\EXCEL.EXE",
         '"' + pf + 'Microsoft Office\\Office12\\EXCEL.EXE" '
         '"\\\\fileserver\\Buchhaltung\\2013\\Kassenbuch März 2013.xls"'),
        ("firefox.exe", pf + "Mozilla Firefox\\firefox.exe",
         '"' + pf + 'Mozilla Firefox\\firefox.exe" '),
        ("plugin-container.exe", pf + "Mozilla Firefox\\plugin-container.exe",
         '"' + pf + 'Mozilla Firefox\\plugin-container.exe" --channel=3412.7fd2a48->7fd2b78 '
         '-greomni "' + pf + 'Mozilla Firefox\\omni.ja" -appomni "' + pf +
         'Mozilla Firefox\\browser\\omni.ja" -appdir "' + pf + 'Mozilla Firefox\\browser" 3412 '
         '"\\\\.\\pipe\\gecko-crash-server-pipe.3412" plugin '
         + sys32 + 'Macromed\\Flash\\NPSWF32_11_6_602_180.dll'),
        ("AcroRd32.exe", pf + "Adobe\\Reader 10.0\\Reader\\AcroRd32.exe",
         '"' + pf + 'Adobe\\Reader 10.0\\Reader\\AcroRd32.exe" "' + docs +
         'Rechnungen\\Rechnung_2013-0412.pdf"'),
        ("AcroRd32.exe", pf + "Adobe\\Reader 10.0\\Reader\\AcroRd32.exe",
         '"' + pf + 'Adobe\\Reader 10.0\\Reader\\AcroRd32.exe" --channel=2716.0.1372411907 '
         '--type=renderer "' + docs + 'Rechnungen\\Rechnung_2013-0412.pdf"'),
        ("notepad.exe", sys32 + "notepad.exe",
         '"' + sys32 + 'NOTEPAD.EXE" ' + XP_PROFILE + "\\Desktop\\O'Neil Angebot (alt).txt"),
        ("cmd.exe", sys32 + "cmd.exe",
         '"' + sys32 + 'cmd.exe" /c ""\\\\fileserver\\netlogon\\logon.cmd" & echo '
         '"<script>alert(1)</script>" > %TEMP%\\logon.html"'),
        ("javaw.exe", pf + "Java\\jre6\\bin\\javaw.exe",
         '"' + pf + 'Java\\jre6\\bin\\javaw.exe" -Xmx768m -Dfile.encoding=Cp1252 '
         '-Dkontosync.home="' + pf + 'KontoSync" -cp "' +
         long_classpath(rng, pf + "KontoSync", 150) + '" de.kontosync.app.Main --profile '
         '"Müller & Söhne"'),
        ("PDFCreator.exe", pf + "PDFCreator\\PDFCreator.exe",
         '"' + pf + 'PDFCreator\\PDFCreator.exe" -Printermode'),
        ("rundll32.exe", sys32 + "rundll32.exe",
         'rundll32.exe shell32.dll,Control_RunDLL "' + sys32 + 'desk.cpl",Anzeige,@Settings'),
        ("taskmgr.exe", sys32 + "taskmgr.exe", "taskmgr.exe"),
        ("SearchProtocolHost.exe", sys32 + "SearchProtocolHost.exe",
         '"' + sys32 + 'SearchProtocolHost.exe" Global\\UsGthrFltPipeMssGthrPipe5_ '
         'Global\\UsGthrCtrlFltPipeMssGthrPipe5 1 -2147483646 "Software\\Microsoft\\Windows '
         'Search" "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT; MS Search 4.0 Robot)" '
         '"C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\Search\\Data\\'
         'Temp\\usgthrsvc" "DownLevelDaemon"'),
        ("pica.exe", pf + "ElsterFormular\\bin\\pica.exe", ""),
    ]:
        p.add(name, path, command, parent=explorer)
    p.add("wmiprvse.exe", sys32 + "wbem\\wmiprvse.exe", sys32 + "wbem\\wmiprvse.exe",
          parent=services, session=0)
    p.add("msiexec.exe", sys32 + "msiexec.exe", sys32 + "msiexec.exe /V", parent=services,
          session=0)
    return p.items


def xp_desktop():
    rng = random.Random(0x5801)
    offset = 120
    hotfix_pool = rng.sample(XP_HOTFIXES, 48)
    # WMI reports the first of them; the rest are only in the uninstall key.
    reported = hotfix_pool[:36]

    def windows_title(kb):
        roll = rng.random()
        kind = "Security Update" if roll < 0.7 else "Update" if roll < 0.93 else "Hotfix"
        return f"{kind} for Windows XP ({kb})"

    titles = {kb: windows_title(kb) for kb in hotfix_pool}

    qfe = []
    for kb in sorted(reported, key=lambda k: int(k[2:])):
        qfe.append({
            "Caption": "http://support.microsoft.com/?kbid=" + kb[2:],
            "CSName": XP_HOST,
            "Description": titles[kb],
            "FixComments": "",
            "HotFixID": kb,
            "InstallDate": None,
            "InstalledBy": rng.choice(["Administrator", "SYSTEM", "Administrator", XP_USER]),
            "InstalledOn": us_date(rng, 2009, 2013),
            "ServicePackInEffect": rng.choice(["SP4", "SP3"]),
            "Status": None,
        })
    # The per-file entries XP reports with an empty description, and the old placeholder.
    for kb in rng.sample(reported, 6):
        qfe.append({"Caption": "", "CSName": XP_HOST, "Description": "", "FixComments": "",
                    "HotFixID": "File 1", "InstallDate": None, "InstalledBy": "",
                    "InstalledOn": "", "ServicePackInEffect": kb, "Status": None})
    qfe.append({"Caption": "", "CSName": XP_HOST, "Description": "", "FixComments": "",
                "HotFixID": "Q147222", "InstallDate": None, "InstalledBy": "",
                "InstalledOn": "", "ServicePackInEffect": "SP1", "Status": None})

    nics = [
        {"Index": u32(1), "Description": "RAS Async Adapter", "IPEnabled": False,
         "MACAddress": "20:41:53:59:4E:FF", "DHCPEnabled": False, "IPAddress": None},
        {"Index": u32(2), "Description": "WAN Miniport (L2TP)", "IPEnabled": False,
         "MACAddress": None, "DHCPEnabled": False, "IPAddress": None},
        {"Index": u32(3), "Description": "WAN Miniport (PPTP)", "IPEnabled": False,
         "MACAddress": "50:50:54:50:30:30", "DHCPEnabled": False, "IPAddress": None},
        {"Index": u32(4), "Description": "WAN Miniport (PPPOE)", "IPEnabled": False,
         "MACAddress": "33:50:6F:45:30:30", "DHCPEnabled": False, "IPAddress": None},
        {"Index": u32(5), "Description": "Direct Parallel", "IPEnabled": False,
         "MACAddress": None, "DHCPEnabled": False, "IPAddress": None},
        {"Index": u32(6), "Description": "WAN Miniport (IP)", "IPEnabled": False,
         "MACAddress": None, "DHCPEnabled": False, "IPAddress": None},
        {"Index": u32(7), "Description": "Intel(R) 82566DM-2 Gigabit Network Connection",
         "IPEnabled": True, "MACAddress": "00:1E:C9:4A:12:7B", "DHCPEnabled": True,
         "IPAddress": ["192.168.178.23"], "IPSubnet": ["255.255.255.0"],
         "DefaultIPGateway": ["192.168.178.1"], "DNSDomain": "fritz.box",
         "DHCPServer": "192.168.178.1"},
        {"Index": u32(8), "Description": "Intel(R) 82566DM-2 Gigabit Network Connection - "
         "Packet Scheduler Miniport", "IPEnabled": False, "MACAddress": "00:1E:C9:4A:12:7B",
         "DHCPEnabled": False, "IPAddress": None},
        {"Index": u32(9), "Description": "WAN Miniport (IP) - Packet Scheduler Miniport",
         "IPEnabled": False, "MACAddress": "CA:E3:20:52:41:53", "DHCPEnabled": False,
         "IPAddress": None},
    ]

    processes = xp_processes(rng)
    wmi = {
        "Win32_Process": processes,
        "Win32_BIOS": [{
            "Name": "Phoenix ROM BIOS PLUS Version 1.10 A14",
            "Version": "DELL   - 15",
            "Manufacturer": "Dell Inc.",
            "Description": "Phoenix ROM BIOS PLUS Version 1.10 A14",
            "IdentificationCode": None,
            "SerialNumber": "7XK3Q2J",
            "SMBIOSBIOSVersion": "A14",
            "ReleaseDate": "20100224000000.000000+000",
            "BIOSVersion": ["DELL   - 15", "Phoenix ROM BIOS PLUS Version 1.10 A14"],
            "PrimaryBIOS": True,
            "Status": "OK",
        }],
        "Win32_OperatingSystem": [{
            "Caption": "Microsoft Windows XP Professional",
            "Version": "5.1.2600",
            "BuildNumber": "2600",
            "CSDVersion": "Service Pack 3",
            "ServicePackMajorVersion": 3,
            "InstallDate": wmi_datetime(2008, 3, 14, 9, 35, 12, 0, 60),
            "LastBootUpTime": wmi_datetime(2013, 4, 15, 7, 42, 11, 375000, offset),
            "LocalDateTime": wmi_datetime(2013, 4, 15, 11, 18, 40, 125000, offset),
            "CurrentTimeZone": i16(offset),
            "TotalVisibleMemorySize": "2096620",
            "FreePhysicalMemory": "1012344",
            "TotalVirtualMemorySize": "2097024",
            "FreeVirtualMemory": "2004180",
            "WindowsDirectory": "C:\\WINDOWS",
            "SystemDirectory": "C:\\WINDOWS\\system32",
            "SystemDrive": "C:",
            "Description": "",
            "CSName": XP_HOST,
            "Manufacturer": "Microsoft Corporation",
            "Organization": "Müller & Söhne",
            "RegisteredUser": XP_USER,
            "SerialNumber": "76487-OEM-0011903-00102",
            "OSLanguage": u32(1031),
            "OSType": 18,
            "ProductType": u32(1),
            "NumberOfProcesses": u32(len(processes)),
            "Primary": True,
        }],
        "Win32_ComputerSystem": [{
            "Manufacturer": "Dell Inc.",
            "Model": "OptiPlex 755",
            "Name": XP_HOST,
            "Domain": "MUELLER",
            "PartOfDomain": False,
            "DomainRole": 0,
            "NumberOfProcessors": u32(1),
            "SystemType": "X86-based PC",
            "TotalPhysicalMemory": "2146938880",
            "UserName": XP_HOST + "\\" + XP_USER,
            "Workgroup": "MUELLER",
        }],
        "Win32_MotherboardDevice": [{
            "Caption": "Motherboard", "DeviceID": "Motherboard", "Name": "Motherboard",
            "PrimaryBusType": "PCI", "SecondaryBusType": "ISA", "Availability": 3,
        }],
        "Win32_SoundDevice": [{
            "Caption": "SoundMAX Integrated Digital HD Audio",
            "Description": "SoundMAX Integrated Digital HD Audio",
            "Manufacturer": "Analog Devices",
            "DeviceID": "HDAUDIO\\FUNC_01&VEN_11D4&DEV_1984&SUBSYS_1028020D&REV_1004\\"
                        "4&2A5C8B4E&0&0001",
            "ProductName": "SoundMAX Integrated Digital HD Audio",
            "StatusInfo": 3,
        }],
        "Win32_CDROMDrive": [{
            "Name": "HL-DT-ST DVD+-RW GSA-H62N",
            "Caption": "HL-DT-ST DVD+-RW GSA-H62N",
            "Drive": "D:",
            "Manufacturer": "(Standard CD-ROM drives)",
            "MediaLoaded": False,
            "DeviceID": "IDE\\CDROMHL-DT-ST_DVD+-RW_GSA-H62N_______________CL00____\\"
                        "5&1A8A0F1E&0&0.0.0",
        }],
        "Win32_VideoController": [{
            "Name": "Intel(R) Q35 Express Chipset Family",
            "Caption": "Intel(R) Q35 Express Chipset Family",
            "AdapterRAM": u32(268435456),
            "DriverVersion": "6.14.10.4926",
            "VideoProcessor": "Intel(R) GMA 3100",
            "CurrentHorizontalResolution": u32(1280),
            "CurrentVerticalResolution": u32(1024),
            "CurrentBitsPerPixel": u32(32),
            "CurrentRefreshRate": u32(60),
            "VideoModeDescription": "1280 x 1024 x 4294967296 colors",
        }],
        "Win32_DesktopMonitor": [
            {"Name": "Dell 1908FP (Digital)", "Description": "Dell 1908FP (Digital)",
             "DeviceID": "DesktopMonitor1", "MonitorManufacturer": "Dell Inc.",
             "MonitorType": "Dell 1908FP (Digital)", "ScreenHeight": u32(1024),
             "ScreenWidth": u32(1280), "PNPDeviceID": "DISPLAY\\DELA03C\\5&2F1B3C6A&0&UID"
                                                     "16843008"},
            {"Name": "Plug and Play Monitor", "Description": "Plug and Play Monitor",
             "DeviceID": "DesktopMonitor2", "MonitorManufacturer": "(Standard monitor types)",
             "MonitorType": "Plug and Play Monitor", "ScreenHeight": None,
             "ScreenWidth": None},
        ],
        "Win32_Registry": [{
            "Caption": "Registry", "Description": "Registry",
            "Name": "Microsoft Windows XP Professional|C:\\WINDOWS|\\Device\\Harddisk0\\"
                    "Partition1",
            "CurrentSize": u32(38), "MaximumSize": u32(88), "ProposedSize": u32(88),
            "Status": "OK",
        }],
        "Win32_LogicalDisk": [
            {"DeviceID": "C:", "DriveType": u32(3), "FileSystem": "NTFS",
             "Size": "80015491072", "FreeSpace": "23456219136", "VolumeName": "",
             "VolumeSerialNumber": "B8C4A2E1", "ProviderName": None, "MediaType": u32(12)},
            {"DeviceID": "D:", "DriveType": u32(5), "FileSystem": None, "Size": None,
             "FreeSpace": None, "VolumeName": None, "ProviderName": None,
             "MediaType": u32(11)},
            {"DeviceID": "H:", "DriveType": u32(4), "FileSystem": "NTFS",
             "Size": "499972575232", "FreeSpace": "187214913536", "VolumeName": "home",
             "ProviderName": "\\\\fileserver\\home\\jmueller", "MediaType": u32(0)},
            {"DeviceID": "S:", "DriveType": u32(4), "FileSystem": "NTFS",
             "Size": "499972575232", "FreeSpace": "187214913536", "VolumeName": "Scans",
             "ProviderName": "\\\\fileserver\\Scans & Belege", "MediaType": u32(0)},
        ],
        "Win32_NetworkAdapterConfiguration": nics,
        "Win32_Printer": [
            {"Caption": "HP LaserJet P2015 Series PCL 6", "DeviceID": "HP LaserJet P2015 "
             "Series PCL 6", "Name": "HP LaserJet P2015 Series PCL 6", "ShareName": "LJ2015",
             "ServerName": None, "DriverName": "HP LaserJet P2015 Series PCL 6",
             "PortName": "USB001", "Shared": True, "Local": True, "Network": False,
             "Default": True, "Location": "Büro 2 </td>"},
            {"Caption": "\\\\fileserver\\Kyocera FS-2100DN", "DeviceID": "\\\\fileserver\\"
             "Kyocera FS-2100DN", "Name": "\\\\fileserver\\Kyocera FS-2100DN",
             "ShareName": "Kyocera FS-2100DN", "ServerName": "\\\\fileserver",
             "DriverName": "Kyocera FS-2100DN KX", "PortName": "IP_192.168.178.40",
             "Shared": False, "Local": False, "Network": True, "Default": False,
             "Location": ""},
            {"Caption": "PDFCreator", "DeviceID": "PDFCreator", "Name": "PDFCreator",
             "ShareName": "", "ServerName": None, "DriverName": "PDFCreator",
             "PortName": "PDFCreator:", "Shared": False, "Local": True, "Network": False,
             "Default": False, "Location": None},
            {"Caption": "Microsoft XPS Document Writer", "DeviceID": "Microsoft XPS Document "
             "Writer", "Name": "Microsoft XPS Document Writer", "ShareName": None,
             "ServerName": None, "DriverName": "Microsoft XPS Document Writer",
             "PortName": "XPSPort:", "Shared": False, "Local": True, "Network": False,
             "Default": False},
            {"Caption": "Fax", "DeviceID": "Fax", "Name": "Fax", "ShareName": None,
             "ServerName": None, "DriverName": "Microsoft Shared Fax Driver",
             "PortName": "SHRFAX:", "Shared": False, "Local": True, "Network": False,
             "Default": False},
        ],
        "Win32_StartupCommand": [
            {"Name": "ctfmon.exe", "Caption": "ctfmon.exe",
             "Command": "C:\\WINDOWS\\system32\\ctfmon.exe",
             "Location": "HKU\\S-1-5-21-1957994488-1770027372-725345543-1003\\SOFTWARE\\"
                         "Microsoft\\Windows\\CurrentVersion\\Run",
             "User": XP_HOST + "\\" + XP_USER},
            {"Name": "IgfxTray", "Caption": "IgfxTray",
             "Command": "C:\\WINDOWS\\system32\\igfxtray.exe",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "HotKeysCmds", "Caption": "HotKeysCmds",
             "Command": "C:\\WINDOWS\\system32\\hkcmd.exe",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "SunJavaUpdateSched", "Caption": "SunJavaUpdateSched",
             "Command": "\"C:\\Program Files\\Java\\jre6\\bin\\jusched.exe\"",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "Adobe Reader Speed Launcher", "Caption": "Adobe Reader Speed Launcher",
             "Command": "\"C:\\Program Files\\Adobe\\Reader 10.0\\Reader\\Reader_sl.exe\"",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "ShStatEXE", "Caption": "ShStatEXE",
             "Command": "\"C:\\Program Files\\McAfee\\VirusScan Enterprise\\SHSTAT.EXE\" "
                        "/STANDALONE",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "Toolbar <Updater>", "Caption": "Toolbar <Updater>",
             "Command": "\"C:\\Program Files\\Bits &amp; Pieces\\updater.exe\" /silent",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "KontoSync Erinnerung", "Caption": "KontoSync Erinnerung",
             "Command": "KontoSync Erinnerung.lnk", "Location": "Startup",
             "User": XP_HOST + "\\" + XP_USER},
            {"Name": "Microsoft Office", "Caption": "Microsoft Office",
             "Command": "Microsoft Office.lnk", "Location": "Common Startup",
             "User": "All Users"},
        ],
        "Win32_PhysicalMemory": [
            {"Tag": f"Physical Memory {i}", "DeviceLocator": f"DIMM_{i + 1}",
             "BankLabel": "", "Capacity": "1073741824", "Speed": u32(667),
             "Manufacturer": "CE00000000000000", "PartNumber": "M3 78T2863QZS-CE6",
             "FormFactor": 8, "MemoryType": 21}
            for i in range(2)
        ],
        "Win32_PhysicalMemoryArray": [{
            "Tag": "Physical Memory Array 0", "MaxCapacity": u32(8388608),
            "MemoryDevices": 4, "Location": 3, "Use": 3,
        }],
        "Win32_UserAccount": [
            {"Name": "Administrator", "FullName": "", "Domain": XP_HOST,
             "Description": "Vordefiniertes Konto für die Verwaltung des Computers bzw. der "
                            "Domäne", "Disabled": False, "LocalAccount": True,
             "SID": "S-1-5-21-1957994488-1770027372-725345543-500"},
            {"Name": "Gast", "FullName": "", "Domain": XP_HOST,
             "Description": "Vordefiniertes Konto für Gastzugriff auf den Computer bzw. die "
                            "Domäne", "Disabled": True, "LocalAccount": True,
             "SID": "S-1-5-21-1957994488-1770027372-725345543-501"},
            {"Name": "HelpAssistant", "FullName": "Remotedesktop-Hilfeassistent-Konto",
             "Domain": XP_HOST, "Disabled": True, "LocalAccount": True,
             "SID": "S-1-5-21-1957994488-1770027372-725345543-1000"},
            {"Name": "SUPPORT_388945a0", "FullName": "CN=Microsoft Corporation,L=Redmond,"
             "S=Washington,C=US", "Domain": XP_HOST, "Disabled": True, "LocalAccount": True,
             "SID": "S-1-5-21-1957994488-1770027372-725345543-1002"},
            {"Name": XP_USER, "FullName": "Jürgen Müller", "Domain": XP_HOST,
             "Description": "", "Disabled": False, "LocalAccount": True,
             "SID": "S-1-5-21-1957994488-1770027372-725345543-1003"},
            {"Name": "Azubi", "FullName": "Auszubildende(r) \"Büro\"", "Domain": XP_HOST,
             "Description": "Eingeschränktes Konto", "Disabled": False, "LocalAccount": True,
             "SID": "S-1-5-21-1957994488-1770027372-725345543-1004"},
        ],
        "Win32_QuickFixEngineering": qfe,
        "Win32_ServerFeature": [],
        "Win32_Processor": [{
            "Name": "Intel(R) Core(TM)2 Duo CPU     E6550  @ 2.33GHz",
            "Manufacturer": "GenuineIntel",
            # A 64-bit processor under a 32-bit system: the caption names the system's x86.
            "Caption": "x86 Family 6 Model 15 Stepping 11",
            "Architecture": 0,
            "DeviceID": "CPU0",
            "NumberOfCores": u32(2),
            "NumberOfLogicalProcessors": u32(2),
            "MaxClockSpeed": u32(2333),
            "CurrentClockSpeed": u32(2333),
            "AddressWidth": 32,
            "DataWidth": 64,
            "L2CacheSize": u32(4096),
            "ProcessorId": "BFEBFBFF000006FB",
            "SocketDesignation": "Microprocessor",
        }],
    }

    registry = {}
    for name, version, publisher, msi, folder, size in XP_PROGRAMS:
        language = 1031 if ("Deutsch" in name or "DEU" in name or "ü" in name) else None
        key, values = program(rng, name, version, publisher, msi=msi, folder=folder,
                              size=size, language=language)
        registry[UNINSTALL + "\\" + key] = values
    # Windows PowerShell 1.0 is itself registered as a hot fix.
    registry[UNINSTALL + "\\KB926139-v2"] = registry.pop(
        UNINSTALL + "\\Windows PowerShell(TM) 1.0")
    for name, values in nameless(rng, NAMELESS_XP).items():
        registry[UNINSTALL + "\\" + name] = values
    for kb in hotfix_pool:
        version = "1" if rng.random() < 0.3 else None
        registry[UNINSTALL + "\\" + kb] = update_entry(rng, titles[kb], kb, "OperatingSystem",
                                                       version=version)
    office = "{90120000-0012-0000-0000-0000000FF1CE}"
    for title, kb in XP_OFFICE_UPDATES:
        values = update_entry(rng, title, kb, office)
        values["UninstallString"] = ("msiexec /package " + office + " /uninstall {" +
                                     guid(rng)[1:])
        registry[UNINSTALL + "\\" + office + "_STANDARDR_{" + guid(rng)[1:]] = values
    for title, kb, parent in XP_DOTNET_UPDATES:
        registry[UNINSTALL + "\\" + guid(rng) + "." + kb] = update_entry(rng, title, kb, parent,
                                                                        version="1")
    # A program named after a hot fix: the store drops it as a duplicate of the hot fix.
    for kb in reported[:2]:
        registry[UNINSTALL + "\\" + kb + "-Installer"] = {
            "DisplayName": kb, "Publisher": "Microsoft Corporation",
            "InstallDate": install_date(rng, 2010, 2012)}

    for name, value in XP_SUBCOMPONENTS:
        registry.setdefault(SUBCOMPONENTS, {})[name] = dword(value)
    registry["HKLM\\SOFTWARE\\Zeph"] = {"MachineId": "{3F2A9C14-7B1E-4D8A-9E55-0C6B2D71A8F3}"}
    # Its own generator, so that the rest of the machine stays as it was.
    urng = random.Random(0x5802)
    user_profiles(registry, XP_SERVICE_PROFILES, {
        XP_SID + "-500": "%SystemDrive%\\Documents and Settings\\Administrator",
        XP_SID + "-1003": XP_PROFILE,
        XP_SID + "-1004": "%SystemDrive%\\Documents and Settings\\Azubi",
    }, {XP_SID + "-1003": [
        program(urng, "Dropbox", "2.0.22", "Dropbox, Inc.",
                folder=XP_PROFILE + "\\Anwendungsdaten\\Dropbox\\bin", years=(2012, 2013)),
    ]})

    return {
        "comment": "Windows XP Professional SP3, 32-bit: an office desktop (Dell OptiPlex 755) "
                   "in a small accounting office. Written by make_machines.py.",
        "host": {"userName": XP_USER, "administrator": True, "machine64Bit": False,
                 "wow64": False, "windowsVersion": "5.1", "windowsFolder": "C:\\WINDOWS"},
        # Windows XP knows no UEFI.
        "platform": {"firmwareType": "BIOS", "secureBoot": "Not supported"},
        "wmi": wmi,
        "registry": registry,
        "services": services(rng, XP_SERVICES),
    }


# ---- the Windows 7 laptop ----

W7_HOST = "LT-SOCONNELL"
W7_USER = "soconnell"
W7_DOMAIN = "FAIRHAVEN"
W7_PROFILE = "C:\\Users\\soconnell"
W7_LOCAL_SID = "S-1-5-21-2417092187-2905187630-1457028421"
W7_DOMAIN_SID = "S-1-5-21-3126492707-1594836243-2893421357"

W7_HOTFIXES = [
    "KB958488", "KB971033", "KB2305420", "KB2393802", "KB2425227", "KB2479943", "KB2484033",
    "KB2491683", "KB2506212", "KB2506928", "KB2509553", "KB2511455", "KB2515325",
    "KB2529073", "KB2532531", "KB2533552", "KB2534111", "KB2536275", "KB2536276",
    "KB2541014", "KB2544893", "KB2545698", "KB2547666", "KB2552343", "KB2560656",
    "KB2563227", "KB2564958", "KB2570947", "KB2574819", "KB2579686", "KB2584146",
    "KB2585542", "KB2592687", "KB2603229", "KB2604115", "KB2618451", "KB2619339",
    "KB2620704", "KB2621440", "KB2631813", "KB2639308", "KB2640148", "KB2647753",
    "KB2653956", "KB2654428", "KB2656356", "KB2660075", "KB2667402", "KB2676562",
    "KB2685811", "KB2685813", "KB2685939", "KB2690533", "KB2698365", "KB2705219",
    "KB2706045", "KB2712808", "KB2718704", "KB2719857", "KB2726535", "KB2727528",
    "KB2729094", "KB2729452", "KB2731771", "KB2732059", "KB2732487", "KB2736422",
    "KB2741355", "KB2742599", "KB2743555", "KB2750841", "KB2753842", "KB2756921",
    "KB2757638", "KB2758857", "KB2761217", "KB2763523", "KB2770660", "KB2773072",
    "KB2778930", "KB2779030", "KB2779562", "KB2786081", "KB2786400", "KB2789645",
    "KB2790113", "KB2790655", "KB2791765", "KB2798162", "KB2799926", "KB2800095",
    "KB2803821", "KB2807986", "KB2808679", "KB2813347", "KB2813430", "KB2820331",
    "KB2830477", "KB2834140", "KB2835361", "KB2836942", "KB2836943", "KB2839894",
    "KB2840149", "KB2840631", "KB2843630", "KB2845187", "KB2847077", "KB2847311",
    "KB2847927", "KB2849470", "KB2852386", "KB2853952", "KB2861191", "KB2861698",
    "KB2862152", "KB2862330", "KB2862335", "KB2862966", "KB2862973", "KB2864058",
    "KB2864202", "KB2868038", "KB2868116", "KB2868626", "KB2871997", "KB2876315",
    "KB2876331", "KB2882822", "KB2884256", "KB2887069", "KB2888049", "KB2891804",
    "KB2892074", "KB2893294", "KB2893519", "KB2900986", "KB2908783", "KB2909210",
]

W7_PROGRAMS_64 = [
    # name, version, publisher, msi, folder, size (KB)
    ("Intel(R) Processor Graphics", "8.15.10.2993", "Intel Corporation", False,
     "C:\\Program Files (x86)\\Intel\\Intel(R) Processor Graphics", 74000),
    ("Intel(R) Management Engine Components", "7.1.20.1119", "Intel Corporation", False,
     "C:\\Program Files (x86)\\Intel\\Intel(R) Management Engine Components", 51000),
    ("Intel(R) Rapid Storage Technology", "10.8.0.1003", "Intel Corporation", False,
     "C:\\Program Files (x86)\\Intel\\Intel(R) Rapid Storage Technology\\", 26000),
    ("Intel® PROSet/Wireless WiFi Software", "15.3.0", "Intel Corporation", True,
     "C:\\Program Files\\Intel\\WiFi\\", 165000),
    ("Intel(R) Network Connections 17.4.77.0", "17.4.77.0", "Intel", True, None, 8300),
    ("Intel(R) Control Center", "1.2.1.1008", "Intel Corporation", True, None, 1500),
    ("Intel(R) Update Manager", "2.3.1022.2", "Intel Corporation", True, None, 7400),
    ("Conexant HD Audio", "8.32.43.0", "Conexant", False,
     "C:\\Program Files\\CONEXANT\\CNXT_AUDIO_HDA", 47000),
    ("NVIDIA Graphics Driver 311.35", "311.35", "NVIDIA Corporation", False, None, None),
    ("NVIDIA Optimus 1.11.4", "1.11.4", "NVIDIA Corporation", False, None, None),
    ("NVIDIA Control Panel 311.35", "311.35", "NVIDIA Corporation", False, None, None),
    ("NVIDIA Install Application", "2.1002.106.862", "NVIDIA Corporation", False, None, None),
    ("NVIDIA Update 1.12.12", "1.12.12", "NVIDIA Corporation", False, None, None),
    ("NVIDIA HD Audio Driver 1.3.23.1", "1.3.23.1", "NVIDIA Corporation", False, None, None),
    ("ThinkPad UltraNav Driver", "16.2.19.6", "Synaptics Incorporated", False,
     "C:\\Program Files\\Synaptics\\SynTP", 38000),
    ("Ricoh R5U230 Media Driver ver.3.61.02", "3.61.02", "Ricoh Co., Ltd.", False, None, None),
    ("ThinkPad Bluetooth with Enhanced Data Rate Software", "6.5.1.2610",
     "Broadcom Corporation", True, "C:\\Program Files\\WIDCOMM\\Bluetooth Software\\",
     121000),
    ("ThinkVantage Active Protection System", "1.82.0.20", "Lenovo", False,
     "C:\\Program Files (x86)\\Lenovo\\APS", 25000),
    ("ThinkPad Power Management Driver", "1.67.03.14", "Lenovo", False, None, None),
    ("Lenovo Patch Utility 64 bit", "1.3.0.5", "Lenovo Group Limited", True, None, 480),
    ("Lenovo Registration", "", "Lenovo", False, None, None),
    ("Microsoft Visual C++ 2005 Redistributable (x64)", "8.0.61000", "Microsoft Corporation",
     True, None, 7100),
    ("Microsoft Visual C++ 2008 Redistributable - x64 9.0.30729.6161", "9.0.30729.6161",
     "Microsoft Corporation", True, None, 13400),
    ("Microsoft Visual C++ 2010  x64 Redistributable - 10.0.40219", "10.0.40219",
     "Microsoft Corporation", True, None, 13800),
    ("Microsoft .NET Framework 4.5.1", "4.5.50938", "Microsoft Corporation", True, None,
     38000),
    ("Microsoft .NET Framework 4.5.1 Multi-Targeting Pack", "4.5.50932", "Microsoft "
     "Corporation", True, None, 80000),
    ("Microsoft Silverlight", "5.1.20913.0", "Microsoft Corporation", True,
     "C:\\Program Files\\Microsoft Silverlight\\", 100000),
    ("Microsoft Lync 2010", "4.0.7577.4398", "Microsoft Corporation", True,
     "C:\\Program Files\\Microsoft Lync\\", 92000),
    ("Microsoft Office 64-bit Components 2010", "14.0.7015.1000", "Microsoft Corporation",
     True, None, 3100),
    ("Microsoft Office Shared 64-bit MUI (English) 2010", "14.0.7015.1000",
     "Microsoft Corporation", True, None, 2400),
    ("Microsoft Office Shared 64-bit Setup Metadata MUI (English) 2010", "14.0.7015.1000",
     "Microsoft Corporation", True, None, 1100),
    ("Microsoft Baseline Security Analyzer 2.3", "2.3.2211", "Microsoft Corporation", True,
     "C:\\Program Files\\Microsoft Baseline Security Analyzer 2\\", 7000),
    ("Windows Live ID Sign-in Assistant", "7.250.4311.0", "Microsoft Corporation", True, None,
     4900),
    ("Microsoft SQL Server Compact 3.5 SP2 x64 ENU", "3.5.8080.0", "Microsoft Corporation",
     True, None, 4400),
    ("Microsoft Sync Framework Runtime v1.0 SP1 (x64)", "1.0.3010.0", "Microsoft "
     "Corporation", True, None, 1300),
    ("Microsoft SQL Server 2008 R2 (64-bit)", None, "Microsoft Corporation", False, None,
     None),
    ("Microsoft SQL Server 2008 R2 Native Client", "10.52.4000.0", "Microsoft Corporation",
     True, None, 8400),
    ("Microsoft SQL Server 2008 R2 Setup (English)", "10.52.4000.0", "Microsoft "
     "Corporation", True, None, 36000),
    ("Microsoft SQL Server 2008 R2 RsFx Driver", "10.52.4000.0", "Microsoft Corporation",
     True, None, 700),
    ("Microsoft SQL Server 2008 Setup Support Files", "10.1.2731.0", "Microsoft Corporation",
     True, None, 36000),
    ("Microsoft SQL Server VSS Writer", "10.52.4000.0", "Microsoft Corporation", True, None,
     1200),
    ("SQL Server 2008 R2 SP2 Database Engine Services", "10.52.4000.0", "Microsoft "
     "Corporation", True, None, 120000),
    ("SQL Server 2008 R2 SP2 Database Engine Shared", "10.52.4000.0", "Microsoft "
     "Corporation", True, None, 47000),
    ("SQL Server 2008 R2 SP2 Common Files", "10.52.4000.0", "Microsoft Corporation", True,
     None, 32000),
    ("Microsoft Visual Studio 2010 Tools for Office Runtime (x64)", "10.0.40303",
     "Microsoft Corporation", False, None, None),
    ("Microsoft Windows SDK for Windows 7 (7.1)", "7.1.7600.0.30514", "Microsoft "
     "Corporation", False, "C:\\Program Files\\Microsoft SDKs\\Windows\\v7.1\\", None),
    ("Windows SDK Intellisense and Reference Assemblies", "7.1.30514", "Microsoft "
     "Corporation", True, None, 102000),
    ("Debugging Tools for Windows (x64)", "6.12.2.633", "Microsoft Corporation", True,
     "C:\\Program Files\\Debugging Tools for Windows (x64)\\", 43000),
    ("Application Verifier (x64)", "4.1.1078", "Microsoft Corporation", True, None, 12000),
    ("Microsoft Windows Performance Toolkit", "4.8.0", "Microsoft Corporation", True,
     "C:\\Program Files\\Microsoft Windows Performance Toolkit\\", 19000),
    ("Symantec Endpoint Protection", "12.1.2015.2015", "Symantec Corporation", True,
     "C:\\Program Files (x86)\\Symantec\\Symantec Endpoint Protection\\", 312000),
    ("7-Zip 9.20 (x64 edition)", "9.20.00.0", "Igor Pavlov", True,
     "C:\\Program Files\\7-Zip\\", 4900),
    ("Java 7 Update 51 (64-bit)", "7.0.510", "Oracle", True,
     "C:\\Program Files\\Java\\jre7\\", 126000),
    ("Oracle VM VirtualBox 4.3.6", "4.3.6", "Oracle Corporation", True,
     "C:\\Program Files\\Oracle\\VirtualBox\\", 171000),
    ("Apple Mobile Device Support", "7.0.0.117", "Apple Inc.", True, None, 27000),
    ("Apple Application Support (64-bit)", "3.0.1", "Apple Inc.", True, None, 110000),
    ("Bonjour", "3.0.0.10", "Apple Inc.", True, "C:\\Program Files\\Bonjour\\", 2100),
    ("iTunes", "11.1.3.8", "Apple Inc.", True, "C:\\Program Files\\iTunes\\", 200000),
    ("Wireshark 1.10.5 (64-bit)", "1.10.5",
     "The Wireshark developer community, http://www.wireshark.org", False,
     "C:\\Program Files\\Wireshark", 110000),
    ("WinPcap 4.1.3", "4.1.0.2980", "Riverbed Technology, Inc.", False, None, None),
    ("TortoiseSVN 1.8.4.24972 (64 bit)", "1.8.15972", "TortoiseSVN", True,
     "C:\\Program Files\\TortoiseSVN\\", 45000),
    ("Python 2.7.6 (64-bit)", "2.7.6150", "Python Software Foundation", True,
     "C:\\Python27\\", 61000),
    ("Paint.NET v3.5.11", "3.61.0", "dotPDN LLC", True, "C:\\Program Files\\Paint.NET\\",
     19000),
    ("CCleaner", "4.09", "Piriform", False, "C:\\Program Files\\CCleaner", None),
    ("Emoji Input Helper 😀 (beta)", "0.9.3", "Sparkle Labs", False,
     "C:\\Program Files\\Emoji Input Helper\\", 2200),
    ("Acme <script>alert(1)</script> Helper", "1.0", "Acme", False, None, 300),
    ("Fleet Tracker", "3.0.2", "</td></tr><tr><td>Northbound Logistics", True, None, 9000),
    ("Lenovo Solution Center", "2.1.002.00", "Lenovo Group Limited", True,
     "C:\\Program Files\\Lenovo\\Lenovo Solution Center\\", 88000),
    ("Cisco AnyConnect Diagnostics and Reporting Tool", "3.1.04063", "Cisco Systems, Inc.",
     True, None, 6300),
    ("Microsoft Security Compliance Manager", "", "Microsoft Corporation", True, None, 90000),
]

W7_PROGRAMS_32 = [
    ("Microsoft Office Professional Plus 2010", "14.0.7015.1000", "Microsoft Corporation",
     False, "C:\\Program Files (x86)\\Microsoft Office\\", 3176000),
    ("Adobe Reader XI (11.0.06)", "11.0.06", "Adobe Systems Incorporated", True,
     "C:\\Program Files (x86)\\Adobe\\Reader 11.0\\", 169000),
    ("Adobe Flash Player 12 ActiveX", "12.0.0.44", "Adobe Systems Incorporated", False,
     "C:\\Windows\\SysWOW64\\Macromed\\Flash", 6300),
    ("Adobe Flash Player 12 Plugin", "12.0.0.44", "Adobe Systems Incorporated", False,
     "C:\\Windows\\SysWOW64\\Macromed\\Flash", 6300),
    ("Adobe AIR", "4.0.0.1390", "Adobe Systems Incorporated", False, None, None),
    ("Google Chrome", "32.0.1700.102", "Google Inc.", True,
     "C:\\Program Files (x86)\\Google\\Chrome\\Application", 180000),
    ("Google Update Helper", "1.3.22.5", "Google Inc.", True, None, 36),
    ("Mozilla Firefox 26.0 (x86 en-US)", "26.0", "Mozilla", False,
     "C:\\Program Files (x86)\\Mozilla Firefox", 57000),
    ("Mozilla Maintenance Service", "26.0", "Mozilla", False, None, 330),
    ("Skype™ 6.11", "6.11.102", "Skype Technologies S.A.", True,
     "C:\\Program Files (x86)\\Skype\\", 52000),
    ("Java 7 Update 51", "7.0.510", "Oracle", True, "C:\\Program Files (x86)\\Java\\jre7\\",
     116000),
    ("Citrix Receiver", "14.1.0.0", "Citrix Systems, Inc.", False,
     "C:\\Program Files (x86)\\Citrix\\", 56000),
    ("Cisco AnyConnect Secure Mobility Client", "3.1.04063", "Cisco Systems, Inc.", True,
     "C:\\Program Files (x86)\\Cisco\\Cisco AnyConnect Secure Mobility Client\\", 28000),
    ("Evernote v. 5.1.1", "5.1.1.2289", "Evernote Corp.", True,
     "C:\\Program Files (x86)\\Evernote\\Evernote\\", 95000),
    ("VLC media player 2.1.2", "2.1.2", "VideoLAN", False,
     "C:\\Program Files (x86)\\VideoLAN\\VLC", None),
    ("Notepad++", "6.5.3", "Notepad++ Team", False, "C:\\Program Files (x86)\\Notepad++\\",
     9600),
    ("KeePass Password Safe 2.25", "2.25", "Dominik Reichl", False,
     "C:\\Program Files (x86)\\KeePass Password Safe 2\\", 3700),
    ("PuTTY release 0.63", "0.63", "Simon Tatham", False, "C:\\Program Files (x86)\\PuTTY\\",
     2400),
    ("WinSCP 5.1.7", "5.1.7", "Martin Prikryl", False, "C:\\Program Files (x86)\\WinSCP\\",
     13000),
    ("Git version 1.8.5.2-preview20131230", "1.8.5.2-preview20131230",
     "The Git Development Community", False, "C:\\Program Files (x86)\\Git\\", None),
    ("搜狗拼音输入法 6.7正式版", "6.7.0.0922", "Sogou.com", False,
     "C:\\Program Files (x86)\\SogouInput\\6.7.0.0922", 48000),
    ("Dictionnaire français – Édition Pro 3", "3.1", "Éditions Lumière", True,
     "C:\\Program Files (x86)\\Éditions Lumière\\Dictionnaire\\", 210000),
    ("O'Reilly \"Safari\" Books Online Reader", "2.1", "O'Reilly Media, Inc.", False, None,
     None),
    ("ThinkVantage Access Connections", "6.11", "Lenovo", True,
     "C:\\Program Files (x86)\\ThinkPad\\ConnectUtilities\\", 41000),
    ("Lenovo System Update", "5.02.0018", "Lenovo", True, "C:\\Program Files (x86)\\Lenovo\\"
     "System Update\\", 19000),
    ("ThinkPad Power Manager", "6.60.1", "Lenovo", False,
     "C:\\Program Files (x86)\\ThinkPad\\Utilities\\", 42000),
    ("Lenovo Auto Scroll Utility", "2.25", "Lenovo", False, None, None),
    ("Message Center Plus", "3.0.0010.00", "Lenovo", True, None, 6200),
    ("Lenovo Fingerprint Software", "6.0.0.8113", "Lenovo", False, None, None),
    ("Communications Utility", "3.0.3.0", "Lenovo", True, None, 7900),
    ("Microsoft Visual C++ 2005 Redistributable", "8.0.61001", "Microsoft Corporation", True,
     None, 5200),
    ("Microsoft Visual C++ 2008 Redistributable - x86 9.0.30729.6161", "9.0.30729.6161",
     "Microsoft Corporation", True, None, 10300),
    ("Microsoft Visual C++ 2010  x86 Redistributable - 10.0.40219", "10.0.40219",
     "Microsoft Corporation", True, None, 15000),
    ("Microsoft Visual C++ 2012 Redistributable (x86) - 11.0.61030", "11.0.61030.0",
     "Microsoft Corporation", False, None, 17000),
    ("Microsoft Visual C++ 2012 Redistributable (x64) - 11.0.61030", "11.0.61030.0",
     "Microsoft Corporation", False, None, 20000),
    ("MSXML 4.0 SP3 Parser", "4.30.2117.0", "Microsoft Corporation", True, None, 1400),
    ("Microsoft Report Viewer Redistributable 2008 SP1", "9.0.30731", "Microsoft "
     "Corporation", False, None, None),
    ("Microsoft Application Error Reporting", "12.0.6015.5000", "Microsoft Corporation",
     True, None, 1000),
    ("Microsoft Office Live Meeting 2007", "8.0.6362.202", "Microsoft Corporation", True,
     None, 32000),
    ("Microsoft Office Access database engine 2007 (English)", "12.0.6612.1000",
     "Microsoft Corporation", True, None, 67000),
    ("Windows Live Essentials", "16.4.3508.0205", "Microsoft Corporation", False, None, None),
    ("Windows Live Mail", "16.4.3508.0205", "Microsoft Corporation", True, None, 56000),
    ("Windows Live Photo Gallery", "16.4.3508.0205", "Microsoft Corporation", True, None,
     61000),
    ("Windows Live Writer", "16.4.3508.0205", "Microsoft Corporation", True, None, 18000),
    ("NVIDIA PhysX System Software 9.12.1031", "9.12.1031", "NVIDIA Corporation", True,
     None, 320000),
    ("QuickTime 7", "7.75.80.95", "Apple Inc.", True, "C:\\Program Files (x86)\\QuickTime\\",
     73000),
    ("Apple Software Update", "2.1.3.127", "Apple Inc.", True, None, 2400),
    ("Apple Application Support (32-bit)", "3.0.1", "Apple Inc.", True, None, 96000),
    ("GoToMeeting 6.0.1026", "6.0.1026", "CitrixOnline", False, None, None),
    ("Cisco WebEx Meetings", "", "Cisco WebEx LLC", False, None, None),
    ("Dropbox", "2.4.11", "Dropbox, Inc.", False, W7_PROFILE + "\\AppData\\Roaming\\Dropbox\\"
     "bin", None),
    ("Microsoft Office Proofing Tools 2010 - Español", "14.0.7015.1000",
     "Microsoft Corporation", True, None, 33000),
]

W7_OFFICE_PARTS = [
    "Excel MUI (English)", "Outlook MUI (English)", "PowerPoint MUI (English)",
    "Word MUI (English)", "OneNote MUI (English)", "Access MUI (English)",
    "Publisher MUI (English)", "InfoPath MUI (English)", "Groove MUI (English)",
    "Shared MUI (English)", "Shared Setup Metadata MUI (English)", "Proof (English)",
    "Proof (French)", "Proof (Spanish)", "Proofing (English)", "Single Image",
    "X MUI (English)", "Access Setup Metadata MUI (English)", "InfoPath Filler MUI (English)",
]

W7_OFFICE_PRODUCTS = ["Office 2010", "Excel 2010", "Word 2010", "Outlook 2010",
                      "PowerPoint 2010", "OneNote 2010", "InfoPath 2010", "Access 2010",
                      "Publisher 2010", "SharePoint Workspace 2010", "Visio Viewer 2010",
                      "Office 2010 Filter Pack"]

W7_OFFICE_KBS = [
    "KB2553347", "KB2553310", "KB2589320", "KB2826033", "KB2837597", "KB2837595",
    "KB2837615", "KB2597090", "KB2553140", "KB2553378", "KB2687455", "KB2760631",
    "KB2794737", "KB2817396", "KB2826035", "KB2850016", "KB2878225", "KB2880971",
    "KB2553267", "KB2553455", "KB2589352", "KB2597986", "KB2687509", "KB2760598",
    "KB2767886", "KB2810073", "KB2817579", "KB2825640", "KB2837580", "KB2850058",
    "KB2863834", "KB2878283", "KB2881029", "KB2553092", "KB2553181", "KB2589298",
    "KB2597969", "KB2687501", "KB2760779", "KB2767913", "KB2826026", "KB2837606",
    "KB2878251", "KB2880975", "KB2883019", "KB2889841",
]

W7_DOTNET_KBS = [
    "KB2858725", "KB2898869", "KB2901126", "KB2901983", "KB2805221", "KB2840642",
    "KB2833957", "KB2804576", "KB2789648", "KB2737083", "KB2729460", "KB2742613",
    "KB2761465", "KB2844285", "KB2861208", "KB2894856", "KB2904878", "KB2911501",
    "KB2468871", "KB2600217", "KB2416472", "KB2446708", "KB2478663", "KB2518870",
    "KB2533523", "KB2539636", "KB2572078", "KB2604121", "KB2656351", "KB2686827",
]

W7_DRIVER_PACKAGES = [
    ("Lenovo", "ibmpmdrv", "System", "11/21/2012", "1.67.3.14"),
    ("Lenovo", "TPPWRIF", "System", "09/06/2012", "4.0.0.0"),
    ("Lenovo", "Smiifx", "System", "08/03/2011", "1.1.0.0"),
    ("Lenovo", "lenovo.micmute", "System", "02/13/2013", "1.0.0.11"),
    ("Lenovo", "ShockprfFilter", "System", "01/18/2013", "1.0.0.22"),
    ("Intel", "e1cexpress", "Net", "11/09/2011", "11.14.1.0"),
    ("Intel", "NETwNs64", "Net", "07/08/2013", "15.3.0.3"),
    ("Intel", "HECIx64", "System", "08/23/2011", "7.1.20.1119"),
    ("Intel", "iaStor", "HDC", "08/16/2011", "10.8.0.1003"),
    ("Intel", "igdlh64", "Display", "11/02/2012", "8.15.10.2993"),
    ("Intel", "IntcDAud", "MEDIA", "07/19/2011", "6.14.0.3073"),
    ("Conexant", "CHDRT64", "MEDIA", "09/13/2011", "8.32.43.0"),
    ("NVIDIA", "nvlddmkm", "Display", "03/16/2013", "9.18.13.1135"),
    ("Synaptics", "SynTP", "Mouse", "01/24/2013", "16.2.19.6"),
    ("Ricoh", "rismxdp", "SDHost", "07/26/2011", "3.61.02"),
    ("Ricoh", "rixdptsk", "Ricoh Co., Ltd.", "07/26/2011", "3.61.02"),
    ("Broadcom", "btwampfl", "Bluetooth", "02/14/2012", "6.5.1.2610"),
    ("Broadcom", "btwavdt", "MEDIA", "02/14/2012", "6.5.1.2610"),
    ("Broadcom", "btwaudio", "MEDIA", "02/14/2012", "6.5.1.2610"),
    ("Broadcom", "btwrchid", "HIDClass", "02/14/2012", "6.5.1.2610"),
    ("Broadcom", "bcbtums", "Bluetooth", "02/14/2012", "6.5.1.2610"),
    ("Ericsson", "wwanusbmp", "Net", "05/12/2011", "7.0.0.7"),
    ("Ericsson", "wwanusbserial", "Modem", "05/12/2011", "7.0.0.7"),
    ("Cisco Systems", "vpnva", "Net", "10/03/2013", "3.1.04063"),
    ("Oracle Corporation", "VBoxUSB", "USB", "12/18/2013", "4.3.6.0"),
    ("Oracle Corporation", "VBoxNetAdp", "Net", "12/18/2013", "4.3.6.0"),
    ("Oracle Corporation", "VBoxNetFlt", "NetService", "12/18/2013", "4.3.6.0"),
    ("Apple", "usbaapl64", "USB", "03/01/2013", "5.2.1.2"),
    ("Apple", "netaapl64", "Net", "09/16/2011", "1.8.5.1"),
    ("Microsoft", "WUDFRd", "WPD", "04/08/2011", "6.1.7601.17514"),
    ("Symantec", "SymEvent", "System", "06/19/2013", "12.9.5.2"),
    ("Sierra Wireless", "snetcfg", "Net", "09/03/2012", "4.0.11.0"),
]

W7_OPTIONAL_FEATURES = [
    ("MediaPlayback", "Media Features", 1), ("WindowsMediaPlayer", "Windows Media Player", 1),
    ("MediaCenter", "Windows Media Center", 1), ("OpticalMediaDisc", "Windows DVD Maker", 1),
    ("Printing-Foundation-Features", "Print and Document Services", 1),
    ("Printing-Foundation-InternetPrinting-Client", "Internet Printing Client", 1),
    ("Printing-XPSServices-Features", "XPS Services", 1), ("Xps-Foundation-Xps-Viewer",
                                                           "XPS Viewer", 1),
    ("SearchEngine-Client-Package", "Windows Search", 1), ("TabletPCOC",
                                                           "Tablet PC Components", 1),
    ("NetFx3", "Microsoft .NET Framework 3.5.1", 1),
    ("Internet-Explorer-Optional-amd64", "Internet Explorer 10", 1),
    ("Gadget-Platform", "Windows Gadget Platform", 1),
    ("MSRDC-Infrastructure", "Remote Differential Compression", 1),
    ("TelnetClient", "Telnet Client", 1),
    ("RemoteServerAdministrationTools", "Remote Server Administration Tools", 1),
    ("RemoteServerAdministrationTools-Roles", "Role Administration Tools", 1),
    ("RemoteServerAdministrationTools-Roles-AD", "AD DS and AD LDS Tools", 1),
    ("RemoteServerAdministrationTools-Roles-AD-DS", "AD DS Tools", 1),
    ("RemoteServerAdministrationTools-Roles-AD-DS-SnapIns",
     "AD DS Snap-ins and Command-line Tools", 1),
    ("RemoteServerAdministrationTools-Roles-AD-Powershell",
     "Active Directory Module for Windows PowerShell", 1),
    ("RemoteServerAdministrationTools-Features-GP", "Group Policy Management Tools", 1),
    ("Microsoft-Windows-MobilePC-LocationProvider-INF", "Windows Location Provider", 1),
    ("WindowsGadgetPlatform", "Windows Gadget Platform", 1),
    ("InboxGames", "Games", 2), ("Chess", "Chess Titans", 2), ("FreeCell", "FreeCell", 2),
    ("Hearts", "Hearts", 2), ("Minesweeper", "Minesweeper", 2), ("PurblePlace",
                                                                 "Purble Place", 2),
    ("Solitaire", "Solitaire", 2), ("SpiderSolitaire", "Spider Solitaire", 2),
    ("More Games", "More Games", 2), ("Internet Games", "Internet Games", 2),
    ("IIS-WebServerRole", "Internet Information Services", 2),
    ("IIS-WebServer", "World Wide Web Services", 2),
    ("IIS-CommonHttpFeatures", "Common HTTP Features", 2),
    ("IIS-StaticContent", "Static Content", 2), ("IIS-DefaultDocument", "Default Document", 2),
    ("IIS-ASPNET", "ASP.NET", 2), ("IIS-ManagementConsole", "IIS Management Console", 2),
    ("WAS-WindowsActivationService", "Windows Process Activation Service", 2),
    ("MSMQ-Container", "Microsoft Message Queue (MSMQ) Server", 2),
    ("SimpleTCP", "Simple TCPIP services (i.e. echo, daytime etc)", 2),
    ("SNMP", "Simple Network Management Protocol (SNMP)", 2),
    ("Indexing-Service-Package", "Indexing Service", 2),
    ("ClientForNFS-Infrastructure", "Services for NFS", 2),
    ("TIFFIFilter", "Windows TIFF IFilter", 2), ("TFTP", "TFTP Client", 2),
    ("TelnetServer", "Telnet Server", 2), ("RasRip", "RIP Listener", 2),
    ("Printing-Foundation-LPDPrintService", "LPD Print Service", 2),
    ("Printing-Foundation-LPRPortMonitor", "LPR Port Monitor", 2),
    ("WCF-HTTP-Activation", "Windows Communication Foundation HTTP Activation", 2),
    ("WCF-NonHTTP-Activation", "Windows Communication Foundation Non-HTTP Activation", 2),
    ("DirectoryServices-ADAM-Client", "Active Directory Lightweight Directory Services", 2),
]

W7_SDK_PARTS = [
    "Windows SDK Tools (x64)", "Windows SDK Win32 Tools", "Windows SDK Headers and Libraries",
    "Windows SDK Intellisense and Reference Assemblies (x64)", "Windows SDK .NET Framework "
    "Samples", "Windows SDK Win32 Samples", "Windows SDK Net Fx Interop Headers and "
    "Libraries", "Windows SDK Debugging Tools", "Windows SDK Help Documentation",
    "Windows SDK Redistributables", "Windows SDK Windows Performance Toolkit",
    "Windows SDK Microsoft Visual C++ Compilers 2010 SP1 (x64)", "Windows SDK Common "
    "Utilities", "Windows SDK Application Verifier", "Windows SDK DEX Headers and Libraries",
    "Windows SDK OLE-COM Object Viewer", "Windows SDK Product Documentation",
    "Windows SDK FXCop", "Microsoft Windows SDK for Windows 7 Headers and Libraries",
    "Microsoft Windows SDK for Windows 7 Utilities for Win32 Development",
    "Microsoft Windows SDK for Windows 7 Samples", "Microsoft Windows SDK for Windows 7 "
    "Debugging Tools", "Microsoft Windows SDK for Windows 7 Reference Assemblies",
    "Microsoft Windows SDK for Windows 7 Net Fx Tools",
]

W7_RUNTIMES_64 = [
    ("Microsoft Visual C++ 2012 x64 Minimum Runtime - 11.0.61030", "11.0.61030"),
    ("Microsoft Visual C++ 2012 x64 Additional Runtime - 11.0.61030", "11.0.61030"),
    ("Microsoft Visual C++ 2008 Redistributable - x64 9.0.30729.17", "9.0.30729"),
    ("Microsoft Visual C++ 2008 Redistributable - x64 9.0.30729.4148", "9.0.30729.4148"),
]

W7_MORE_32 = [
    ("Microsoft Visual C++ 2012 x86 Minimum Runtime - 11.0.61030", "11.0.61030"),
    ("Microsoft Visual C++ 2012 x86 Additional Runtime - 11.0.61030", "11.0.61030"),
    ("Microsoft Visual Studio 2010 Shell (Isolated) - ENU", "10.0.40219"),
    ("Microsoft SQL Server 2008 R2 Management Objects", "10.51.2500.0"),
    ("Microsoft SQL Server System CLR Types", "10.51.2500.0"),
    ("Microsoft SQL Server 2008 R2 Management Studio Express", "10.50.1600.1"),
    ("Microsoft SQL Server Browser", "10.52.4000.0"),
    ("Microsoft Office Outlook Social Connector 2010", "14.0.7015.1000"),
    ("Microsoft Visual Studio 2010 Tools for Office Runtime (x86)", "10.0.40303"),
    ("Microsoft Help Viewer 1.1", "1.1.40219"),
    ("Microsoft .NET Framework 4 Multi-Targeting Pack", "4.0.30319"),
    ("Microsoft Visual Basic for Applications 7.0 (x86)", "7.0.1632"),
]

W7_SERVICES = [
    "AeLookupSvc|Application Experience|32|R", "ALG|Application Layer Gateway Service|16|S",
    "AppIDSvc|Application Identity|32|S", "Appinfo|Application Information|32|R",
    "AppMgmt|Application Management|32|S",
    "AudioEndpointBuilder|Windows Audio Endpoint Builder|32|R", "AudioSrv|Windows Audio|32|R",
    "BFE|Base Filtering Engine|32|R", "BITS|Background Intelligent Transfer Service|32|R",
    "Browser|Computer Browser|32|R", "bthserv|Bluetooth Support Service|32|R",
    "CertPropSvc|Certificate Propagation|32|R",
    "clr_optimization_v2.0.50727_32|Microsoft .NET Framework NGEN v2.0.50727_X86|16|S",
    "clr_optimization_v2.0.50727_64|Microsoft .NET Framework NGEN v2.0.50727_X64|16|S",
    "clr_optimization_v4.0.30319_32|Microsoft .NET Framework NGEN v4.0.30319_X86|16|S",
    "clr_optimization_v4.0.30319_64|Microsoft .NET Framework NGEN v4.0.30319_X64|16|S",
    "COMSysApp|COM+ System Application|16|R", "CryptSvc|Cryptographic Services|32|R",
    "CscService|Offline Files|32|R", "DcomLaunch|DCOM Server Process Launcher|32|R",
    "defragsvc|Disk Defragmenter|32|S", "Dhcp|DHCP Client|32|R", "Dnscache|DNS Client|32|R",
    "dot3svc|Wired AutoConfig|32|S", "DPS|Diagnostic Policy Service|32|R",
    "eventlog|Windows Event Log|32|R", "EventSystem|COM+ Event System|32|R", "Fax|Fax|16|S",
    "fdPHost|Function Discovery Provider Host|32|R",
    "FDResPub|Function Discovery Resource Publication|32|R",
    "FontCache|Windows Font Cache Service|32|R",
    "FontCache3.0.0.0|Windows Presentation Foundation Font Cache 3.0.0.0|16|R",
    "gpsvc|Group Policy Client|32|R", "hidserv|Human Interface Device Access|32|S",
    "HomeGroupListener|HomeGroup Listener|32|S", "HomeGroupProvider|HomeGroup Provider|32|S",
    "idsvc|Windows CardSpace|16|S", "IKEEXT|IKE and AuthIP IPsec Keying Modules|32|R",
    "iphlpsvc|IP Helper|32|R", "KeyIso|CNG Key Isolation|32|R", "LanmanServer|Server|32|R",
    "LanmanWorkstation|Workstation|32|R", "lltdsvc|Link-Layer Topology Discovery Mapper|32|S",
    "lmhosts|TCP/IP NetBIOS Helper|32|R", "MMCSS|Multimedia Class Scheduler|32|R",
    "MpsSvc|Windows Firewall|32|R", "MSDTC|Distributed Transaction Coordinator|16|R",
    "msiserver|Windows Installer|16|S", "Netlogon|Netlogon|32|R",
    "Netman|Network Connections|32|R", "netprofm|Network List Service|32|R",
    "NetTcpPortSharing|Net.Tcp Port Sharing Service|32|S",
    "NlaSvc|Network Location Awareness|32|R", "nsi|Network Store Interface Service|32|R",
    "PcaSvc|Program Compatibility Assistant Service|32|R", "pla|Performance Logs & Alerts|32|S",
    "PlugPlay|Plug and Play|32|R", "PolicyAgent|IPsec Policy Agent|32|R", "Power|Power|32|R",
    "ProfSvc|User Profile Service|32|R", "ProtectedStorage|Protected Storage|32|S",
    "QWAVE|Quality Windows Audio Video Experience|32|S",
    "RasMan|Remote Access Connection Manager|32|R", "RemoteRegistry|Remote Registry|16|S",
    "RpcEptMapper|RPC Endpoint Mapper|32|R", "RpcSs|Remote Procedure Call (RPC)|32|R",
    "SamSs|Security Accounts Manager|32|R", "SCardSvr|Smart Card|32|R",
    "Schedule|Task Scheduler|32|R", "SDRSVC|Windows Backup|32|S", "seclogon|Secondary Logon|32|R",
    "SENS|System Event Notification Service|32|R", "SessionEnv|Remote Desktop Configuration|32|S",
    "SharedAccess|Internet Connection Sharing (ICS)|32|S",
    "ShellHWDetection|Shell Hardware Detection|32|R", "Spooler|Print Spooler|272|R",
    "sppsvc|Software Protection|16|R", "sppuinotify|SPP Notification Service|32|S",
    "SSDPSRV|SSDP Discovery|32|R", "SstpSvc|Secure Socket Tunneling Protocol Service|32|R",
    "stisvc|Windows Image Acquisition (WIA)|32|R",
    "swprv|Microsoft Software Shadow Copy Provider|16|S", "SysMain|Superfetch|32|R",
    "TabletInputService|Tablet PC Input Service|32|S", "TapiSrv|Telephony|16|R",
    "TBS|TPM Base Services|32|S", "TermService|Remote Desktop Services|32|S", "Themes|Themes|32|R",
    "TrkWks|Distributed Link Tracking Client|32|R",
    "TrustedInstaller|Windows Modules Installer|16|P",
    "UmRdpService|Remote Desktop Services UserMode Port Redirector|32|S",
    "upnphost|UPnP Device Host|32|S", "UxSms|Desktop Window Manager Session Manager|32|R",
    "VaultSvc|Credential Manager|32|S", "vds|Virtual Disk|16|S", "VSS|Volume Shadow Copy|16|S",
    "W32Time|Windows Time|32|R", "WbioSrvc|Windows Biometric Service|32|R",
    "WdiServiceHost|Diagnostic Service Host|32|R", "WdiSystemHost|Diagnostic System Host|32|R",
    "WebClient|WebClient|32|S",
    "wercplsupport|Problem Reports and Solutions Control Panel Support|32|S",
    "WerSvc|Windows Error Reporting Service|32|S", "WinDefend|Windows Defender|32|S",
    "WinHttpAutoProxySvc|WinHTTP Web Proxy Auto-Discovery Service|32|R",
    "Winmgmt|Windows Management Instrumentation|32|R",
    "WinRM|Windows Remote Management (WS-Management)|32|S", "Wlansvc|WLAN AutoConfig|32|R",
    "wlidsvc|Windows Live ID Sign-in Assistant|16|R", "wmiApSrv|WMI Performance Adapter|16|S",
    "WMPNetworkSvc|Windows Media Player Network Sharing Service|16|R",
    "WPDBusEnum|Portable Device Enumerator Service|32|S", "wscsvc|Security Center|32|R",
    "WSearch|Windows Search|16|R", "wuauserv|Windows Update|32|R",
    "wudfsvc|Windows Driver Foundation - User-mode Driver Framework|32|R",
    "AdobeARMservice|Adobe Acrobat Update Service|16|R",
    "AdobeFlashPlayerUpdateSvc|Adobe Flash Player Update Service|16|S",
    "Apple Mobile Device|Apple Mobile Device|16|R", "Bonjour Service|Bonjour Service|16|R",
    "btwdins|Bluetooth Service|16|R", "gupdate|Google Update Service (gupdate)|16|S",
    "gupdatem|Google Update Service (gupdatem)|16|S", "iPod Service|iPod Service|16|S",
    "vpnagent|Cisco AnyConnect Secure Mobility Agent|16|R",
    "SepMasterService|Symantec Endpoint Protection|16|R",
    "SmcService|Symantec Management Client|16|R",
    "jhi_service|Intel(R) Dynamic Application Loader Host Interface Service|16|R",
    "LMS|Intel(R) Management and Security Application Local Management Service|16|R",
    "UNS|Intel(R) Management & Security Application User Notification Service|16|R",
    "IAStorDataMgrSvc|Intel(R) Rapid Storage Technology|16|R",
    "EvtEng|Intel(R) PROSet/Wireless Event Log|16|R",
    "RegSrvc|Intel(R) PROSet/Wireless Registry Service|16|R",
    "ZeroConfigService|Intel(R) PROSet/Wireless Zero Configuration Service|16|R",
    "TPHKLOAD|Lenovo Hotkey Client Loader|16|R", "TPHKSVC|On Screen Display|16|R",
    "IBMPMSVC|ThinkPad PM Service|16|R",
    "Power Manager DBC Service|Power Manager DBC Service|16|R",
    "AcSvc|Access Connections Main Service|16|R", "SUService|System Update|16|S",
    "LENOVO.MICMUTE|Lenovo Microphone Mute|16|R",
    "dbupdate|Dropbox Update Service (dbupdate)|16|S",
    "MozillaMaintenance|Mozilla Maintenance Service|16|S",
    "nvsvc|NVIDIA Display Driver Service|16|R",
    "Stereo Service|NVIDIA Stereoscopic 3D Driver Service|16|R",
    "ose64|Office 64 Source Engine|16|S", "osppsvc|Office Software Protection Platform|16|R",
    "MSSQL$SQLEXPRESS|SQL Server (SQLEXPRESS)|16|R",
    "SQLAgent$SQLEXPRESS|SQL Server Agent (SQLEXPRESS)|16|S", "SQLBrowser|SQL Server Browser|16|S",
    "SQLWriter|SQL Server VSS Writer|16|R", "Skype Updater|Skype Updater|16|S",
    "ACPI|Microsoft ACPI Driver|1|R", "AFD|Ancillary Function Driver for Winsock|1|R",
    "atapi|IDE Channel|1|R", "Beep|Beep|1|R", "bowser|Browser Support Driver|2|R",
    "BthEnum|Bluetooth Request Block Driver|1|R",
    "BthPan|Bluetooth Device (Personal Area Network)|1|R", "BTHPORT|Bluetooth Port Driver|1|R",
    "BTHUSB|Bluetooth Radio USB Driver|1|R", "cdfs|CD/DVD File System Reader|2|S",
    "cdrom|CD-ROM Driver|1|R", "CLFS|Common Log (CLFS)|1|R",
    "CmBatt|Microsoft AC Adapter Driver|1|R", "CNG|CNG|1|R",
    "CnxtHdAudService|Conexant UAA Function Driver for High Definition Audio Service|1|R",
    "CSC|Offline Files Driver|1|R", "DfsC|DfsC|2|R", "Disk|Disk Driver|1|R",
    "DXGKrnl|LDDM Graphics Subsystem|1|R",
    "e1cexpress|Intel(R) PRO/1000 PCI Express Network Connection Driver C|1|R",
    "Ecache|Readyboost|1|R", "fastfat|FAT12/16/32 File System Driver|2|R",
    "FileInfo|File Information FS MiniFilter|2|R", "FltMgr|FltMgr|2|R",
    "fvevol|Bitlocker Drive Encryption Filter Driver|1|R",
    "HDAudBus|Microsoft UAA Bus Driver for High Definition Audio|1|R",
    "HidUsb|Microsoft HID Class Driver|1|R", "HTTP|HTTP|1|R",
    "i8042prt|i8042 Keyboard and PS/2 Mouse Port Driver|1|R",
    "iaStor|Intel RAID Controller Windows 7|1|R", "igfx|igfx|1|R",
    "IntcDAud|Intel(R) Display Audio|1|R", "intelppm|Intel Processor Driver|1|R",
    "kbdclass|Keyboard Class Driver|1|R", "kbdhid|Keyboard HID Driver|1|R", "KSecDD|KSecDD|1|R",
    "KSecPkg|KSecPkg|1|R", "lltdio|Link-Layer Topology Discovery Mapper I/O Driver|1|R",
    "luafv|UAC File Virtualization|2|R", "mouclass|Mouse Class Driver|1|R",
    "mouhid|Mouse HID Driver|1|R", "mountmgr|Mount Point Manager|1|R",
    "MRxDAV|WebDav Client Redirector Driver|2|S",
    "mrxsmb|SMB MiniRedirector Wrapper and Engine|2|R", "mrxsmb10|SMB 1.x MiniRedirector|2|R",
    "mrxsmb20|SMB 2.0 MiniRedirector|2|R", "Msfs|Msfs|2|R",
    "mssmbios|Microsoft System Management BIOS Driver|1|R", "Mup|Mup|2|R",
    "NativeWifiP|NativeWiFi Filter|1|R", "NDIS|NDIS System Driver|1|R",
    "NdisWan|Remote Access NDIS WAN Driver|1|R", "NetBIOS|NetBIOS Interface|2|R",
    "NetBT|NETBT|1|R",
    "NETwNs64|Intel® Wireless WiFi Link Adapter Driver for Windows 7 - 64 Bit|1|R",
    "Npfs|Npfs|2|R", "nsiproxy|NSI proxy service driver|1|R", "Ntfs|Ntfs|2|R",
    "nvlddmkm|nvlddmkm|1|R", "partmgr|Partition Manager|1|R", "pci|PCI Bus Driver|1|R",
    "pcw|Performance Counters for Windows Driver|1|R", "PEAUTH|PEAUTH|1|R",
    "Psched|QoS Packet Scheduler|1|R", "rdbss|Redirected Buffering Sub Sysytem|2|R",
    "RDPCDD|RDPCDD|1|R", "rdyboost|ReadyBoost|1|R",
    "RFCOMM|Bluetooth Device (RFCOMM Protocol TDI)|1|R",
    "rismxdp|Ricoh xD-Picture Card Driver|1|R",
    "rspndr|Link-Layer Topology Discovery Responder|1|R",
    "ShockprfFilter|ThinkVantage Active Protection System|1|R",
    "spldr|Security Processor Loader Driver|1|R",
    "SRTSP|Symantec Real Time Storage Protection (PEL)|2|R",
    "SRTSPX|Symantec Real Time Storage Protection Extension|1|R",
    "srv|Server SMB 1.xxx Driver|2|R", "srv2|Server SMB 2.xxx Driver|2|R", "srvnet|srvnet|2|R",
    "swenum|Software Bus Driver|1|R", "SymEFA|Symantec Extended File Attributes|2|R",
    "SymIRON|Symantec Iron Driver|1|R", "SynTP|Synaptics TouchPad Driver|1|R",
    "Tcpip|TCP/IP Protocol Driver|1|R", "TCPIP6|Microsoft IPv6 Protocol Driver|1|S",
    "tdx|NetIO Legacy TDI Support Driver|1|R", "TermDD|Terminal Device Driver|1|R",
    "TPPWRIF|TPPWRIF|1|R", "tunnel|Microsoft Tunnel Miniport Adapter Driver|1|R", "udfs|udfs|2|S",
    "usbccgp|Microsoft USB Generic Parent Driver|1|R",
    "usbehci|Microsoft USB 2.0 Enhanced Host Controller Miniport Driver|1|R",
    "usbhub|Microsoft USB Standard Hub Driver|1|R", "USBSTOR|USB Mass Storage Driver|1|R",
    "usbvideo|USB Video Device (WDM)|1|R", "VBoxDrv|VirtualBox Service|1|R",
    "VBoxNetAdp|VirtualBox Host-Only Ethernet Adapter|1|R", "VBoxNetFlt|VBoxNetFlt Service|1|R",
    "VBoxUSBMon|VirtualBox USB Monitor Driver|1|R",
    "vdrvroot|Microsoft Virtual Drive Enumerator Driver|1|R", "volmgr|Volume Manager Driver|1|R",
    "volmgrx|Dynamic Volume Manager|1|R", "volsnap|Storage volumes|1|R",
    "vpnva|Cisco AnyConnect Secure Mobility Client Virtual Miniport Adapter for Windows x64|1|S",
    "vwifibus|Virtual WiFi Bus Driver|1|R", "vwififlt|Virtual WiFi Filter Driver|1|R",
    "Wdf01000|Kernel Mode Driver Frameworks service|1|R", "WfpLwf|WFP Lightweight Filter|1|R",
    "WmiAcpi|Microsoft Windows Management Interface for ACPI|1|R",
    "WudfPf|User Mode Driver Frameworks Platform Driver|1|R", "WUDFRd|WUDFRd|1|R",
]


def w7_processes(rng):
    p = Processes(rng, (2014, 1, 27, 8, 3, 17), -300)
    sys32 = "C:\\Windows\\system32\\"
    pf = "C:\\Program Files\\"
    x86 = "C:\\Program Files (x86)\\"
    chrome = x86 + "Google\\Chrome\\Application\\chrome.exe"
    office = x86 + "Microsoft Office\\Office14\\"
    csrss_args = (" ObjectDirectory=\\Windows SharedSection=1024,20480,768 Windows=On "
                  "SubSystemType=Windows ServerDll=basesrv,1 "
                  "ServerDll=winsrv:UserServerDllInitialization,3 "
                  "ServerDll=winsrv:ConServerDllInitialization,2 ServerDll=sxssrv,4 "
                  "ProfileControl=Off MaxRequestThreads=16")

    p.add("System Idle Process", None, None, session=0, threads=4)
    system = p.add("System", None, None, session=0, threads=151)
    smss = p.add("smss.exe", sys32 + "smss.exe", "\\SystemRoot\\System32\\smss.exe",
                 parent=system, session=0)
    p.add("csrss.exe", sys32 + "csrss.exe", "%SystemRoot%\\system32\\csrss.exe" + csrss_args,
          parent=smss, session=0)
    wininit = p.add("wininit.exe", sys32 + "wininit.exe", "wininit.exe", parent=smss,
                    session=0)
    p.add("csrss.exe", sys32 + "csrss.exe", "%SystemRoot%\\system32\\csrss.exe" + csrss_args,
          parent=smss)
    p.add("winlogon.exe", sys32 + "winlogon.exe", "winlogon.exe", parent=smss)
    services = p.add("services.exe", sys32 + "services.exe", sys32 + "services.exe",
                     parent=wininit, session=0)
    p.add("lsass.exe", sys32 + "lsass.exe", sys32 + "lsass.exe", parent=wininit, session=0)
    p.add("lsm.exe", sys32 + "lsm.exe", sys32 + "lsm.exe", parent=wininit, session=0)
    for group in ["DcomLaunch", "RPCSS", "LocalServiceNetworkRestricted", "netsvcs",
                  "LocalSystemNetworkRestricted", "LocalService", "NetworkService",
                  "LocalServiceNoNetwork", "LocalServiceAndNoImpersonation",
                  "NetworkServiceNetworkRestricted", "imgsvc", "bthsvcs", "LocalServicePeerNet"]:
        folder = ("C:\\Windows\\System32\\" if "Restricted" in group or group == "bthsvcs"
                  else sys32)
        p.add("svchost.exe", sys32 + "svchost.exe", folder + "svchost.exe -k " + group,
              parent=services, session=0)
    p.add("audiodg.exe", None, None, parent=services, session=0)
    for name, path, command in [
        ("spoolsv.exe", sys32 + "spoolsv.exe", sys32 + "spoolsv.exe"),
        ("SearchIndexer.exe", sys32 + "SearchIndexer.exe", sys32 + "SearchIndexer.exe /Embedding"),
        ("sppsvc.exe", sys32 + "sppsvc.exe", sys32 + "sppsvc.exe"),
        ("wmpnetwk.exe", pf + "Windows Media Player\\wmpnetwk.exe",
         '"' + pf + 'Windows Media Player\\wmpnetwk.exe"'),
        ("msdtc.exe", sys32 + "msdtc.exe", sys32 + "msdtc.exe"),
        ("mDNSResponder.exe", pf + "Bonjour\\mDNSResponder.exe",
         '"' + pf + 'Bonjour\\mDNSResponder.exe"'),
        ("AppleMobileDeviceService.exe", pf + "Common Files\\Apple\\Mobile Device Support\\"
         "AppleMobileDeviceService.exe", '"' + pf + 'Common Files\\Apple\\Mobile Device '
         'Support\\AppleMobileDeviceService.exe"'),
        ("btwdins.exe", pf + "WIDCOMM\\Bluetooth Software\\btwdins.exe",
         '"' + pf + 'WIDCOMM\\Bluetooth Software\\btwdins.exe"'),
        ("ZeroConfigService.exe", pf + "Intel\\WiFi\\bin\\ZeroConfigService.exe",
         '"' + pf + 'Intel\\WiFi\\bin\\ZeroConfigService.exe"'),
        ("EvtEng.exe", pf + "Intel\\WiFi\\bin\\EvtEng.exe",
         '"' + pf + 'Intel\\WiFi\\bin\\EvtEng.exe"'),
        ("RegSrvc.exe", pf + "Common Files\\Intel\\WirelessCommon\\RegSrvc.exe",
         '"' + pf + 'Common Files\\Intel\\WirelessCommon\\RegSrvc.exe"'),
        ("LMS.exe", x86 + "Intel\\Intel(R) Management Engine Components\\LMS\\LMS.exe",
         '"' + x86 + 'Intel\\Intel(R) Management Engine Components\\LMS\\LMS.exe"'),
        ("UNS.exe", x86 + "Intel\\Intel(R) Management Engine Components\\UNS\\UNS.exe",
         '"' + x86 + 'Intel\\Intel(R) Management Engine Components\\UNS\\UNS.exe"'),
        ("jhi_service.exe", x86 + "Intel\\Intel(R) Management Engine Components\\DAL\\"
         "jhi_service.exe", '"' + x86 + 'Intel\\Intel(R) Management Engine Components\\DAL\\'
         'jhi_service.exe"'),
        ("IAStorDataMgrSvc.exe", x86 + "Intel\\Intel(R) Rapid Storage Technology\\"
         "IAStorDataMgrSvc.exe", '"' + x86 + 'Intel\\Intel(R) Rapid Storage Technology\\'
         'IAStorDataMgrSvc.exe"'),
        ("ibmpmsvc.exe", sys32 + "ibmpmsvc.exe", sys32 + "ibmpmsvc.exe"),
        ("TPHKLOAD.exe", x86 + "Lenovo\\HOTKEY\\TPHKLOAD.exe",
         '"' + x86 + 'Lenovo\\HOTKEY\\TPHKLOAD.exe"'),
        ("TPOSDSVC.exe", x86 + "Lenovo\\HOTKEY\\TPOSDSVC.exe",
         '"' + x86 + 'Lenovo\\HOTKEY\\TPOSDSVC.exe"'),
        ("AcSvc.exe", x86 + "ThinkPad\\ConnectUtilities\\AcSvc.exe",
         '"' + x86 + 'ThinkPad\\ConnectUtilities\\AcSvc.exe"'),
        ("AcPrfMgrSvc.exe", x86 + "ThinkPad\\ConnectUtilities\\AcPrfMgrSvc.exe",
         '"' + x86 + 'ThinkPad\\ConnectUtilities\\AcPrfMgrSvc.exe"'),
        ("micmute.exe", sys32 + "micmute.exe", sys32 + "micmute.exe"),
        ("vpnagent.exe", x86 + "Cisco\\Cisco AnyConnect Secure Mobility Client\\vpnagent.exe",
         '"' + x86 + 'Cisco\\Cisco AnyConnect Secure Mobility Client\\vpnagent.exe"'),
        ("ccSvcHst.exe", x86 + "Symantec\\Symantec Endpoint Protection\\12.1.2015.2015.105\\"
         "Bin\\ccSvcHst.exe", '"' + x86 + 'Symantec\\Symantec Endpoint Protection\\'
         '12.1.2015.2015.105\\Bin\\ccSvcHst.exe" /s "Symantec Endpoint Protection" /m "' + x86 +
         'Symantec\\Symantec Endpoint Protection\\12.1.2015.2015.105\\Bin\\sms.dll" /prefetch:1'),
        ("Smc.exe", x86 + "Symantec\\Symantec Endpoint Protection\\Smc.exe",
         '"' + x86 + 'Symantec\\Symantec Endpoint Protection\\Smc.exe"'),
        ("armsvc.exe", x86 + "Common Files\\Adobe\\ARM\\1.0\\armsvc.exe",
         '"' + x86 + 'Common Files\\Adobe\\ARM\\1.0\\armsvc.exe"'),
        ("nvvsvc.exe", sys32 + "nvvsvc.exe", sys32 + "nvvsvc.exe"),
        ("nvxdsync.exe", pf + "NVIDIA Corporation\\Display\\nvxdsync.exe",
         '"' + pf + 'NVIDIA Corporation\\Display\\nvxdsync.exe"'),
        ("sqlservr.exe", pf + "Microsoft SQL Server\\MSSQL10_50.SQLEXPRESS\\MSSQL\\Binn\\"
         "sqlservr.exe", '"' + pf + 'Microsoft SQL Server\\MSSQL10_50.SQLEXPRESS\\MSSQL\\Binn\\'
         'sqlservr.exe" -sSQLEXPRESS'),
        ("sqlwriter.exe", pf + "Microsoft SQL Server\\90\\Shared\\sqlwriter.exe",
         '"' + pf + 'Microsoft SQL Server\\90\\Shared\\sqlwriter.exe"'),
        ("WLIDSVC.EXE", pf + "Common Files\\Microsoft Shared\\WindowsLiveLogin\\WLIDSVC.EXE",
         '"' + pf + 'Common Files\\Microsoft Shared\\WindowsLiveLogin\\WLIDSVC.EXE"'),
        ("OSPPSVC.EXE", pf + "Common Files\\Microsoft Shared\\OfficeSoftwareProtectionPlatform"
         "\\OSPPSVC.EXE", '"' + pf + 'Common Files\\Microsoft Shared\\'
         'OfficeSoftwareProtectionPlatform\\OSPPSVC.EXE"'),
        ("PresentationFontCache.exe", "C:\\Windows\\Microsoft.NET\\Framework64\\v3.0\\WPF\\"
         "PresentationFontCache.exe", "C:\\Windows\\Microsoft.NET\\Framework64\\v3.0\\WPF\\"
         "PresentationFontCache.exe"),
        ("TrustedInstaller.exe", "C:\\Windows\\servicing\\TrustedInstaller.exe",
         "C:\\Windows\\servicing\\TrustedInstaller.exe"),
        ("SUService.exe", x86 + "Lenovo\\System Update\\SUService.exe",
         '"' + x86 + 'Lenovo\\System Update\\SUService.exe"'),
    ]:
        p.add(name, path, command, parent=services, session=0)
    for args in ["", " -secured -Embedding"]:
        p.add("WmiPrvSE.exe", sys32 + "wbem\\wmiprvse.exe", sys32 + "wbem\\wmiprvse.exe" + args,
              parent=services, session=0)
    p.add("WUDFHost.exe", sys32 + "WUDFHost.exe",
          '"' + sys32 + 'WUDFHost.exe" -HostGUID:{193a1820-d9ac-4997-8c55-be817523f6aa} '
          '-IoEventPortName:HostProcess-7c1fd2a1-b7a8-4d5c-8a5e-3f9e31c7b2d4 '
          '-SystemEventPortName:HostProcess-11b6dd5a-0c59-4d7b-9f4e-6b3a0d1e2f77 '
          '-IoCancelEventPortName:HostProcess-5be2e9c3-7a44-4f0b-a5d2-c1f0e9b8a7d6 '
          '-NonStateChangingEventPortName:HostProcess-0e4f6a8b-2c1d-4e3f-9a5b-7c6d8e9f0a1b '
          '-ServiceSID:S-1-5-80-2652678385-582572993-1835434367-1344795993-749280709 '
          '-LifetimeId:8a1f6b2d-5c3e-4a7f-9b0d-e2c4f6a8b1d3', parent=services, session=0)
    for _ in range(2):
        p.add("taskhost.exe", sys32 + "taskhost.exe", "taskhost.exe $(Arg0)",
              parent=services)
    p.add("dwm.exe", sys32 + "Dwm.exe", '"' + sys32 + 'Dwm.exe"', parent=services)
    p.add("wuauclt.exe", sys32 + "wuauclt.exe", '"' + sys32 + 'wuauclt.exe"',
          parent=services)

    explorer = p.add("explorer.exe", "C:\\Windows\\Explorer.EXE", "C:\\Windows\\Explorer.EXE",
                     threads=41)
    docs = W7_PROFILE + "\\Documents\\"
    for name, path, command in [
        ("igfxtray.exe", sys32 + "igfxtray.exe", '"' + sys32 + 'igfxtray.exe"'),
        ("hkcmd.exe", sys32 + "hkcmd.exe", '"' + sys32 + 'hkcmd.exe"'),
        ("igfxpers.exe", sys32 + "igfxpers.exe", '"' + sys32 + 'igfxpers.exe"'),
        ("SynTPEnh.exe", pf + "Synaptics\\SynTP\\SynTPEnh.exe",
         '"' + pf + 'Synaptics\\SynTP\\SynTPEnh.exe"'),
        ("SynTPHelper.exe", pf + "Synaptics\\SynTP\\SynTPHelper.exe",
         pf + "Synaptics\\SynTP\\SynTPHelper.exe"),
        ("TpShocks.exe", sys32 + "TpShocks.exe", "TpShocks.exe"),
        ("tposd.exe", x86 + "Lenovo\\HOTKEY\\tposd.exe", '"' + x86 + 'Lenovo\\HOTKEY\\tposd.exe"'),
        ("ACTray.exe", x86 + "ThinkPad\\ConnectUtilities\\ACTray.exe",
         '"' + x86 + 'ThinkPad\\ConnectUtilities\\ACTray.exe"'),
        ("ACWLIcon.exe", x86 + "ThinkPad\\ConnectUtilities\\ACWLIcon.exe",
         '"' + x86 + 'ThinkPad\\ConnectUtilities\\ACWLIcon.exe"'),
        ("IAStorIcon.exe", x86 + "Intel\\Intel(R) Rapid Storage Technology\\IAStorIcon.exe",
         '"' + x86 + 'Intel\\Intel(R) Rapid Storage Technology\\IAStorIcon.exe" 60'),
        ("iFrmewrk.exe", pf + "Intel\\WiFi\\bin\\iFrmewrk.exe",
         '"' + pf + 'Intel\\WiFi\\bin\\iFrmewrk.exe" /tf Intel PROSet/Wireless'),
        ("BTTray.exe", pf + "WIDCOMM\\Bluetooth Software\\BTTray.exe",
         '"' + pf + 'WIDCOMM\\Bluetooth Software\\BTTray.exe"'),
        ("btplayerctrl.exe", pf + "WIDCOMM\\Bluetooth Software\\btplayerctrl.exe",
         '"' + pf + 'WIDCOMM\\Bluetooth Software\\btplayerctrl.exe"'),
        ("SmcGui.exe", x86 + "Symantec\\Symantec Endpoint Protection\\SmcGui.exe",
         '"' + x86 + 'Symantec\\Symantec Endpoint Protection\\SmcGui.exe"'),
        ("vpnui.exe", x86 + "Cisco\\Cisco AnyConnect Secure Mobility Client\\vpnui.exe",
         '"' + x86 + 'Cisco\\Cisco AnyConnect Secure Mobility Client\\vpnui.exe" -minimized'),
        ("rundll32.exe", sys32 + "rundll32.exe",
         '"' + sys32 + 'rundll32.exe" C:\\PROGRA~2\\ThinkPad\\UTILIT~1\\PWMTR64V.DLL,'
         'CreatePwrMgrWindow'),
        ("sidebar.exe", pf + "Windows Sidebar\\sidebar.exe",
         '"' + pf + 'Windows Sidebar\\sidebar.exe" /autoRun'),
        ("Dropbox.exe", W7_PROFILE + "\\AppData\\Roaming\\Dropbox\\bin\\Dropbox.exe",
         '"' + W7_PROFILE + '\\AppData\\Roaming\\Dropbox\\bin\\Dropbox.exe" /home'),
        ("GoogleCrashHandler.exe", x86 + "Google\\Update\\1.3.22.5\\GoogleCrashHandler.exe",
         '"' + x86 + 'Google\\Update\\1.3.22.5\\GoogleCrashHandler.exe"'),
        ("GoogleCrashHandler64.exe", x86 + "Google\\Update\\1.3.22.5\\"
         "GoogleCrashHandler64.exe", '"' + x86 + 'Google\\Update\\1.3.22.5\\'
         'GoogleCrashHandler64.exe"'),
        ("Skype.exe", x86 + "Skype\\Phone\\Skype.exe",
         '"' + x86 + 'Skype\\Phone\\Skype.exe" /minimized /regrun'),
        ("iTunesHelper.exe", pf + "iTunes\\iTunesHelper.exe",
         '"' + pf + 'iTunes\\iTunesHelper.exe"'),
        ("jusched.exe", x86 + "Common Files\\Java\\Java Update\\jusched.exe",
         '"' + x86 + 'Common Files\\Java\\Java Update\\jusched.exe"'),
        ("SogouCloud.exe", x86 + "SogouInput\\6.7.0.0922\\SogouCloud.exe",
         '"' + x86 + 'SogouInput\\6.7.0.0922\\SogouCloud.exe"'),
        ("communicator.exe", pf + "Microsoft Lync\\communicator.exe",
         '"' + pf + 'Microsoft Lync\\communicator.exe" /fromrunkey'),
        ("UcMapi.exe", pf + "Microsoft Lync\\UcMapi.exe",
         '"' + pf + 'Microsoft Lync\\UcMapi.exe" -Embedding'),
        ("OUTLOOK.EXE", office + "OUTLOOK.EXE", '"' + office + 'OUTLOOK.EXE" '),
        ("WINWORD.EXE", office + "WINWORD.EXE",
         '"' + office + 'WINWORD.EXE" /n "' + docs + 'Team offsite 🎉 agenda.docx"'),
        ("EXCEL.EXE", office + "EXCEL.EXE",
         '"' + office + 'EXCEL.EXE" "' + W7_PROFILE + '\\Downloads\\报价单_2013年第4季度.xlsx"'),
        ("POWERPNT.EXE", office + "POWERPNT.EXE",
         '"' + office + 'POWERPNT.EXE" "\\\\fs01.fairhaven.local\\Projects & Proposals\\'
         'Q1 Kick-off – “Fleet Tracker” v3.pptx"'),
        ("ONENOTEM.EXE", office + "ONENOTEM.EXE", '"' + office + 'ONENOTEM.EXE" /tsr'),
        ("MSOSYNC.EXE", office + "MSOSYNC.EXE", '"' + office + 'MSOSYNC.EXE"'),
        ("VirtualBox.exe", pf + "Oracle\\VirtualBox\\VirtualBox.exe",
         '"' + pf + 'Oracle\\VirtualBox\\VirtualBox.exe" '),
        ("VBoxSVC.exe", pf + "Oracle\\VirtualBox\\VBoxSVC.exe",
         '"' + pf + 'Oracle\\VirtualBox\\VBoxSVC.exe" -Embedding'),
        ("VBoxHeadless.exe", pf + "Oracle\\VirtualBox\\VBoxHeadless.exe",
         '"' + pf + 'Oracle\\VirtualBox\\VBoxHeadless.exe" --comment "Ubuntu 12.04 (dev)" '
         '--startvm "0b6e42a8-6e3f-4d8c-9a14-2f5d7c1e9b30" --vrde config'),
        ("notepad++.exe", x86 + "Notepad++\\notepad++.exe",
         '"' + x86 + 'Notepad++\\notepad++.exe" "' + docs + "notes\\it's done.txt\""),
        ("putty.exe", x86 + "PuTTY\\putty.exe",
         '"' + x86 + 'PuTTY\\putty.exe" -load "build server (10.20.4.15)"'),
        ("WinSCP.exe", x86 + "WinSCP\\WinSCP.exe",
         '"' + x86 + 'WinSCP\\WinSCP.exe" sftp://deploy@10.20.4.15/var/www/'),
        ("KeePass.exe", x86 + "KeePass Password Safe 2\\KeePass.exe",
         '"' + x86 + 'KeePass Password Safe 2\\KeePass.exe" "' + docs + 'Passwords.kdbx"'),
        ("cmd.exe", sys32 + "cmd.exe", '"' + sys32 + 'cmd.exe" '),
        ("powershell.exe", sys32 + "WindowsPowerShell\\v1.0\\powershell.exe",
         '"' + sys32 + 'WindowsPowerShell\\v1.0\\powershell.exe" -NoProfile -Command '
         '"Set-Content -Path $env:TEMP\\probe.html -Value \'<script>alert(1)</script>\'"'),
        ("mmc.exe", sys32 + "mmc.exe", '"' + sys32 + 'mmc.exe" "' + sys32 + 'devmgmt.msc" '),
        ("SnippingTool.exe", sys32 + "SnippingTool.exe", '"' + sys32 + 'SnippingTool.exe" '),
        ("taskmgr.exe", sys32 + "taskmgr.exe", '"' + sys32 + 'taskmgr.exe" /4'),
        ("javaw.exe", pf + "Java\\jre7\\bin\\javaw.exe",
         '"' + pf + 'Java\\jre7\\bin\\javaw.exe" -Xms256m -Xmx1024m -XX:MaxPermSize=256m '
         '-Dosgi.requiredJavaVersion=1.6 -Declipse.p2.unsignedPolicy=allow -cp "' +
         long_classpath(rng, W7_PROFILE + "\\eclipse", 130).replace("kontosync", "fleet") +
         '" org.eclipse.equinox.launcher.Main -os win32 -ws win32 -arch x86_64 -showsplash '
         '-launcher "' + W7_PROFILE + '\\eclipse\\eclipse.exe" -name Eclipse --launcher.library '
         '"' + W7_PROFILE + '\\eclipse\\plugins\\org.eclipse.equinox.launcher.win32.win32.'
         'x86_64_1.1.200.v20130807-1835\\eclipse_1506.dll" -startup "' + W7_PROFILE +
         '\\eclipse\\plugins\\org.eclipse.equinox.launcher_1.3.0.v20130327-1440.jar" -data '
         '"' + W7_PROFILE + '\\workspace"'),
    ]:
        p.add(name, path, command, parent=explorer)
    for _ in range(3):
        p.add("conhost.exe", sys32 + "conhost.exe", "\\??\\C:\\Windows\\system32\\conhost.exe",
              parent=explorer)
    p.add("SearchProtocolHost.exe", sys32 + "SearchProtocolHost.exe",
          '"' + sys32 + 'SearchProtocolHost.exe" Global\\UsGthrFltPipeMssGthrPipe7_ '
          'Global\\UsGthrCtrlFltPipeMssGthrPipe7 1 -2147483646 "Software\\Microsoft\\Windows '
          'Search" "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT; MS Search 4.0 Robot)" '
          '"C:\\ProgramData\\Microsoft\\Search\\Data\\Temp\\usgthrsvc" "DownLevelDaemon" ',
          parent=services, session=0)
    p.add("SearchFilterHost.exe", sys32 + "SearchFilterHost.exe",
          '"' + sys32 + 'SearchFilterHost.exe" 0 512 516 524 65536 520', parent=services,
          session=0)
    p.add("dllhost.exe", sys32 + "dllhost.exe",
          sys32 + "DllHost.exe /Processid:{3EB3C877-1F16-487C-9050-104DBCD66683}",
          parent=services)

    browser = p.add("chrome.exe", chrome, '"' + chrome + '" ', parent=explorer, threads=45)
    channel = 4012
    p.add("chrome.exe", chrome,
          '"' + chrome + '" --type=gpu-process --channel="' + str(channel) + '.0.1846274315\\'
          '1732068473" --supports-dual-gpus=true --gpu-driver-bug-workarounds=1,15 '
          '--disable-accelerated-video-decode --gpu-vendor-id=0x8086 --gpu-device-id=0x0126 '
          '--gpu-driver-vendor="Intel Corporation" --gpu-driver-version=8.15.10.2993 '
          '/prefetch:822062411', parent=browser)
    p.add("chrome.exe", chrome,
          '"' + chrome + '" --type=ppapi --channel="' + str(channel) + '.1.2009231522\\'
          '1460118362" --ppapi-flash-args --lang=en-US --device-scale-factor=1 '
          '/prefetch:1065882368', parent=browser)
    for n in range(2, 16):
        p.add("chrome.exe", chrome,
              '"' + chrome + '" --type=renderer --lang=en-US --force-fieldtrials='
              'ChromeSuggestions/Default/ForceCompositingMode/enabled/InfiniteCache/No/'
              'Prerender/PrerenderEnabled/UMA-Dynamic-Binary-Uniformity-Trial/default/ '
              '--enable-threaded-compositing --enable-delegated-renderer '
              '--enable-deferred-image-decoding --channel="' + str(channel) + '.' + str(n) +
              '.' + str(rng.randrange(10 ** 9, 10 ** 10)) + '\\' +
              str(rng.randrange(10 ** 9, 10 ** 10)) + '" /prefetch:673131151', parent=browser)
    return p.items


def w7_laptop():
    rng = random.Random(0x0761)
    offset = -300
    hotfixes = rng.sample(W7_HOTFIXES, 118)
    processes = w7_processes(rng)

    qfe = []
    for kb in ["KB976902", "KB976932"] + sorted(hotfixes, key=lambda k: int(k[2:])):
        roll = rng.random()
        description = ("Service Pack" if kb == "KB976932" else "Security Update" if roll < 0.42
                       else "Update" if roll < 0.93 else "Hotfix")
        qfe.append({
            "Caption": "http://support.microsoft.com/?kbid=" + kb[2:],
            "CSName": W7_HOST,
            "Description": description,
            "FixComments": "",
            "HotFixID": kb,
            "InstallDate": None,
            "InstalledBy": rng.choice(["NT AUTHORITY\\SYSTEM"] * 6 +
                                      [W7_DOMAIN + "\\" + W7_USER, W7_HOST + "\\lenovo_admin"]),
            "InstalledOn": us_date(rng, 2011, 2014),
            "Name": None,
            "ServicePackInEffect": "",
            "Status": None,
        })
    # Some updates report the time as a hexadecimal file time instead of a date.
    qfe[7]["InstalledOn"] = "01ce3a7c5e8d2f00"

    def nic(index, description, enabled, mac_address, addresses=None, **more):
        item = {"Index": u32(index), "Description": description, "IPEnabled": enabled,
                "MACAddress": mac_address, "DHCPEnabled": more.pop("dhcp", enabled),
                "IPAddress": addresses}
        item.update(more)
        return item

    nics = [
        nic(0, "WAN Miniport (SSTP)", False, None),
        nic(1, "WAN Miniport (IKEv2)", False, None),
        nic(2, "WAN Miniport (L2TP)", False, None),
        nic(3, "WAN Miniport (PPTP)", False, None),
        nic(4, "WAN Miniport (PPPOE)", False, None),
        nic(5, "WAN Miniport (IPv6)", False, None),
        nic(6, "WAN Miniport (Network Monitor)", False, None),
        nic(7, "Intel(R) 82579LM Gigabit Network Connection", False, "3C:97:0E:8A:41:D2"),
        nic(8, "WAN Miniport (IP)", False, None),
        nic(9, "Microsoft ISATAP Adapter", False, None),
        nic(10, "RAS Async Adapter", False, "20:41:53:59:4E:FF"),
        nic(11, "Intel(R) Centrino(R) Advanced-N 6205", True, "8C:70:5A:1F:3B:90",
            ["192.168.1.104", "fe80::8d4c:2a1b:93e0:5f1c"], IPSubnet=["255.255.255.0", "64"],
            DefaultIPGateway=["192.168.1.1"], DNSDomain="home",
            DHCPServer="192.168.1.1"),
        nic(12, "Microsoft Virtual WiFi Miniport Adapter", False, "8C:70:5A:1F:3B:91"),
        nic(13, "Teredo Tunneling Pseudo-Interface", False, None),
        nic(14, "Bluetooth Device (Personal Area Network)", False, "00:26:5E:C4:88:02"),
        nic(15, "Cisco AnyConnect Secure Mobility Client Virtual Miniport Adapter for Windows "
            "x64", False, "00:05:9A:3C:7A:00"),
        nic(16, "VirtualBox Host-Only Ethernet Adapter", True, "08:00:27:00:9C:4E",
            ["192.168.56.1", "fe80::5d2e:c1b7:4a0f:8e31"], dhcp=False,
            IPSubnet=["255.255.255.0", "64"]),
        nic(17, "Microsoft 6to4 Adapter", False, None),
    ]

    wmi = {
        "Win32_Process": processes,
        "Win32_BIOS": [{
            "Name": "Ver 1.00PARTTBLX",
            "Version": "LENOVO - 1460",
            "Manufacturer": "LENOVO",
            "Description": "Ver 1.00PARTTBLX",
            "IdentificationCode": None,
            "SerialNumber": "R9-0ZK4F 12/04",
            "SMBIOSBIOSVersion": "83ET76WW (1.46 )",
            "ReleaseDate": "20120719000000.000000+000",
            "BIOSVersion": ["LENOVO - 1460", "Ver 1.00PARTTBLX"],
            "PrimaryBIOS": True,
            "Status": "OK",
        }],
        "Win32_OperatingSystem": [{
            "Caption": "Microsoft Windows 7 Professional",
            "Version": "6.1.7601",
            "BuildNumber": "7601",
            "CSDVersion": "Service Pack 1",
            "ServicePackMajorVersion": 1,
            "OSArchitecture": "64-bit",
            "InstallDate": wmi_datetime(2012, 11, 6, 14, 22, 51, 0, -300),
            "LastBootUpTime": wmi_datetime(2014, 1, 27, 8, 3, 17, 109210, offset),
            "LocalDateTime": wmi_datetime(2014, 1, 27, 16, 49, 2, 443000, offset),
            "CurrentTimeZone": i16(offset),
            "TotalVisibleMemorySize": "8277752",
            "FreePhysicalMemory": "3129456",
            "TotalVirtualMemorySize": "16553604",
            "FreeVirtualMemory": "10442128",
            "WindowsDirectory": "C:\\Windows",
            "SystemDirectory": "C:\\Windows\\system32",
            "SystemDrive": "C:",
            "Description": "Sarah's laptop",
            "CSName": W7_HOST,
            "Manufacturer": "Microsoft Corporation",
            "Organization": "Fairhaven & Partners",
            "RegisteredUser": "Fairhaven IT",
            "SerialNumber": "00371-OEM-8992671-00524",
            "OSLanguage": u32(1033),
            "OSType": 18,
            "ProductType": u32(1),
            "NumberOfProcesses": u32(len(processes)),
            "MUILanguages": ["en-US"],
            "Primary": True,
        }],
        "Win32_ComputerSystem": [{
            "Manufacturer": "LENOVO",
            "Model": "4180W1K",
            "Name": W7_HOST,
            "Domain": "fairhaven.local",
            "PartOfDomain": True,
            "DomainRole": 1,
            "NumberOfProcessors": u32(1),
            "NumberOfLogicalProcessors": u32(4),
            "SystemType": "x64-based PC",
            "TotalPhysicalMemory": "8476418048",
            "UserName": W7_DOMAIN + "\\" + W7_USER,
            "PCSystemType": 2,
        }],
        "Win32_MotherboardDevice": [{
            "Caption": "Motherboard", "DeviceID": "Motherboard", "Name": "Motherboard",
            "PrimaryBusType": "PCI", "SecondaryBusType": "ISA", "Availability": 3,
        }],
        "Win32_SoundDevice": [
            {"Caption": "Conexant 20672 SmartAudio HD", "Description": "Conexant 20672 "
             "SmartAudio HD", "Manufacturer": "Conexant", "ProductName": "Conexant 20672 "
             "SmartAudio HD", "DeviceID": "HDAUDIO\\FUNC_01&VEN_14F1&DEV_5069&SUBSYS_17AA21CE&"
             "REV_1003\\4&2E2A3F0C&0&0001", "StatusInfo": 3},
            {"Caption": "Intel(R) Display Audio", "Description": "Intel(R) Display Audio",
             "Manufacturer": "Intel(R) Corporation", "ProductName": "Intel(R) Display Audio",
             "DeviceID": "HDAUDIO\\FUNC_01&VEN_8086&DEV_2805&SUBSYS_80860101&REV_1000\\"
             "4&2E2A3F0C&0&0301", "StatusInfo": 3},
            {"Caption": "NVIDIA Virtual Audio Device (Wave Extensible) (WDM)",
             "Description": "NVIDIA Virtual Audio Device (Wave Extensible) (WDM)",
             "Manufacturer": "NVIDIA", "ProductName": "NVIDIA Virtual Audio Device (Wave "
             "Extensible) (WDM)", "DeviceID": "ROOT\\UNNAMED_DEVICE\\0000", "StatusInfo": 3},
        ],
        "Win32_CDROMDrive": [
            {"Name": "MATSHITA DVD-RAM UJ8A0A ATA Device", "Caption": "MATSHITA DVD-RAM "
             "UJ8A0A ATA Device", "Drive": "E:", "Manufacturer": "(Standard CD-ROM drives)",
             "MediaLoaded": False},
            {"Name": "ELBY CLONEDRIVE SCSI CdRom Device", "Caption": "ELBY CLONEDRIVE SCSI "
             "CdRom Device", "Drive": "F:", "Manufacturer": "(Standard CD-ROM drives)",
             "MediaLoaded": True, "VolumeName": "UBUNTU 12_04_3 LTS AMD64"},
        ],
        "Win32_VideoController": [
            {"Name": "Intel(R) HD Graphics 3000", "Caption": "Intel(R) HD Graphics 3000",
             "AdapterRAM": u32(2080374784), "DriverVersion": "8.15.10.2993",
             "VideoProcessor": "Intel(R) HD Graphics Family",
             "CurrentHorizontalResolution": u32(1600), "CurrentVerticalResolution": u32(900),
             "CurrentBitsPerPixel": u32(32), "CurrentRefreshRate": u32(60),
             "VideoModeDescription": "1600 x 900 x 4294967296 colors"},
            {"Name": "NVIDIA NVS 4200M", "Caption": "NVIDIA NVS 4200M",
             "AdapterRAM": u32(1073741824), "DriverVersion": "9.18.13.1135",
             "VideoProcessor": "NVS 4200M", "CurrentHorizontalResolution": None,
             "CurrentVerticalResolution": None, "CurrentBitsPerPixel": None,
             "CurrentRefreshRate": None, "VideoModeDescription": None},
        ],
        "Win32_DesktopMonitor": [
            {"Name": "Generic PnP Monitor", "Description": "Generic PnP Monitor",
             "DeviceID": "DesktopMonitor1", "MonitorManufacturer": "(Standard monitor types)",
             "MonitorType": "Generic PnP Monitor", "ScreenHeight": u32(900),
             "ScreenWidth": u32(1600), "PNPDeviceID": "DISPLAY\\LEN40A0\\4&1C8E2F0B&0&"
                                                      "UID67568640"},
            {"Name": "Default Monitor", "Description": "Default Monitor",
             "DeviceID": "DesktopMonitor2", "MonitorManufacturer": None,
             "MonitorType": "Default Monitor", "ScreenHeight": None, "ScreenWidth": None},
        ],
        "Win32_Registry": [{
            "Caption": "Registry", "Description": "Registry",
            "Name": "Microsoft Windows 7 Professional |C:\\Windows|\\Device\\Harddisk0\\"
                    "Partition2",
            "CurrentSize": u32(142), "MaximumSize": u32(4095), "ProposedSize": u32(4095),
            "Status": "OK",
        }],
        "Win32_LogicalDisk": [
            {"DeviceID": "C:", "DriveType": u32(3), "FileSystem": "NTFS",
             "Size": "319917137920", "FreeSpace": "98413576192", "VolumeName": "Windows7_OS",
             "VolumeSerialNumber": "2C6A1F9E", "ProviderName": None, "MediaType": u32(12)},
            {"DeviceID": "E:", "DriveType": u32(5), "FileSystem": None, "Size": None,
             "FreeSpace": None, "VolumeName": None, "ProviderName": None,
             "MediaType": u32(11)},
            {"DeviceID": "F:", "DriveType": u32(5), "FileSystem": "CDFS", "Size": "740294656",
             "FreeSpace": "0", "VolumeName": "UBUNTU 12_04_3 LTS AMD64", "ProviderName": None,
             "MediaType": u32(11)},
            {"DeviceID": "G:", "DriveType": u32(2), "FileSystem": "FAT32",
             "Size": "7998537728", "FreeSpace": "2214211584", "VolumeName": "SARAH'S USB",
             "ProviderName": None, "MediaType": None},
            {"DeviceID": "Q:", "DriveType": u32(3), "FileSystem": "NTFS",
             "Size": "16105074688", "FreeSpace": "2419388416", "VolumeName": "Lenovo_Recovery",
             "ProviderName": None, "MediaType": u32(12)},
            {"DeviceID": "P:", "DriveType": u32(4), "FileSystem": "NTFS",
             "Size": "2199023255552", "FreeSpace": "601295421440", "VolumeName": "Projects",
             "ProviderName": "\\\\fs01\\Projects & Proposals", "MediaType": u32(0)},
            {"DeviceID": "Z:", "DriveType": u32(4), "FileSystem": "NTFS",
             "Size": "1099511627776", "FreeSpace": "402653184000", "VolumeName": "users$",
             "ProviderName": "\\\\fs01.fairhaven.local\\users$\\soconnell",
             "MediaType": u32(0)},
        ],
        "Win32_NetworkAdapterConfiguration": nics,
        "Win32_Printer": [
            {"Caption": "Send To OneNote 2010", "DeviceID": "Send To OneNote 2010",
             "Name": "Send To OneNote 2010", "ShareName": None, "ServerName": None,
             "DriverName": "Send To Microsoft OneNote 2010 Driver", "PortName": "nul:",
             "Shared": False, "Local": True, "Network": False, "Default": False},
            {"Caption": "Microsoft XPS Document Writer", "DeviceID": "Microsoft XPS Document "
             "Writer", "Name": "Microsoft XPS Document Writer", "ShareName": None,
             "ServerName": None, "DriverName": "Microsoft XPS Document Writer",
             "PortName": "XPSPort:", "Shared": False, "Local": True, "Network": False,
             "Default": False},
            {"Caption": "Fax", "DeviceID": "Fax", "Name": "Fax", "ShareName": None,
             "ServerName": None, "DriverName": "Microsoft Shared Fax Driver",
             "PortName": "SHRFAX:", "Shared": False, "Local": True, "Network": False,
             "Default": False},
            {"Caption": "\\\\print01.fairhaven.local\\2nd Floor – HP Color LaserJet CP4525",
             "DeviceID": "\\\\print01.fairhaven.local\\2nd Floor – HP Color LaserJet CP4525",
             "Name": "\\\\print01.fairhaven.local\\2nd Floor – HP Color LaserJet CP4525",
             "ShareName": "2nd Floor – HP Color LaserJet CP4525",
             "ServerName": "\\\\print01.fairhaven.local",
             "DriverName": "HP Universal Printing PCL 6 (v5.6.5)", "PortName": "10.20.2.31",
             "Shared": True, "Local": False, "Network": True, "Default": True,
             "Location": "Building B, 2nd floor \"copy room\""},
            {"Caption": "HP Officejet Pro 8600 (Network)", "DeviceID": "HP Officejet Pro 8600 "
             "(Network)", "Name": "HP Officejet Pro 8600 (Network)", "ShareName": "OJ8600",
             "ServerName": None, "DriverName": "HP Officejet Pro 8600",
             "PortName": "WSD-6f3a2b1c-8d4e-4f5a-9b6c-7d8e9f0a1b2c.0036", "Shared": True,
             "Local": True, "Network": False, "Default": False, "Location": "Home office"},
        ],
        "Win32_StartupCommand": [
            {"Name": "Dropbox", "Caption": "Dropbox", "Command": "Dropbox.lnk",
             "Location": "Startup", "User": W7_DOMAIN + "\\" + W7_USER},
            {"Name": "Team offsite 🎉 reminder", "Caption": "Team offsite 🎉 reminder",
             "Command": "Team offsite 🎉 reminder.lnk", "Location": "Startup",
             "User": W7_DOMAIN + "\\" + W7_USER},
            {"Name": "Lync", "Caption": "Lync",
             "Command": "\"C:\\Program Files\\Microsoft Lync\\communicator.exe\" /fromrunkey",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "Cisco AnyConnect Secure Mobility Agent for Windows",
             "Caption": "Cisco AnyConnect Secure Mobility Agent for Windows",
             "Command": "\"C:\\Program Files (x86)\\Cisco\\Cisco AnyConnect Secure Mobility "
                        "Client\\vpnui.exe\" -minimized",
             "Location": "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                         "Run", "User": "Public"},
            {"Name": "IAStorIcon", "Caption": "IAStorIcon",
             "Command": "\"C:\\Program Files (x86)\\Intel\\Intel(R) Rapid Storage "
                        "Technology\\IAStorIcon.exe\" 60",
             "Location": "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                         "Run", "User": "Public"},
            {"Name": "SynTPEnh", "Caption": "SynTPEnh",
             "Command": "%ProgramFiles%\\Synaptics\\SynTP\\SynTPEnh.exe",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "PWMTR64V", "Caption": "PWMTR64V",
             "Command": "rundll32 C:\\PROGRA~2\\ThinkPad\\UTILIT~1\\PWMTR64V.DLL,"
                        "CreatePwrMgrWindow",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "Google Update", "Caption": "Google Update",
             "Command": "\"" + W7_PROFILE + "\\AppData\\Local\\Google\\Update\\"
                        "GoogleUpdate.exe\" /c",
             "Location": "HKU\\S-1-5-21-3126492707-1594836243-2893421357-12617\\SOFTWARE\\"
                         "Microsoft\\Windows\\CurrentVersion\\Run",
             "User": W7_DOMAIN + "\\" + W7_USER},
            {"Name": "Skype", "Caption": "Skype",
             "Command": "\"C:\\Program Files (x86)\\Skype\\Phone\\Skype.exe\" /minimized "
                        "/regrun",
             "Location": "HKU\\S-1-5-21-3126492707-1594836243-2893421357-12617\\SOFTWARE\\"
                         "Microsoft\\Windows\\CurrentVersion\\Run",
             "User": W7_DOMAIN + "\\" + W7_USER},
            {"Name": "搜狗输入法云计算代理", "Caption": "搜狗输入法云计算代理",
             "Command": "\"C:\\Program Files (x86)\\SogouInput\\6.7.0.0922\\SogouCloud.exe\"",
             "Location": "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                         "Run", "User": "Public"},
            {"Name": "Sidebar", "Caption": "Sidebar",
             "Command": "%ProgramFiles%\\Windows Sidebar\\Sidebar.exe /autoRun",
             "Location": "HKU\\S-1-5-21-3126492707-1594836243-2893421357-12617\\SOFTWARE\\"
                         "Microsoft\\Windows\\CurrentVersion\\Run",
             "User": W7_DOMAIN + "\\" + W7_USER},
            {"Name": "", "Caption": "",
             "Command": "\"C:\\Program Files (x86)\\Common Files\\Java\\Java Update\\"
                        "jusched.exe\"",
             "Location": "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                         "Run", "User": "Public"},
        ],
        "Win32_PhysicalMemory": [
            {"Tag": "Physical Memory 0", "DeviceLocator": "ChannelA-DIMM0",
             "BankLabel": "BANK 0", "Capacity": "4294967296", "Speed": u32(1333),
             "Manufacturer": "Samsung", "PartNumber": "M471B5273DH0-CH9  ",
             "FormFactor": 12, "MemoryType": 0},
            {"Tag": "Physical Memory 1", "DeviceLocator": "ChannelB-DIMM0",
             "BankLabel": "BANK 2", "Capacity": "4294967296", "Speed": u32(1333),
             "Manufacturer": "Hynix/Hyundai", "PartNumber": "HMT351S6CFR8C-PB  ",
             "FormFactor": 12, "MemoryType": 0},
        ],
        "Win32_PhysicalMemoryArray": [{
            "Tag": "Physical Memory Array 0", "MaxCapacity": u32(3221225472),
            "MemoryDevices": 2, "Location": 3, "Use": 3,
        }],
        "Win32_UserAccount": [
            {"Name": "Administrator", "FullName": "", "Domain": W7_HOST,
             "Description": "Built-in account for administering the computer/domain",
             "Disabled": True, "LocalAccount": True,
             "SID": "S-1-5-21-2417092187-2905187630-1457028421-500"},
            {"Name": "Guest", "FullName": "", "Domain": W7_HOST,
             "Description": "Built-in account for guest access to the computer/domain",
             "Disabled": True, "LocalAccount": True,
             "SID": "S-1-5-21-2417092187-2905187630-1457028421-501"},
            {"Name": "lenovo_admin", "FullName": "Lenovo Setup", "Domain": W7_HOST,
             "Description": "", "Disabled": False, "LocalAccount": True,
             "SID": "S-1-5-21-2417092187-2905187630-1457028421-1000"},
            {"Name": "HomeGroupUser$", "FullName": "HomeGroupUser$", "Domain": W7_HOST,
             "Description": "Built-in account for homegroup access to the computer",
             "Disabled": False, "LocalAccount": True,
             "SID": "S-1-5-21-2417092187-2905187630-1457028421-1002"},
            {"Name": W7_USER, "FullName": "Sarah O'Connell", "Domain": W7_DOMAIN,
             "Description": "Project lead \u2013 \"Fleet Tracker\"", "Disabled": False,
             "LocalAccount": False,
             "SID": "S-1-5-21-3126492707-1594836243-2893421357-12617"},
            {"Name": "mkowalski", "FullName": "Michał Kowalski", "Domain": W7_DOMAIN,
             "Description": "", "Disabled": False, "LocalAccount": False,
             "SID": "S-1-5-21-3126492707-1594836243-2893421357-12702"},
            {"Name": "lchen", "FullName": "陈丽 (Li Chen)", "Domain": W7_DOMAIN,
             "Description": "", "Disabled": False, "LocalAccount": False,
             "SID": "S-1-5-21-3126492707-1594836243-2893421357-12811"},
            {"Name": "svc-backup", "FullName": "Backup <service> account", "Domain": W7_DOMAIN,
             "Description": "Do not disable \\\\ see ticket #4411", "Disabled": False,
             "LocalAccount": False,
             "SID": "S-1-5-21-3126492707-1594836243-2893421357-1105"},
        ],
        "Win32_QuickFixEngineering": qfe,
        "Win32_OptionalFeature": [
            {"Name": name, "Caption": caption, "InstallState": u32(state), "InstallDate": None}
            for name, caption, state in W7_OPTIONAL_FEATURES
        ],
        "Win32_ServerFeature": [],
        "Win32_Processor": [{
            "Name": "Intel(R) Core(TM) i5-2520M CPU @ 2.50GHz",
            "Manufacturer": "GenuineIntel",
            "Caption": "Intel64 Family 6 Model 42 Stepping 7",
            "Architecture": 9,
            "DeviceID": "CPU0",
            "NumberOfCores": u32(2),
            "NumberOfLogicalProcessors": u32(4),
            "MaxClockSpeed": u32(2501),
            "CurrentClockSpeed": u32(2501),
            "AddressWidth": 64,
            "DataWidth": 64,
            "L2CacheSize": u32(512),
            "L3CacheSize": u32(3072),
            "ProcessorId": "BFEBFBFF000206A7",
            "SocketDesignation": "CPU Socket - U3E1",
        }],
    }

    registry = {}

    def put(view, key, values):
        path = view + "\\" + key
        assert path not in registry, path
        registry[path] = values

    for name, version, publisher, msi, folder, size in W7_PROGRAMS_64:
        key, values = program(rng, name, version, publisher, msi=msi, folder=folder,
                              size=size, years=(2012, 2014))
        put(UNINSTALL, key, values)
    sdk_folder = "C:\\Program Files\\Microsoft SDKs\\Windows\\v7.1\\"
    for name in W7_SDK_PARTS:
        key, values = program(rng, name, "7.1.30514", "Microsoft Corporation", msi=True,
                              folder=sdk_folder, size=rng.randint(200, 90000),
                              years=(2012, 2012), extra={"SystemComponent": dword(1)})
        put(UNINSTALL, key, values)
    for name, version in W7_RUNTIMES_64:
        key, values = program(rng, name, version, "Microsoft Corporation", msi=True,
                              size=rng.randint(600, 2000), years=(2012, 2013),
                              extra={"SystemComponent": dword(1)})
        put(UNINSTALL, key, values)
    for vendor, inf, cls, date, version in W7_DRIVER_PACKAGES:
        values = {
            "DisplayName": f"Windows Driver Package - {vendor} ({inf}) {cls}  ({date} {version})",
            "DisplayVersion": f"{date} {version}",
            "Publisher": vendor,
            "DisplayIcon": "C:\\Program Files\\DIFX\\" + f"{rng.getrandbits(64):016X}" +
                           "\\DPInst64.exe",
            "UninstallString": "C:\\PROGRA~1\\DIFX\\" + f"{rng.getrandbits(64):016X}" +
                               "\\DPInst64.exe /u C:\\Windows\\System32\\DriverStore\\"
                               "FileRepository\\" + inf.lower() + ".inf_amd64_neutral_" +
                               f"{rng.getrandbits(64):016x}" + "\\" + inf.lower() + ".inf",
            "NoModify": dword(1),
            "NoRepair": dword(1),
            "InstallDate": install_date(rng, 2012, 2013),
        }
        put(UNINSTALL, f"{rng.getrandbits(160):040X}", values)
    dotnet = []
    for kb in W7_DOTNET_KBS[:18]:
        kind = rng.choice(["Security Update", "Update", "Update", "Hotfix"])
        dotnet.append((f"{kind} for Microsoft .NET Framework 4.5.1 ({kb})", kb,
                       "Microsoft .NET Framework 4.5.1"))
    for kb in W7_DOTNET_KBS[18:]:
        kind = rng.choice(["Security Update", "Update"])
        for edition in ["Client Profile", "Extended"]:
            dotnet.append((f"{kind} for Microsoft .NET Framework 4 {edition} ({kb})", kb,
                           "Microsoft .NET Framework 4 " + edition))
    for title, kb, parent in dotnet:
        values = update_entry(rng, title, kb, parent, version="1", years=(2012, 2014),
                              windows="Windows")
        values["UninstallString"] = ("C:\\Windows\\Microsoft.NET\\Framework64\\v4.0.30319\\"
                                     "SetupCache\\" + kb + "\\setup.exe")
        put(UNINSTALL, guid(rng) + "." + kb, values)
    # Programs named after hot fixes: the store drops them as duplicates of the hot fixes.
    for kb in ["KB976902", hotfixes[0]]:
        put(UNINSTALL, kb, {"DisplayName": kb, "DisplayVersion": "",
                            "Publisher": "Microsoft Corporation",
                            "InstallDate": install_date(rng, 2012, 2013)})
    for name, values in nameless(rng, NAMELESS).items():
        put(UNINSTALL, name, values)

    for name, version, publisher, msi, folder, size in W7_PROGRAMS_32:
        key, values = program(rng, name, version, publisher, msi=msi, folder=folder,
                              size=size, years=(2012, 2014),
                              language=3082 if "Español" in name else 1036
                              if "français" in name else 2052 if "搜狗" in name else None)
        put(UNINSTALL_32, key, values)
    for name, version in W7_MORE_32:
        key, values = program(rng, name, version, "Microsoft Corporation", msi=True,
                              size=rng.randint(500, 60000), years=(2012, 2013))
        put(UNINSTALL_32, key, values)
    office_products = []
    for part in W7_OFFICE_PARTS:
        code = "{90140000-" + f"{rng.randrange(0x10000):04X}" + "-0409-0000-0000000FF1CE}"
        office_products.append(code)
        put(UNINSTALL_32, code, {
            "DisplayName": "Microsoft Office " + part + " 2010",
            "DisplayVersion": "14.0.7015.1000", "Publisher": "Microsoft Corporation",
            "InstallDate": "20121107", "SystemComponent": dword(1),
            "UninstallString": expand("MsiExec.exe /X" + code),
            "WindowsInstaller": dword(1), "Language": dword(1033),
        })
    office_kbs = list(W7_OFFICE_KBS)
    for i, kb in enumerate(office_kbs):
        product = W7_OFFICE_PRODUCTS[i % len(W7_OFFICE_PRODUCTS)]
        kind = rng.choice(["Security Update", "Update", "Update"])
        if kb == "KB2687455":
            title = "Microsoft Office 2010 Service Pack 2 (SP2) 32-Bit Edition"
        elif i % 11 == 5:
            title = f"Hotfix for Microsoft {product} ({kb}) 32-Bit Edition"
        else:
            title = f"{kind} for Microsoft {product} ({kb}) 32-Bit Edition"
        # An update of several products is registered once below each of them.
        for parent in rng.sample(office_products, 2 if i % 5 == 0 else 1):
            values = update_entry(rng, title, kb, parent, years=(2012, 2014))
            values["UninstallString"] = ("\"C:\\Program Files (x86)\\Common Files\\Microsoft "
                                         "Shared\\OFFICE14\\Oarpmany.exe\" /removereleaseinpatch "
                                         "\"" + parent + "\" \"{" + guid(rng)[1:] + "\" "
                                         "\"1033\" \"0\"")
            put(UNINSTALL_32, parent + "_Office14.PROPLUS_{" + guid(rng)[1:], values)
    for name, values in nameless(rng, NAMELESS).items():
        put(UNINSTALL_32, name, values)

    registry["HKLM\\SOFTWARE\\Wow6432Node\\Zeph"] = {
        "MachineId": "{A7D3E0B2-5C19-4F6E-8B24-91D6C3F07E58}"}
    registry["HKCU\\Software\\ZEPH\\Fennock"] = {"Version": "1.0.32278"}

    # Its own generator, so that the rest of the machine stays as it was.
    urng = random.Random(0x0762)
    # A 32-bit installer that registers the program in both views.
    key, values = program(urng, "Intel(R) Management Engine Components", "7.1.20.1119",
                          "Intel Corporation", years=(2012, 2012),
                          folder="C:\\Program Files (x86)\\Intel\\Intel(R) Management Engine "
                                 "Components")
    put(UNINSTALL_32, key, values)
    local = W7_PROFILE + "\\AppData\\Local\\"
    user_profiles(registry, NT6_SERVICE_PROFILES, {
        W7_LOCAL_SID + "-1000": "C:\\Users\\lenovo_admin",
        W7_DOMAIN_SID + "-12617": W7_PROFILE,
        W7_DOMAIN_SID + "-12702": "C:\\Users\\mkowalski",
    }, {W7_DOMAIN_SID + "-12617": [
        program(urng, "Opera Stable 19.0.1326.63", "19.0.1326.63", "Opera Software ASA",
                folder=local + "Programs\\Opera", years=(2014, 2014)),
        program(urng, "Spotify", "0.9.7.16.g4b197456", "Spotify AB",
                folder=W7_PROFILE + "\\AppData\\Roaming\\Spotify", years=(2013, 2014)),
        program(urng, "GitHub", "1.0.0.0", "GitHub, Inc.", key="5f7eb300e2ea4ebf",
                years=(2013, 2013)),
    ]})
    # The adapters' drivers register their memory in 32 bits, as drivers of the time did.
    for number, (adapter, size) in enumerate([("Intel(R) HD Graphics 3000", 2080374784),
                                              ("NVIDIA NVS 4200M", 1073741824)]):
        registry[DISPLAY_CLASS + f"\\{number:04d}"] = {
            "DriverDesc": adapter,
            "HardwareInformation.MemorySize": {"binary": size.to_bytes(4, "little").hex()}}
    # The TPM 1.2 is there, but its namespace is refused to a user without administrator
    # rights, and this one has none: the program sees no TPM.
    tpm = {"Win32_Tpm": [{
        "SpecVersion": "1.2, 2, 3", "IsEnabled_InitialValue": True,
        "IsActivated_InitialValue": True, "IsOwned_InitialValue": True,
        "ManufacturerIdTxt": "STM ", "ManufacturerVersion": "13.12",
        "PhysicalPresenceVersionInfo": "1.2"}]}

    return {
        "comment": "Windows 7 Professional SP1, 64-bit: a consultant's domain-joined laptop "
                   "(Lenovo ThinkPad T420). Written by make_machines.py.",
        "host": {"userName": W7_USER, "administrator": False, "machine64Bit": True,
                 "wow64": True, "windowsVersion": "6.1", "windowsFolder": "C:\\Windows"},
        # Started in legacy mode.
        "platform": {"firmwareType": "BIOS", "secureBoot": "Not supported"},
        "wmi": wmi,
        "namespaces": {TPM_NAMESPACE: tpm},
        "registry": registry,
        "services": services(rng, W7_SERVICES),
    }


# ---- the Windows 10 machines ----

W10_SERVICES = [
    # name, display name, type, state, start mode
    ("AudioSrv", "Windows Audio", 16, "R", "Auto"),
    ("BFE", "Base Filtering Engine", 16, "R", "Auto"),
    ("BITS", "Background Intelligent Transfer Service", 32, "S", "Manual"),
    ("CryptSvc", "Cryptographic Services", 48, "R", "Auto"),
    ("DcomLaunch", "DCOM Server Process Launcher", 48, "R", "Auto"),
    ("Dhcp", "DHCP Client", 32, "R", "Auto"),
    ("Dnscache", "DNS Client", 48, "R", "Auto"),
    ("EventLog", "Windows Event Log", 32, "R", "Auto"),
    ("LanmanWorkstation", "Workstation", 48, "R", "Auto"),
    ("mpssvc", "Windows Defender Firewall", 32, "R", "Auto"),
    ("Spooler", "Print Spooler", 16, "R", "Auto"),
    ("TBS", "TPM Base Services", 32, "R", "Manual"),
    ("Themes", "Themes", 32, "R", "Auto"),
    ("TrustedInstaller", "Windows Modules Installer", 16, "S", "Manual"),
    ("WinDefend", "Microsoft Defender Antivirus Service", 16, "R", "Auto"),
    ("wuauserv", "Windows Update", 32, "S", "Manual"),
    ("WSearch", "Windows Search", 16, "R", "Auto"),
    ("XblGameSave", "Xbox Live Game Save", 32, "S", "Disabled"),
    ("ACPI", "Microsoft ACPI Driver", 1, "R", "Boot"),
    ("disk", "Disk Driver", 1, "R", "Boot"),
    ("Ntfs", "Ntfs", 2, "R", "System"),
    ("Beep", "Beep", 1, "S", "System"),
    ("Null", "Null", 1, "R", "System"),
    ("Parport", "Parallel port driver", 1, "S", "Disabled"),
]

W10_HOTFIXES = [("KB5031988", "Update"), ("KB5015684", "Update"), ("KB5032189", "Security Update"),
                ("KB5032392", "Update"), ("KB5031539", "Update")]


def w10_services(extra):
    out = []
    for name, display, kind, state, start in W10_SERVICES + extra:
        status = ([kind, RUNNING, 1 if kind in (KERNEL_DRIVER, FS_DRIVER) else 5, 0, 0, 0, 0]
                  if state == "R" else [kind, STOPPED, 0, 1077 if kind > 2 else 0, 0, 0, 0])
        out.append({"name": name, "displayName": display, "status": status, "startMode": start})
    out.sort(key=lambda s: s["name"].upper())
    return out


def w10_machine(m):
    """A Windows 10 22H2 machine of today from its particulars `m`."""
    rng = random.Random(m["seed"])
    offset = 60
    profile = "C:\\Users\\" + m["user"]
    sid = m["sid"]
    sys32 = "C:\\Windows\\System32\\"
    processes = Processes(rng, m["boot"], offset)
    processes.add("System Idle Process", None, None, session=0, threads=m["threads"])
    system = processes.add("System", None, None, session=0, threads=180)
    processes.add("Registry", None, None, parent=system, session=0)
    smss = processes.add("smss.exe", None, None, parent=system, session=0)
    for name in ["csrss.exe", "wininit.exe", "services.exe", "lsass.exe", "svchost.exe",
                 "svchost.exe", "MsMpEng.exe", "explorer.exe", "SecurityHealthSystray.exe"]:
        path = ("C:\\ProgramData\\Microsoft\\Windows Defender\\Platform\\4.18.23110.3-0\\"
                if name == "MsMpEng.exe" else "C:\\Windows\\" if name == "explorer.exe"
                else sys32) + name
        command = ('"' + path + '"' if name == "MsMpEng.exe" else
                   path + " -k netsvcs -p" if name == "svchost.exe" else path)
        processes.add(name, path, command, parent=smss, session=0 if name != "explorer.exe"
                      else 1)
    for name, path in m["user_processes"]:
        processes.add(name, path, '"' + path + '"')

    tpm = {"Win32_Tpm": [dict({"IsEnabled_InitialValue": True, "IsActivated_InitialValue": True,
                               "IsOwned_InitialValue": True}, **m["tpm"])]}
    wmi = {
        "Win32_Process": processes.items,
        "Win32_BIOS": [{
            "Name": m["bios"][1], "Version": m["bios"][0], "Manufacturer": m["maker"],
            "Description": m["bios"][1], "IdentificationCode": None,
            "SerialNumber": m["serial"], "SMBIOSBIOSVersion": m["bios"][1],
            "ReleaseDate": m["bios"][2] + "000000.000000+000", "PrimaryBIOS": True,
            "Status": "OK"}],
        "Win32_OperatingSystem": [{
            "Caption": "Microsoft Windows 10 " + m["edition"], "Version": "10.0.19045",
            "BuildNumber": "19045", "CSDVersion": None, "ServicePackMajorVersion": 0,
            "OSArchitecture": "64-bit",
            "InstallDate": wmi_datetime(*m["installed"], 0, offset),
            "LastBootUpTime": wmi_datetime(*m["boot"], 500000, offset),
            "CurrentTimeZone": i16(offset),
            "TotalVisibleMemorySize": m["visible_kb"],
            "FreePhysicalMemory": str(int(m["visible_kb"]) * 11 // 20),
            "WindowsDirectory": "C:\\Windows", "SystemDirectory": "C:\\Windows\\system32",
            "SystemDrive": "C:", "Description": "", "CSName": m["host"],
            "Manufacturer": "Microsoft Corporation", "RegisteredUser": m["full_name"],
            "OSLanguage": u32(1033), "OSType": 18, "ProductType": u32(1),
            "NumberOfProcesses": u32(len(processes.items)), "Primary": True}],
        "Win32_ComputerSystem": [{
            "Manufacturer": m["maker"], "Model": m["model"], "Name": m["host"],
            "Domain": "WORKGROUP", "PartOfDomain": False, "DomainRole": 0,
            "NumberOfProcessors": u32(1), "NumberOfLogicalProcessors": u32(m["threads"]),
            "SystemType": "x64-based PC", "TotalPhysicalMemory": m["physical_bytes"],
            "UserName": m["host"] + "\\" + m["user"], "PCSystemType": m["pc_type"]}],
        "Win32_MotherboardDevice": [{
            "Caption": "Motherboard", "DeviceID": "Motherboard", "Name": "Motherboard",
            "PrimaryBusType": "PCI", "SecondaryBusType": "ISA", "Availability": 3}],
        "Win32_SoundDevice": [{"Caption": m["sound"], "Description": m["sound"],
                               "Manufacturer": "Realtek", "ProductName": m["sound"],
                               "StatusInfo": 3}],
        "Win32_CDROMDrive": [],
        "Win32_VideoController": [dict({"Caption": name, "AdapterRAM": u32(ram),
                                        "DriverVersion": driver, "VideoProcessor": name,
                                        "CurrentBitsPerPixel": u32(32)}, Name=name)
                                  for name, ram, _, driver in m["graphics"]],
        "Win32_DesktopMonitor": [{"Name": "Generic PnP Monitor",
                                  "Description": "Generic PnP Monitor",
                                  "DeviceID": "DesktopMonitor1",
                                  "MonitorManufacturer": "(Standard monitor types)",
                                  "MonitorType": "Generic PnP Monitor",
                                  "ScreenHeight": u32(1080), "ScreenWidth": u32(1920)}],
        "Win32_Registry": [{"Caption": "Registry", "Description": "Registry",
                            "CurrentSize": u32(rng.randint(90, 160)),
                            "MaximumSize": u32(4096), "Status": "OK"}],
        "Win32_LogicalDisk": [
            {"DeviceID": "C:", "DriveType": u32(3), "FileSystem": "NTFS",
             "Size": m["system_drive"], "FreeSpace": str(int(m["system_drive"]) * 2 // 5),
             "VolumeName": "Windows", "ProviderName": None, "MediaType": u32(12)}],
        "Win32_NetworkAdapterConfiguration": [
            {"Index": u32(1), "Description": m["nic"], "IPEnabled": True,
             "MACAddress": m["mac"], "DHCPEnabled": True,
             "IPAddress": [m["ip"], "fe80::" + m["mac"][-5:].replace(":", "").lower() + ":1"],
             "IPSubnet": ["255.255.255.0", "64"], "DefaultIPGateway": ["192.168.0.1"],
             "DNSServerSearchOrder": ["192.168.0.1"], "DHCPServer": "192.168.0.1"},
            {"Index": u32(2), "Description": "Microsoft Kernel Debug Network Adapter",
             "IPEnabled": False, "MACAddress": None, "DHCPEnabled": True, "IPAddress": None}],
        "Win32_Printer": [
            {"Caption": "Microsoft Print to PDF", "DeviceID": "Microsoft Print to PDF",
             "Name": "Microsoft Print to PDF", "ShareName": None, "ServerName": None,
             "DriverName": "Microsoft Print To PDF", "PortName": "PORTPROMPT:",
             "Local": True, "Default": True}],
        "Win32_StartupCommand": [
            {"Name": "SecurityHealth", "Caption": "SecurityHealth",
             "Command": "%windir%\\system32\\SecurityHealthSystray.exe",
             "Location": "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": "Public"},
            {"Name": "OneDrive", "Caption": "OneDrive",
             "Command": '"' + profile + '\\AppData\\Local\\Microsoft\\OneDrive\\OneDrive.exe"'
                        " /background",
             "Location": "HKU\\" + sid + "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
             "User": m["host"] + "\\" + m["user"]}],
        "Win32_PhysicalMemory": [
            {"Tag": f"Physical Memory {i}", "DeviceLocator": locator, "BankLabel": f"BANK {i}",
             "Capacity": capacity, "Speed": u32(speed), "Manufacturer": maker,
             "PartNumber": part}
            for i, (locator, capacity, speed, maker, part) in enumerate(m["memory"])],
        "Win32_PhysicalMemoryArray": [{"Tag": "Physical Memory Array 0",
                                       "MaxCapacity": u32(m["max_memory_kb"]),
                                       "MemoryDevices": 2 if m["pc_type"] == 1 else 1}],
        "Win32_UserAccount": [
            {"Name": name, "FullName": full, "Domain": m["host"], "Disabled": disabled,
             "LocalAccount": True, "SID": sid_of}
            for name, full, disabled, sid_of in [
                ("Administrator", "", True, m["machine_sid"] + "-500"),
                ("DefaultAccount", "", True, m["machine_sid"] + "-503"),
                ("Guest", "", True, m["machine_sid"] + "-501"),
                ("WDAGUtilityAccount", "", True, m["machine_sid"] + "-504"),
                (m["user"], m["full_name"], False, sid)]],
        "Win32_QuickFixEngineering": [
            {"Caption": "https://support.microsoft.com/help/" + kb[2:], "CSName": m["host"],
             "Description": kind, "HotFixID": kb, "InstalledBy": "NT AUTHORITY\\SYSTEM",
             "InstalledOn": us_date(rng, 2023, 2023)} for kb, kind in W10_HOTFIXES],
        "Win32_OptionalFeature": [
            {"Name": name, "Caption": caption, "InstallState": u32(1)} for name, caption in [
                ("NetFx4-AdvSrvs", ".NET Framework 4.8 Advanced Services"),
                ("MicrosoftWindowsPowerShellV2Root", "Windows PowerShell 2.0"),
                ("Printing-PrintToPDFServices-Features", "Microsoft Print to PDF"),
                ("SearchEngine-Client-Package", "Windows Search")]],
        "Win32_ServerFeature": [],
        "Win32_Processor": [dict({
            "Manufacturer": "GenuineIntel", "Architecture": 9, "DeviceID": "CPU0",
            "AddressWidth": 64, "DataWidth": 64, "SocketDesignation": m["socket"]},
            **m["processor"])],
        "Win32_DiskDrive": [{"DeviceID": "\\\\.\\PHYSICALDRIVE0", "Model": m["disk"][0],
                             "Size": m["disk"][1], "InterfaceType": "SCSI",
                             "MediaType": "Fixed hard disk media"}],
        "Win32_PnPEntity": [
            {"Name": name, "DeviceID": device, "Manufacturer": maker}
            for name, device, maker in m["usb"]],
    }

    registry = {}
    for view, programs in ((UNINSTALL, m["programs_64"]), (UNINSTALL_32, m["programs_32"])):
        for name, version, publisher, msi, folder in programs:
            key, values = program(rng, name, version, publisher, msi=msi, folder=folder,
                                  years=(2021, 2023))
            registry[view + "\\" + key] = values
    user_profiles(registry, NT6_SERVICE_PROFILES, {sid: profile}, {sid: [
        program(rng, name, version, publisher, folder=profile + folder, years=(2022, 2023))
        for name, version, publisher, folder in m["user_programs"]]})
    registry["HKLM\\SYSTEM\\CurrentControlSet\\Control\\SecureBoot\\State"] = {
        "UEFISecureBootEnabled": dword(1)}
    for number, (name, _, size, driver) in enumerate(m["graphics"]):
        registry[DISPLAY_CLASS + f"\\{number:04d}"] = {
            "DriverDesc": name, "DriverVersion": driver,
            "HardwareInformation.qwMemorySize": {"qword": size}}
    registry["HKLM\\SOFTWARE\\WOW6432Node\\Zeph"] = {"MachineId": m["machine_id"]}

    return {
        "comment": m["comment"] + " Written by make_machines.py.",
        "host": {"userName": m["user"], "administrator": True, "machine64Bit": True,
                 "wow64": True, "windowsVersion": "10.0", "windowsFolder": "C:\\Windows"},
        "platform": {"firmwareType": "UEFI", "secureBoot": "On"},
        "wmi": wmi,
        "namespaces": {TPM_NAMESPACE: tpm},
        "registry": registry,
        "services": w10_services(m["services"]),
    }


W10_PROGRAMS_64 = [
    ("Microsoft Edge", "120.0.2210.61", "Microsoft Corporation", False,
     "C:\\Program Files (x86)\\Microsoft\\Edge\\Application"),
    ("Microsoft Update Health Tools", "3.74.0.0", "Microsoft Corporation", True, None),
    ("Microsoft Visual C++ 2015-2022 Redistributable (x64) - 14.38.33130", "14.38.33130.0",
     "Microsoft Corporation", False, None),
    ("7-Zip 23.01 (x64)", "23.01", "Igor Pavlov", False, "C:\\Program Files\\7-Zip\\"),
    ("Mozilla Firefox (x64 en-US)", "120.0.1", "Mozilla", False,
     "C:\\Program Files\\Mozilla Firefox"),
]
W10_PROGRAMS_32 = [
    ("Microsoft Visual C++ 2015-2022 Redistributable (x86) - 14.38.33130", "14.38.33130.0",
     "Microsoft Corporation", False, None),
    ("Adobe Acrobat Reader DC", "23.006.20380", "Adobe", True,
     "C:\\Program Files (x86)\\Adobe\\Acrobat Reader DC\\"),
]


def w10_desktop():
    return w10_machine({
        "seed": 0x1001, "comment": "Windows 10 Pro 22H2, 64-bit: a design studio's desktop "
        "(Dell OptiPlex 7080) that meets every Windows 11 requirement.",
        "host": "STUDIO-04", "user": "mfernandes", "full_name": "Marta Fernandes",
        "sid": "S-1-5-21-3861702217-2219385711-4155203098-1001",
        "machine_sid": "S-1-5-21-3861702217-2219385711-4155203098",
        "edition": "Pro", "boot": (2023, 12, 11, 8, 2, 41), "installed": (2021, 3, 2, 10, 15, 7),
        "maker": "Dell Inc.", "model": "OptiPlex 7080", "serial": "9KQ7L63", "pc_type": 1,
        "bios": ("DELL   - 1072009", "1.21.0", "20230712"),
        "threads": 16, "socket": "CPU 1",
        "processor": {"Name": "Intel(R) Core(TM) i7-10700 CPU @ 2.90GHz",
                      "Caption": "Intel64 Family 6 Model 165 Stepping 5",
                      "NumberOfCores": u32(8), "NumberOfLogicalProcessors": u32(16),
                      "MaxClockSpeed": u32(2904), "CurrentClockSpeed": u32(2904),
                      "ProcessorId": "BFEBFBFF000A0655"},
        "tpm": {"SpecVersion": "2.0, 0, 1.38", "ManufacturerIdTxt": "INTC",
                "ManufacturerVersion": "403.1.0.0", "PhysicalPresenceVersionInfo": "1.3"},
        "visible_kb": "16617968", "physical_bytes": "17016799232", "max_memory_kb": 134217728,
        "memory": [("DIMM1", "8589934592", 2933, "80AD000080AD", "HMA81GU6DJR8N-WM"),
                   ("DIMM2", "8589934592", 2933, "80AD000080AD", "HMA81GU6DJR8N-WM")],
        "system_drive": "511101997056", "disk": ("PC SN730 NVMe WDC 512GB", "512105932800"),
        # AdapterRAM is 32 bits: above 4 GB Windows reports it as 0xFFF00000.
        "graphics": [("NVIDIA GeForce RTX 3070", 4293918720, 8589934592, "31.0.15.4633")],
        "sound": "Realtek Audio", "nic": "Intel(R) Ethernet Connection (11) I219-LM",
        "mac": "D0:8E:79:1C:4A:E2", "ip": "192.168.0.42",
        "usb": [("USB Root Hub (USB 3.0)", "USB\\ROOT_HUB30\\4&2B7E1A3C&0&0",
                 "(Standard USB HUBs)"),
                ("USB Composite Device", "USB\\VID_046D&PID_C52B\\6&1F2C3D4E&0&3",
                 "(Standard USB Host Controller)")],
        "machine_id": "{5C0E8B41-2A7D-4F39-B6E1-8D94A3C27F10}",
        "programs_64": W10_PROGRAMS_64 + [
            ("Adobe Photoshop 2024", "25.3.1", "Adobe Inc.", False,
             "C:\\Program Files\\Adobe\\Adobe Photoshop 2024"),
            ("NVIDIA Graphics Driver 546.33", "546.33", "NVIDIA Corporation", False, None)],
        "programs_32": W10_PROGRAMS_32,
        "user_programs": [
            ("Microsoft OneDrive", "23.226.1031.0003", "Microsoft Corporation",
             "\\AppData\\Local\\Microsoft\\OneDrive\\23.226.1031.0003"),
            ("Figma", "116.15.4", "Figma, Inc.", "\\AppData\\Local\\Figma")],
        "user_processes": [("OneDrive.exe", "C:\\Users\\mfernandes\\AppData\\Local\\Microsoft"
                                            "\\OneDrive\\OneDrive.exe"),
                           ("Photoshop.exe", "C:\\Program Files\\Adobe\\Adobe Photoshop 2024"
                                             "\\Photoshop.exe")],
        "services": [("NVDisplay.ContainerLocalSystem", "NVIDIA Display Container LS", 16, "R",
                      "Auto")],
    })


def w10_laptop():
    return w10_machine({
        "seed": 0x1002, "comment": "Windows 10 Home 22H2, 64-bit: a family laptop (HP Pavilion "
        "15) that fails Windows 11 for its TPM 1.2 and its 7th-generation processor.",
        "host": "LAPTOP-R3N8Q2VA", "user": "tomas", "full_name": "Tomás Novák",
        "sid": "S-1-5-21-1170934473-4021593712-2645117263-1001",
        "machine_sid": "S-1-5-21-1170934473-4021593712-2645117263",
        "edition": "Home", "boot": (2023, 12, 10, 19, 12, 5), "installed": (2019, 8, 24, 16, 40, 2),
        "maker": "HP", "model": "HP Pavilion Laptop 15-cc1xx", "serial": "5CD7384QZL",
        "pc_type": 2, "bios": ("HPQOEM - 0", "F.51", "20200915"),
        "threads": 4, "socket": "U3E1",
        "processor": {"Name": "Intel(R) Core(TM) i5-7200U CPU @ 2.50GHz",
                      "Caption": "Intel64 Family 6 Model 142 Stepping 9",
                      "NumberOfCores": u32(2), "NumberOfLogicalProcessors": u32(4),
                      "MaxClockSpeed": u32(2501), "CurrentClockSpeed": u32(2501),
                      "ProcessorId": "BFEBFBFF000806E9"},
        "tpm": {"SpecVersion": "1.2, 2, 3", "ManufacturerIdTxt": "IFX",
                "ManufacturerVersion": "4.43", "PhysicalPresenceVersionInfo": "1.2"},
        "visible_kb": "8272528", "physical_bytes": "8471068672", "max_memory_kb": 33554432,
        "memory": [("Bottom - Slot 1 (left)", "8589934592", 2133, "Samsung",
                    "M471A1K43BB1-CRC")],
        "system_drive": "254721126400", "disk": ("SAMSUNG MZNLN256HAJQ-000H1", "256052966400"),
        "graphics": [("Intel(R) HD Graphics 620", 1073741824, 1073741824, "26.20.100.7262")],
        "sound": "Realtek High Definition Audio",
        "nic": "Intel(R) Dual Band Wireless-AC 3168", "mac": "A4:34:D9:5B:70:1E",
        "ip": "192.168.0.17",
        "usb": [("USB Root Hub (USB 3.0)", "USB\\ROOT_HUB30\\4&1A2B3C4D&0&0",
                 "(Standard USB HUBs)"),
                ("HP TrueVision HD Camera", "USB\\VID_04CA&PID_7070&MI_00\\6&3A8F1B2C&0&0000",
                 "Microsoft")],
        "machine_id": "{0B7F2D96-4C1A-4E58-9A3D-6F21E8C05B74}",
        "programs_64": W10_PROGRAMS_64 + [
            ("HP Support Assistant", "9.24.31.0", "HP Inc.", True, None)],
        "programs_32": W10_PROGRAMS_32 + [
            ("Steam", "2.10.91.91", "Valve Corporation", False, "C:\\Program Files (x86)\\Steam")],
        "user_programs": [
            ("Microsoft OneDrive", "23.226.1031.0003", "Microsoft Corporation",
             "\\AppData\\Local\\Microsoft\\OneDrive\\23.226.1031.0003"),
            ("Discord", "1.0.9028", "Discord Inc.", "\\AppData\\Local\\Discord")],
        "user_processes": [("OneDrive.exe", "C:\\Users\\tomas\\AppData\\Local\\Microsoft"
                                            "\\OneDrive\\OneDrive.exe"),
                           ("Discord.exe", "C:\\Users\\tomas\\AppData\\Local\\Discord\\"
                                           "app-1.0.9028\\Discord.exe")],
        "services": [("HPAppHelperCap", "HP App Helper HSA Service", 16, "R", "Auto")],
    })


# ---- output ----

def dump(value):
    return json.dumps(value, ensure_ascii=False, separators=(", ", ": "))


def render(machine):
    """One object per line below each section, so that diffs stay readable."""
    out = ["{"]
    sections = list(machine.items())
    for n, (name, body) in enumerate(sections):
        comma = "," if n + 1 < len(sections) else ""
        if name == "wmi":
            out.append('  "wmi": {')
            classes = list(body.items())
            for c, (cls, objects) in enumerate(classes):
                tail = "," if c + 1 < len(classes) else ""
                if not objects:
                    out.append(f"    {dump(cls)}: []{tail}")
                    continue
                out.append(f"    {dump(cls)}: [")
                out.extend("      " + dump(o) + ("," if i + 1 < len(objects) else "")
                           for i, o in enumerate(objects))
                out.append("    ]" + tail)
            out.append("  }" + comma)
        elif name == "registry":
            out.append('  "registry": {')
            keys = list(body.items())
            out.extend(f"    {dump(k)}: {dump(v)}" + ("," if i + 1 < len(keys) else "")
                       for i, (k, v) in enumerate(keys))
            out.append("  }" + comma)
        elif name == "services":
            out.append('  "services": [')
            out.extend("    " + dump(s) + ("," if i + 1 < len(body) else "")
                       for i, s in enumerate(body))
            out.append("  ]" + comma)
        else:
            out.append(f"  {dump(name)}: {dump(body)}{comma}")
    out.append("}")
    return "\n".join(out) + "\n"


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for file_name, make in [("xp-desktop.json", xp_desktop), ("win7-laptop.json", w7_laptop),
                            ("win10-desktop.json", w10_desktop),
                            ("win10-laptop.json", w10_laptop)]:
        text = render(make())
        json.loads(text)  # well-formed, whatever the data held
        with open(os.path.join(folder, file_name), "w", encoding="utf-8", newline="\n") as out:
            out.write(text)
        print(f"{file_name}: {len(text.encode('utf-8'))} bytes")


if __name__ == "__main__":
    main()
