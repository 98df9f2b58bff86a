#include "report/inventory_report.h"
#include "report/windows_requirements.h"
#include "util/numbers.h"
#include "util/text.h"

namespace {

constexpr double kGiB = 1024.0 * 1024.0 * 1024.0;
constexpr double kMiB = 1024.0 * 1024.0;

constexpr SystemRequirements kWindows7{1e9, 1e9, 1 * kGiB, 2 * kGiB, 20 * kGiB, 40 * kGiB};
constexpr SystemRequirements kWindowsVista{8e8, 1e9, 512 * kMiB, 1 * kGiB, 20 * kGiB, 40 * kGiB};
constexpr SystemRequirements kWindowsXp{2.33e8, 3e8, 64 * kMiB, 128 * kMiB, 1.5 * kGiB, 1.5 * kGiB};

}  // namespace

void CInventoryReport::AssessCompatibility() {
    AssessRequirements(
        kWindows7, {&m_compatWin7Color, &m_compatWin7Status, &m_compatWin7CpuActual,
                    &m_compatWin7CpuRequired, &m_compatWin7CpuRecommended, &m_compatWin7RamActual,
                    &m_compatWin7RamRequired, &m_compatWin7RamRecommended, &m_compatWin7DiskActual,
                    &m_compatWin7DiskRequired, &m_compatWin7DiskRecommended});
    AssessRequirements(
        kWindowsVista,
        {&m_compatVistaColor, &m_compatVistaStatus, &m_compatVistaCpuActual,
         &m_compatVistaCpuRequired, &m_compatVistaCpuRecommended, &m_compatVistaRamActual,
         &m_compatVistaRamRequired, &m_compatVistaRamRecommended, &m_compatVistaDiskActual,
         &m_compatVistaDiskRequired, &m_compatVistaDiskRecommended});
    AssessRequirements(
        kWindowsXp,
        {&m_compatWinxpColor, &m_compatWinxpStatus, &m_compatWinxpCpuActual,
         &m_compatWinxpCpuRequired, &m_compatWinxpCpuRecommended, &m_compatWinxpRamActual,
         &m_compatWinxpRamRequired, &m_compatWinxpRamRecommended, &m_compatWinxpDiskActual,
         &m_compatWinxpDiskRequired, &m_compatWinxpDiskRecommended});
    AssessWindowsReadiness();
}

void CInventoryReport::AssessWindowsReadiness() {
    ReadinessFacts facts = m_readiness;
    facts.clockHertz = m_processorSpeed;
    facts.memoryBytes = m_totalPhysicalMemory;
    // A query without items is not in the session at all. Windows answers a user without
    // administrator rights with no TPM; Linux lists its TPMs to everyone.
    if (m_tpmUnanswered) {
        facts.tpm = !m_linuxMode && !m_runAsAdmin ? ReadinessFacts::Tpm::kNeedsAdmin
                                                  : ReadinessFacts::Tpm::kUnreadable;
    } else if (facts.tpm == ReadinessFacts::Tpm::kNone && !m_linuxMode && !m_runAsAdmin) {
        facts.tpm = ReadinessFacts::Tpm::kNeedsAdmin;
    }
    // A Linux system's own drive is its root file system.
    const std::wstring systemDrive =
        ToLower(m_systemDrive.empty() && m_linuxMode ? L"/" : m_systemDrive);
    for (const auto& [drive, size] : m_driveSizes) {
        if (!systemDrive.empty() && ToLower(drive) == systemDrive) {
            facts.systemDriveBytes = size;
        }
    }
    const auto assess = [&](WindowsRelease release, std::wstring& color, std::wstring& status,
                            std::wstring& list) {
        const ReadinessVerdict verdict = AssessWindowsRelease(release, facts);
        color = verdict.color;
        status = verdict.status;
        list.clear();
        // The light's row comes first and is highlighted.
        int index = 1;
        for (const RequirementRow& row : verdict.rows) {
            list += FormatLabelRow(row.label,
                                   row.actual + L" <span class=\"compatLimits\">(Required: " +
                                       row.required + L")</span>",
                                   index++);
        }
    };
    assess(WindowsRelease::kWindows10, m_compatWin10Color, m_compatWin10Status, m_compatWin10List);
    assess(WindowsRelease::kWindows11, m_compatWin11Color, m_compatWin11Status, m_compatWin11List);
}

void CInventoryReport::AssessRequirements(const SystemRequirements& requirements,
                                          const CompatibilityFields& fields) {
    *fields.cpuActual = KnownHertzText(m_processorSpeed);
    *fields.cpuRequired = FormatHertz(requirements.cpuRequired);
    *fields.cpuRecommended = FormatHertz(requirements.cpuRecommended);
    *fields.ramActual = KnownBytesText(m_totalPhysicalMemory);
    *fields.ramRequired = FormatBytes(requirements.ramRequired);
    *fields.ramRecommended = FormatBytes(requirements.ramRecommended);
    *fields.diskActual = KnownBytesText(m_totalDiskSize);
    *fields.diskRequired = FormatBytes(requirements.diskRequired);
    *fields.diskRecommended = FormatBytes(requirements.diskRecommended);

    bool belowRequired = false;
    bool belowRecommended = false;
    std::wstring& status = *fields.status;
    // A figure nobody could read is no shortfall: the verdict is at best yellow and says so.
    bool unknown = false;
    // A shortfall adds its line to the status and marks the measured value.
    const auto measure = [&](double actual, double required, double recommended,
                             const std::wstring& requiredText, const std::wstring& recommendedText,
                             const wchar_t* resource, const wchar_t* figure,
                             std::wstring& actualText) {
        if (!IsKnownFigure(actual)) {
            unknown = true;
            status += std::wstring(figure) + L" unknown&#13;";
            return;
        }
        if (required > actual) {
            belowRequired = true;
            status += requiredText + resource + L" required&#13;";
        } else if (recommended > actual) {
            belowRecommended = true;
            status += recommendedText + resource + L" recommended&#13;";
        } else {
            return;
        }
        actualText = ShortfallText(actualText);
    };
    measure(m_processorSpeed, requirements.cpuRequired, requirements.cpuRecommended,
            *fields.cpuRequired, *fields.cpuRecommended, L" CPU speed or higher", L"CPU speed",
            *fields.cpuActual);
    measure(m_totalPhysicalMemory, requirements.ramRequired, requirements.ramRecommended,
            *fields.ramRequired, *fields.ramRecommended, L" of RAM or higher", L"RAM size",
            *fields.ramActual);
    // A disk below the required size makes the verdict red whatever processor and memory say.
    measure(m_totalDiskSize, requirements.diskRequired, requirements.diskRecommended,
            *fields.diskRequired, *fields.diskRecommended, L" of disk space or higher",
            L"Disk size", *fields.diskActual);

    if (belowRequired) {
        *fields.color = L"red";
    } else if (belowRecommended || unknown) {
        *fields.color = L"yellow";
    } else {
        *fields.color = L"green";
        // The maker's wording names Windows 7 for every system.
        status = L"This computer meets all the recommended minimums for Windows 7";
    }
}
