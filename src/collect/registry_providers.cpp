#include "collect/registry_providers.h"

#include <string_view>
#include <vector>

#include "config/registry_key.h"
#include "util/text.h"

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

// The key a query names, opened for reading; false when the text names no root key or the
// key does not open.
bool OpenQueryKey(const std::wstring& text, KeyPath& where, CRegistryKey& key) {
    return SplitQuery(text, where) &&
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
    return ReadStringValue(key, name).value_or(L"");
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
// rows (when positive) are stored. The number of rows stored.
template <class Enumerate, class Visit>
int ForEachEntry(int maxRows, Enumerate enumerate, Visit visit) {
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
    return stored;
}

constexpr wchar_t kProfileList[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
constexpr wchar_t kUserNameField[] = L"UserName";

// A user's own hive under HKEY_USERS: not the default profile, not the hives of the system
// and service accounts, not the classes hive loaded beside each user's.
bool IsUserHive(const std::wstring& name) {
    const std::wstring upper = ToUpper(name);
    constexpr std::wstring_view kClasses = L"_CLASSES";
    for (const wchar_t* other : {L".DEFAULT", L"S-1-5-18", L"S-1-5-19", L"S-1-5-20"})
        if (upper == other)
            return false;
    return !std::wstring_view(upper).ends_with(kClasses);
}

// The user a loaded hive belongs to: the last folder of the profile's path (a REG_EXPAND_SZ
// such as "%SystemDrive%\Users\name", its last part needs no expanding), else the SID. The
// profile list is one key that both views share.
std::wstring ProfileUserName(const std::wstring& sid) {
    CRegistryKey profile;
    std::wstring folder;
    if (profile.Open(kLocalMachine, kProfileList + sid, kKeyRead | kKeyWow64_64) == kErrorSuccess)
        folder =
            Trim(ReadStringValue(profile, L"ProfileImagePath", kRegExpandSz).value_or(L""), L"\\");
    const std::size_t slash = folder.find_last_of(L'\\');
    const std::wstring name = slash == std::wstring::npos ? folder : folder.substr(slash + 1);
    return name.empty() ? sid : name;
}

// One item per subkey of `parent\path`, at most `limit` (when positive); `userName`, when
// given, fills the UserName field. The number stored.
int StoreSubkeys(RegKey parent, const std::wstring& path, std::uint32_t access, int limit,
                 const std::wstring* userName, const QueryDefinition& query, const RowSink& store) {
    CRegistryKey key;
    if (key.Open(parent, path, access) != kErrorSuccess)
        return 0;
    return ForEachEntry(
        limit,
        [&](std::uint32_t index, wchar_t* name, std::uint32_t* length) {
            return key.EnumKey(index, name, length);
        },
        [&](const wchar_t* name) {
            CRegistryKey subkey;
            if (subkey.Open(key.Handle(), name, access) != kErrorSuccess)
                return false;
            ResultRow row;
            for (const auto& field : query.fields)
                row[field.exportName] = userName && field.name == kUserNameField
                                            ? *userName
                                            : ValueText(subkey, field.name.c_str());
            store(query, row);
            return true;
        });
}

}  // namespace

int CollectRegistryKeys(const QueryDefinition& query, bool isWow64, const RowSink& store) {
    KeyPath where;
    // Only a 32-bit process on 64-bit Windows has a 64-bit view to add.
    if (!SplitQuery(query.query, where) || (!isWow64 && (where.access & kKeyWow64_64)))
        return 0;
    // "HKEY_USERS\*\...": the same key in every user's hive.
    if (where.root != kUsers || where.path.rfind(L"*\\", 0) != 0) {
        StoreSubkeys(where.root, where.path, where.access, query.maxRows, nullptr, query, store);
        return 0;
    }
    const std::wstring below = where.path.substr(2);
    CRegistryKey users;
    if (users.Open(kUsers, L"", where.access) != kErrorSuccess)
        return 0;
    int stored = 0;
    ForEachEntry(
        0,
        [&](std::uint32_t index, wchar_t* name, std::uint32_t* length) {
            return query.maxRows > 0 && stored >= query.maxRows
                       ? kErrorNoMoreItems
                       : users.EnumKey(index, name, length);
        },
        [&](const wchar_t* name) {
            if (!IsUserHive(name))
                return false;
            const std::wstring user = ProfileUserName(name);
            stored +=
                StoreSubkeys(users.Handle(), std::wstring(name) + L"\\" + below, where.access,
                             query.maxRows > 0 ? query.maxRows - stored : 0, &user, query, store);
            return false;
        });
    return 0;
}

int CollectRegistryValues(const QueryDefinition& query, const RowSink& store) {
    KeyPath where;
    CRegistryKey key;
    if (!OpenQueryKey(query.query, where, key))
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
