#include "collect/platform_provider.h"

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

}  // namespace

int CollectPlatform(const QueryDefinition& query, const RowSink& store) {
    const platform::PlatformFacts facts = platform::GetPlatformInfo().Facts();
    ResultRow row;
    for (const auto& field : query.fields)
        row[field.exportName] = FactText(facts, field.name);
    store(query, row);
    return 0;
}
