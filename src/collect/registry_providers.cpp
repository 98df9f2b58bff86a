#include "collect/registry_providers.h"

#include <vector>

#include "config/registry_key.h"

using namespace platform;

namespace {

constexpr std::uint32_t kNameBuffer = 1024;

struct KeyPath {
    RegKey root = 0;
    std::uint32_t access = kKeyRead;
    std::wstring path;
};

bool SplitQuery(const std::wstring& text, KeyPath& key) {
    const std::size_t slash = text.find(L'\\');
    if (slash == std::wstring::npos)
        return false;
    const std::wstring rootPart = text.substr(0, slash);
    key.root = ParseRootKey(rootPart);
    key.access = kKeyRead | ParseRegistryView(rootPart);
    key.path = text.substr(slash + 1);
    return key.root != 0;
}

// The key a query names, opened for reading; false when the text names no root key, asks for a
// view among `refusedViews`, or the key does not open.
bool OpenQueryKey(const std::wstring& text, std::uint32_t refusedViews, KeyPath& where,
                  CRegistryKey& key) {
    return SplitQuery(text, where) && !(where.access & refusedViews) &&
           key.Open(where.root, where.path, where.access) == kErrorSuccess;
}

// REG_SZ up to its first NUL, REG_DWORD in unsigned decimal, anything else empty.
std::wstring ValueText(CRegistryKey& key, const wchar_t* name) {
    std::uint32_t type = kRegNone, bytes = 0;
    if (key.QueryValue(name, &type, nullptr, &bytes) != kErrorSuccess)
        return {};
    if (type == kRegDword) {
        std::uint32_t number = 0;
        if (key.QueryDWORDValue(name, number) != kErrorSuccess)
            return {};
        return std::to_wstring(number);
    }
    if (type != kRegSz)
        return {};
    std::vector<wchar_t> buffer(bytes + 1, L'\0');
    auto length = static_cast<std::uint32_t>(buffer.size());
    if (key.QueryStringValue(name, buffer.data(), &length) != kErrorSuccess)
        return {};
    return std::wstring(buffer.data());
}

}  // namespace

RegKey ParseRootKey(const std::wstring& rootPart) {
    if (rootPart.find(L"HKEY_CLASSES_ROOT") != std::wstring::npos)
        return kClassesRoot;
    if (rootPart.find(L"HKEY_CURRENT_USER") != std::wstring::npos)
        return kCurrentUser;
    if (rootPart.find(L"HKEY_LOCAL_MACHINE") != std::wstring::npos)
        return kLocalMachine;
    if (rootPart.find(L"HKEY_USERS") != std::wstring::npos)
        return kUsers;
    return 0;
}

std::uint32_t ParseRegistryView(const std::wstring& rootPart) {
    if (rootPart.rfind(L"64:", 0) == 0)
        return kKeyWow64_64;
    if (rootPart.rfind(L"32:", 0) == 0)
        return kKeyWow64_32;
    return 0;
}

namespace {

// Walks the entries of an open key by index, as the registry wants it walked: the name
// buffer's length is reset before every call, "no more items" ends the walk, any other
// failure skips that index. `visit` says whether it stored a row; the walk ends once maxRows
// rows (when positive) are stored.
template <class Enumerate, class Visit>
void ForEachEntry(int maxRows, Enumerate enumerate, Visit visit) {
    int stored = 0;
    wchar_t name[kNameBuffer];
    for (std::uint32_t index = 0; maxRows <= 0 || stored < maxRows; ++index) {
        std::uint32_t length = kNameBuffer;
        const RegError rc = enumerate(index, name, &length);
        if (rc == kErrorNoMoreItems)
            break;
        if (rc == kErrorSuccess && visit(name))
            ++stored;
    }
}

}  // namespace

int CollectRegistryKeys(const QueryDefinition& query, bool isWow64, const RowSink& store) {
    KeyPath where;
    CRegistryKey key;
    if (!OpenQueryKey(query.query, isWow64 ? 0 : kKeyWow64_64, where, key))
        return 0;
    ForEachEntry(
        query.maxRows,
        [&](std::uint32_t index, wchar_t* name, std::uint32_t* length) {
            return key.EnumKey(index, name, length);
        },
        [&](const wchar_t* name) {
            CRegistryKey subkey;
            if (subkey.Open(key.Handle(), name, where.access) != kErrorSuccess)
                return false;
            ResultRow row;
            for (const auto& field : query.fields)
                row[field.exportName] = ValueText(subkey, field.name.c_str());
            store(query, row);
            return true;
        });
    return 0;
}

int CollectRegistryValues(const QueryDefinition& query, const RowSink& store) {
    KeyPath where;
    CRegistryKey key;
    if (!OpenQueryKey(query.query, 0, where, key))
        return 0;
    ForEachEntry(
        query.maxRows,
        [&](std::uint32_t index, wchar_t* name, std::uint32_t* length) {
            std::uint32_t type = kRegNone, bytes = 0;
            return key.EnumValue(index, name, length, &type, nullptr, &bytes);
        },
        [&](const wchar_t* name) {
            ResultRow row;
            if (!query.fields.empty())
                row[query.fields[0].exportName] = name;
            if (query.fields.size() > 1)
                row[query.fields[1].exportName] = ValueText(key, name);
            store(query, row);
            return true;
        });
    return 0;
}
