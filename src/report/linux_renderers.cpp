// The sections of the facts that only build 17 asks for (platform, TPM, disks as devices, USB
// devices) and the parts of list rows a live Linux inventory adds.
#include <string>
#include <vector>

#include "report/html_text.h"
#include "report/inventory_report.h"
#include "report/linux_texts.h"
#include "report/session_fields.h"
#include "report/shown_figures.h"
#include "util/numbers.h"
#include "util/text.h"

namespace {

// The field escaped, or "unknown" when it is empty or absent.
std::wstring KnownText(const SessionItem& item, const wchar_t* name) {
    const std::wstring text = FieldText(item, name);
    return text.empty() ? std::wstring(kUnknownFigure) : HtmlText(text);
}

// The parts of a tab-joined array value, escaped and joined by ", "; `none` when empty.
std::wstring ListText(const SessionItem& item, const wchar_t* name, const wchar_t* none) {
    std::wstring joined;
    for (const std::wstring& part : Split(FieldText(item, name), L'\t')) {
        if (part.empty()) {
            continue;
        }
        joined += (joined.empty() ? L"" : L", ") + HtmlText(part);
    }
    return joined.empty() ? std::wstring(none) : joined;
}

std::wstring TpmText(const SessionItem& tpm) {
    const std::wstring version = FieldText(tpm, L"SpecVersion");
    std::wstring text = version.empty() ? L"present, version unknown" : L"TPM " + HtmlText(version);
    if (HasText(tpm, L"ManufacturerVersion")) {
        text += L" (firmware " + HtmlText(FieldText(tpm, L"ManufacturerVersion")) + L")";
    }
    return text;
}

std::wstring DiskDriveText(const SessionItem& disk) {
    std::wstring text = HtmlText(FieldText(disk, L"DeviceID")) + L":";
    if (HasText(disk, L"Model")) {
        text += L" " + HtmlText(FieldText(disk, L"Model"));
    }
    text += L" Size: " + KnownBytesText(TextToDouble(FieldText(disk, L"Size")));
    text += L" Transport: " + KnownText(disk, L"InterfaceType");
    if (HasText(disk, L"MediaType")) {
        text += L" " + HtmlText(FieldText(disk, L"MediaType"));
    }
    return text;
}

std::wstring UsbDeviceText(const SessionItem& device) {
    std::wstring text = HasText(device, L"Name") ? HtmlText(FieldText(device, L"Name"))
                                                 : HtmlText(FieldText(device, L"DeviceID"));
    if (HasText(device, L"Manufacturer")) {
        text += L" (" + HtmlText(FieldText(device, L"Manufacturer")) + L")";
    }
    return text;
}

template <typename Describe>
std::wstring LineList(const std::vector<SessionItem>& items, Describe describe,
                      const wchar_t* none) {
    std::wstring list;
    for (const SessionItem& item : items) {
        list += (list.empty() ? L"" : L"<br>") + describe(item);
    }
    return list.empty() ? std::wstring(none) : list;
}

}  // namespace

bool IsLinuxSession(const SessionData& session) {
    const auto platform = session.find(L"Platform");
    if (platform == session.end()) {
        return false;
    }
    for (const SessionItem& item : platform->second) {
        if (FieldText(item, L"OSFamily") == L"Linux") {
            return true;
        }
    }
    return false;
}

std::wstring FirstPrefixText(const SessionItem& adapter) {
    const std::vector<std::wstring> subnets = Split(FieldText(adapter, L"IPSubnet"), L'\t');
    return subnets.empty() ? std::wstring() : PrefixText(subnets.front());
}

std::wstring NetworkDetailsText(const SessionItem& adapter) {
    return L"[Gateway&nbsp;" + ListText(adapter, L"DefaultIPGateway", L"none") +
           L"]&nbsp;[DNS&nbsp;" + ListText(adapter, L"DNSServerSearchOrder", L"none") + L"]&nbsp;";
}

std::wstring ServiceStateText(const SessionItem& service) {
    std::wstring text = HtmlText(FieldText(service, L"DisplayName"));
    if (HasText(service, L"ServiceName")) {
        text += L" [" + HtmlText(FieldText(service, L"ServiceName")) + L"]";
    }
    return text + L" " + KnownText(service, L"State") + L", " + KnownText(service, L"StartMode");
}

std::wstring PackageSourceText(const SessionItem& program) {
    return HasText(program, L"PackageSource")
               ? L" [" + HtmlText(FieldText(program, L"PackageSource")) + L"]"
               : std::wstring();
}

void CInventoryReport::RenderPlatform(const std::vector<SessionItem>& items) {
    if (items.empty()) {
        return;
    }
    const SessionItem& item = items.front();
    m_readiness.firmwareType = FieldText(item, L"FirmwareType");
    m_readiness.secureBoot = FieldText(item, L"SecureBoot");
    m_tpmUnanswered = FindField(item, L"TpmPresent") != nullptr && !HasText(item, L"TpmPresent");
    m_platformFirmwareType = KnownText(item, L"FirmwareType");
    m_platformSecureBoot = KnownText(item, L"SecureBoot");
    m_platformVirtualization = KnownText(item, L"Virtualization");
    m_platformInitSystem = KnownText(item, L"InitSystem");
}

void CInventoryReport::RenderTpm(const std::vector<SessionItem>& items) {
    m_tpmText = LineList(items, TpmText, L"not present");
    m_readiness.tpm = items.empty() ? ReadinessFacts::Tpm::kNone : ReadinessFacts::Tpm::kPresent;
    m_readiness.tpmVersion.clear();
    // Of several, the newest decides.
    for (const SessionItem& item : items) {
        const std::wstring version = FieldText(item, L"SpecVersion");
        if (m_readiness.tpmVersion.empty() ||
            TextToInt(version) > TextToInt(m_readiness.tpmVersion)) {
            m_readiness.tpmVersion = version;
        }
    }
}

void CInventoryReport::RenderDiskDrive(const std::vector<SessionItem>& items) {
    m_diskDriveNames = LineList(items, DiskDriveText, L"none detected");
}

void CInventoryReport::RenderUSBDevice(const std::vector<SessionItem>& items) {
    m_usbDeviceNames = LineList(items, UsbDeviceText, L"none detected");
}

void CInventoryReport::CountLogicalProcessors(const std::vector<SessionItem>& items) {
    long long total = 0;
    for (const SessionItem& item : items) {
        const long long count = TextToInt(FieldText(item, L"NumberOfLogicalProcessors"));
        if (count <= 0) {
            m_processorLogicalCount = kUnknownFigure;
            return;
        }
        total += count;
    }
    m_processorLogicalCount = items.empty() ? std::wstring(kUnknownFigure) : std::to_wstring(total);
}
