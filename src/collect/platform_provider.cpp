#include "collect/platform_provider.h"

#include "collect/wmi_session.h"
#include "platform/services.h"

namespace {

std::wstring FactText(const platform::PlatformFacts& facts, const std::wstring& field) {
    if (field == L"OSFamily")
        return facts.osFamily;
    if (field == L"FirmwareType")
        return facts.firmwareType;
    if (field == L"SecureBoot")
        return facts.secureBoot;
    if (field == L"Virtualization")
        return facts.virtualization;
    if (field == L"InitSystem")
        return facts.initSystem;
    return {};
}

std::wstring TpmPresence(CWmiSession& wmi) {
    wmi.StartQuery(L"ROOT\\CIMV2\\Security\\MicrosoftTpm:Select * from Win32_Tpm");
    if (!wmi.Answered())
        return {};
    return wmi.AtEnd() ? L"No" : L"Yes";
}

}  // namespace

int CollectPlatform(CWmiSession& wmi, const QueryDefinition& query, const RowSink& store) {
    const platform::PlatformFacts facts = platform::GetPlatformInfo().Facts();
    ResultRow row;
    for (const auto& field : query.fields)
        row[field.exportName] =
            field.name == L"TpmPresent" ? TpmPresence(wmi) : FactText(facts, field.name);
    store(query, row);
    return 0;
}
