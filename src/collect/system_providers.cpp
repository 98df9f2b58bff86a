#include "collect/system_providers.h"

#include <algorithm>
#include <utility>

#include "platform/services.h"
#include "util/numbers.h"

namespace {

bool VersionText(CCommonConfig& config, const std::wstring& field, std::wstring& text) {
    static const std::pair<const wchar_t*, int (CCommonConfig::*)() const> kNumbers[] = {
        {L"FileVersionMajor", &CCommonConfig::GetFileVersionMajor},
        {L"FileVersionMinor", &CCommonConfig::GetFileVersionMinor},
        {L"FileVersionRevision", &CCommonConfig::GetFileVersionRevision},
        {L"DataVersionMajor", &CCommonConfig::GetRecordedVersionMajor},
        {L"DataVersionMinor", &CCommonConfig::GetRecordedVersionMinor},
        {L"DataVersionRevision", &CCommonConfig::GetRecordedVersionRevision},
    };
    if (field == L"RunAsAdmin") {
        text = config.IsRunningAsAdmin() ? L"1" : L"0";
        return true;
    }
    if (field == L"ZephId") {
        text = config.GetMachineId();
        return true;
    }
    for (const auto& [name, number] : kNumbers) {
        if (field == name) {
            text = IntToText((config.*number)());
            return true;
        }
    }
    return false;
}

// The status numbers are DWORDs that the report reads as signed decimals.
std::wstring Signed(std::uint32_t number) {
    return IntToText(static_cast<int>(number));
}

std::wstring ServiceText(const platform::ServiceEntry& service, const std::wstring& field) {
    static const wchar_t* const kStatusFields[] = {L"ServiceType",
                                                   L"CurrentState",
                                                   L"ControlsAccepted",
                                                   L"Win32ExitCode",
                                                   L"ServiceSpecificExitCode",
                                                   L"CheckPoint",
                                                   L"WaitHint"};
    if (field == L"DisplayName")
        return service.displayName;
    if (field == L"ServiceName")
        return service.serviceName;
    if (field == L"State")
        return service.state;
    if (field == L"StartMode")
        return service.startMode;
    for (int i = 0; i < 7; ++i)
        if (field == kStatusFields[i])
            return Signed(service.status[i]);
    return {};
}

}  // namespace

int CollectVersion(CCommonConfig& config, const QueryDefinition& query, const RowSink& store) {
    ResultRow row;
    for (const auto& field : query.fields) {
        std::wstring text;
        if (VersionText(config, field.name, text))
            row[field.exportName] = text;
    }
    store(query, row);
    return 0;
}

int CollectServices(const QueryDefinition& query, const RowSink& store, std::wstring& errorText) {
    const platform::ServiceListing listing = platform::GetServiceManager().ListServices();
    if (listing.failure == platform::ServiceListing::Failure::Open) {
        errorText = FormatSystemError(listing.error);
        return -1;
    }
    if (listing.failure != platform::ServiceListing::Failure::None)
        errorText = FormatSystemError(listing.error);
    std::size_t count = listing.services.size();
    if (query.maxRows > 0)
        count = std::min(count, static_cast<std::size_t>(query.maxRows));
    for (std::size_t i = 0; i < count; ++i) {
        ResultRow row;
        for (const auto& field : query.fields)
            row[field.exportName] = ServiceText(listing.services[i], field.name);
        store(query, row);
    }
    return 0;
}

std::wstring FormatSystemError(long code) {
    return platform::GetServiceManager().SystemMessage(code);
}
