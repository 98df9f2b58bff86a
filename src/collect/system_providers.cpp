#include "collect/system_providers.h"

#include <algorithm>

#include "platform/services.h"
#include "util/numbers.h"

namespace {

bool VersionText(CCommonConfig& config, const std::wstring& field, std::wstring& text) {
    if (field == L"RunAsAdmin")
        text = config.IsRunningAsAdmin() ? L"1" : L"0";
    else if (field == L"ZephId")
        text = config.GetMachineId();
    else if (field == L"FileVersionMajor")
        text = IntToText(config.GetFileVersionMajor());
    else if (field == L"FileVersionMinor")
        text = IntToText(config.GetFileVersionMinor());
    else if (field == L"FileVersionRevision")
        text = IntToText(config.GetFileVersionRevision());
    else if (field == L"DataVersionMajor")
        text = IntToText(config.GetRecordedVersionMajor());
    else if (field == L"DataVersionMinor")
        text = IntToText(config.GetRecordedVersionMinor());
    else if (field == L"DataVersionRevision")
        text = IntToText(config.GetRecordedVersionRevision());
    else
        return false;
    return true;
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
