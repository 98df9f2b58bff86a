#include "config/registry_key.h"

#include <vector>

#include "platform/services.h"

using namespace platform;

CRegistryKey::~CRegistryKey() {
    Close();
}

RegError CRegistryKey::Open(RegKey parent, const std::wstring& subkey, std::uint32_t access) {
    RegKey opened = 0;
    const RegError rc = GetRegistry().OpenKey(parent, subkey.c_str(), access, &opened);
    if (rc != kErrorSuccess)
        return rc;
    Close();
    key_ = opened;
    return kErrorSuccess;
}

RegError CRegistryKey::Create(RegKey parent, const std::wstring& subkey, std::uint32_t access,
                              std::uint32_t* disposition) {
    RegKey opened = 0;
    const RegError rc =
        GetRegistry().CreateKey(parent, subkey.c_str(), access, &opened, disposition);
    if (rc != kErrorSuccess)
        return rc;
    Close();
    key_ = opened;
    return kErrorSuccess;
}

RegError CRegistryKey::Close() {
    if (key_ == 0)
        return kErrorSuccess;
    const RegKey key = key_;
    key_ = 0;
    return GetRegistry().CloseKey(key);
}

RegError CRegistryKey::EnumKey(std::uint32_t index, wchar_t* name, std::uint32_t* length) {
    return GetRegistry().EnumKey(key_, index, name, length);
}

RegError CRegistryKey::EnumValue(std::uint32_t index, wchar_t* name, std::uint32_t* nameLength,
                                 std::uint32_t* type, void* data, std::uint32_t* bytes) {
    return GetRegistry().EnumValue(key_, index, name, nameLength, type, data, bytes);
}

RegError CRegistryKey::QueryValue(const wchar_t* name, std::uint32_t* type, void* data,
                                  std::uint32_t* bytes) {
    return GetRegistry().QueryValue(key_, name, type, data, bytes);
}

RegError CRegistryKey::QueryDWORDValue(const wchar_t* name, std::uint32_t& value) {
    std::uint32_t type = kRegNone;
    std::uint32_t data = 0;
    std::uint32_t bytes = sizeof data;
    const RegError rc = QueryValue(name, &type, &data, &bytes);
    // A longer value of another type reports "more data"; its type is what matters.
    if (rc == kErrorMoreData && type != kRegDword)
        return kErrorInvalidData;
    if (rc != kErrorSuccess)
        return rc;
    if (type != kRegDword || bytes != sizeof data)
        return kErrorInvalidData;
    value = data;
    return kErrorSuccess;
}

RegError CRegistryKey::QueryStringValue(const wchar_t* name, wchar_t* buffer,
                                        std::uint32_t* length) {
    std::uint32_t bytes = *length * sizeof(wchar_t);
    *length = 0;
    std::uint32_t type = kRegNone;
    const RegError rc = QueryValue(name, &type, buffer, &bytes);
    if (rc != kErrorSuccess)
        return rc;
    if (type != kRegSz && type != kRegExpandSz)
        return kErrorInvalidData;
    if (buffer) {
        if (bytes == 0) {
            buffer[0] = L'\0';
        } else if (bytes % sizeof(wchar_t) != 0 || buffer[bytes / sizeof(wchar_t) - 1] != L'\0') {
            return kErrorInvalidData;
        }
    }
    *length = bytes / sizeof(wchar_t);
    return kErrorSuccess;
}

RegError CRegistryKey::SetStringValue(const wchar_t* name, const wchar_t* text,
                                      std::uint32_t type) {
    if (!text)
        return kErrorInvalidData;
    const std::wstring value(text);
    const auto bytes = static_cast<std::uint32_t>((value.size() + 1) * sizeof(wchar_t));
    return GetRegistry().SetValue(key_, name, type, value.c_str(), bytes);
}

RegError WriteStringValue(RegKey root, const std::wstring& keyPath, const std::wstring& text,
                          const std::wstring& valueName) {
    CRegistryKey key;
    if (const RegError rc = key.Create(root, keyPath, kKeyRead | kKeyWrite); rc != kErrorSuccess)
        return rc;
    return key.SetStringValue(valueName.c_str(), text.c_str(), kRegSz);
}

std::optional<std::wstring> ReadStringValue(CRegistryKey& key, const wchar_t* name,
                                            std::uint32_t alsoType) {
    std::uint32_t type = kRegNone;
    std::uint32_t bytes = 0;
    if (key.QueryValue(name, &type, nullptr, &bytes) != kErrorSuccess ||
        (type != kRegSz && type != alsoType))
        return std::nullopt;
    // Twice the bytes in characters, so the terminator always fits even when the stored
    // value lacks one.
    std::vector<wchar_t> buffer(bytes + 1, L'\0');
    auto length = static_cast<std::uint32_t>(buffer.size());
    if (key.QueryStringValue(name, buffer.data(), &length) != kErrorSuccess)
        return std::nullopt;
    return std::wstring(buffer.data());
}
