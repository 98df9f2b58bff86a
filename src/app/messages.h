#pragma once
// The texts the program shows outside its windows.

inline constexpr wchar_t kAlreadyRunningText[] =
    L"Fennock is already running.\nOnly one instance may be run at a time.";
inline constexpr wchar_t kAlreadyRunningCaption[] = L"Already Running";

inline constexpr wchar_t kVersionNotSupportedText[] =
    L"This version of Windows is not\nsupported by Fennock.";
inline constexpr wchar_t kVersionNotSupportedCaption[] = L"Version Not Supported";

inline constexpr wchar_t kHelpCaption[] = L"Fennock Help";
inline constexpr wchar_t kErrorCaption[] = L"Fennock";
inline constexpr wchar_t kWindowsHelpText[] =
    L"Fennock.exe [/silent] [/portable] [/path <folder>] [/?]\n\n"
    L"/silent : Disable UI and don't launch browser after creating html file\n"
    L"    (default is display UI)\n"
    L"/portable : Create html with no local file dependencies or references\n"
    L"    (default is local files).\n"
    L"/path : Set path for result file(s) with environment variable support\n"
    L"    (default is %TEMP%).\n"
    L"/? : Display help message\n";
inline constexpr wchar_t kPosixHelpText[] =
    L"Usage: fennock [--silent] [--portable] [--path <folder>] [--yaml [--diff]]\n\n"
    L"Takes an inventory of this computer, compares it with the previous run and writes\n"
    L"the result as a report. Without --silent it shows its progress on the terminal\n"
    L"(Ctrl-C cancels), asks for the licence agreement once per version, and opens the\n"
    L"report when a graphical session exists.\n\n"
    L"  --silent      no progress display; the report is not opened\n"
    L"  --portable    report with no local file dependencies or references\n"
    L"  --path DIR    folder for the result file(s); %VAR% references are expanded\n"
    L"                (default is $TMPDIR when no one else can write it, else\n"
    L"                $XDG_CACHE_HOME/fennock or ~/.cache/fennock, made private)\n"
    L"  --yaml        write inventory.yaml instead of inventory.html\n"
    L"  --diff        with --yaml: only the changes since the last run\n"
    L"  --machine FILE  inventory the machine described in FILE (JSON) instead of this one\n"
    L"  --version     print the version and exit\n"
    L"  --about       print the product name, version and copyright, and exit\n"
    L"  --license     print the licence agreement and exit\n"
    L"  --help, -?    print this help and exit\n";
