#include "collect/adapter_memory.h"

#include "config/registry_key.h"
#include "platform/wql.h"

using namespace platform;

namespace {

// The display adapters' class: one numbered subkey ("0000", "0001"...) per adapter.
constexpr wchar_t kDisplayClass[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e968-e325-11ce-bfc1-08002be10318}";
constexpr wchar_t kMemorySize[] = L"HardwareInformation.qwMemorySize";
constexpr std::uint32_t kNameBuffer = 256;

std::optional<std::uint64_t> MemorySizeOf(CRegistryKey& adapter) {
    std::uint32_t type = kRegNone, bytes = 0;
    if (adapter.QueryValue(kMemorySize, &type, nullptr, &bytes) != kErrorSuccess || bytes > 64)
        return std::nullopt;
    std::vector<std::uint8_t> data(bytes);
    if (adapter.QueryValue(kMemorySize, &type, data.data(), &bytes) != kErrorSuccess)
        return std::nullopt;
    data.resize(bytes);
    return QwordValue(type, data);
}

const QueryField* FieldNamed(const QueryDefinition& query, const wchar_t* name) {
    for (const auto& field : query.fields)
        if (WqlFold(field.name) == WqlFold(name))
            return &field;
    return nullptr;
}

}  // namespace

std::optional<std::uint64_t> QwordValue(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if ((type != kRegQword && type != kRegBinary) || data.size() != 8)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = data.size(); i-- > 0;)
        value = (value << 8) | data[i];
    return value;
}

std::optional<std::uint64_t> RegisteredAdapterMemory(const std::wstring& adapterName) {
    CRegistryKey display;
    if (adapterName.empty() ||
        display.Open(kLocalMachine, kDisplayClass, kKeyRead) != kErrorSuccess)
        return std::nullopt;
    wchar_t name[kNameBuffer];
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t length = kNameBuffer;
        const RegError rc = display.EnumKey(index, name, &length);
        if (rc == kErrorMoreData)
            continue;  // no adapter's number is that long
        if (rc != kErrorSuccess)
            break;
        CRegistryKey adapter;
        if (adapter.Open(display.Handle(), name, kKeyRead) != kErrorSuccess ||
            ReadStringValue(adapter, L"DriverDesc") != adapterName)
            continue;
        if (const auto size = MemorySizeOf(adapter))
            return size;
    }
    return std::nullopt;
}

void PreferRegisteredAdapterMemory(const QueryDefinition& query, ResultRow& row) {
    const QueryField* memory = FieldNamed(query, L"AdapterRAM");
    const QueryField* name = FieldNamed(query, L"Name");
    if (!memory || !name)
        return;
    const auto statement = ParseWql(SplitNamespace(query.query).wql);
    if (!statement || WqlFold(statement->className) != WqlFold(L"Win32_VideoController"))
        return;
    if (const auto size = RegisteredAdapterMemory(row[name->exportName]))
        row[memory->exportName] = std::to_wstring(*size);
}
