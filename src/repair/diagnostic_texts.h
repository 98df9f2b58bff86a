#pragma once
// The questions and messages of the two checks. Both questions share one caption.

inline constexpr wchar_t kDiagnosticCaption[] = L"Problem with Startup Commands";
inline constexpr wchar_t kInsufficientAccessCaption[] = L"Insufficient Access";

inline constexpr wchar_t kStartupFolderQuestion[] =
    L"An error was detected in the registry that resulted in incorrect data being returned "
    L"for Startup Commands. If you choose to repair the registry, you will need to manually "
    L"restart the tool.\n\nChoose [Yes] to repair the registry and exit the tool.\nChoose "
    L"[No] to ignore the warning and continue.\nChoose [Cancel] to cancel and exit the tool.";
inline constexpr wchar_t kStartupFolderRepairing[] = L"Now repairing the registry...";
inline constexpr wchar_t kStartupFolderRepairFailed[] =
    L"The registry repair could not be completed because you don't have sufficient access. "
    L"Please login as an administrator and try again.";

inline constexpr wchar_t kWmiRepositoryQuestion[] =
    L"An error was detected in the WMI repository that resulted in missing data for some of "
    L"the sections If you choose to repair the WMI reposiotry, you will need to manually "
    L"restart the tool.\n\nChoose [Yes] to repair the WMI repository and exit the tool.\n"
    L"Choose [No] to ignore the warning and continue.\nChoose [Cancel] to cancel and exit the "
    L"tool.";
inline constexpr wchar_t kWmiRepositoryRepairing[] = L"Now repairing the WMI repository...";
inline constexpr wchar_t kWmiRepositoryRepairFailed[] =
    L"The WMI repair could not be completed because you don't have sufficient access. Please "
    L"login as an administrator and try again.";
// Where the repair's Windows commands do not exist (a described machine inventoried on Linux).
inline constexpr wchar_t kWmiRepositoryNothingToRepair[] =
    L"There is nothing to repair here: the WMI repository belongs to the Windows machine that "
    L"was described, and this system has no WMI service. Repair it on that machine. No report "
    L"was written.";
inline constexpr wchar_t kNothingToRepairCaption[] = L"Nothing to Repair";
