#include "platform/windows/native.h"

namespace platform::win {
namespace {

HKEY AsHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}
RegKey AsRegKey(HKEY key) {
    return reinterpret_cast<RegKey>(key);
}

// The registry calls take DWORD sizes; this keeps the caller's 32-bit counts in step.
class DwordRef {
  public:
    explicit DwordRef(std::uint32_t* value) : value_(value), copy_(value ? *value : 0) {}
    ~DwordRef() {
        if (value_)
            *value_ = static_cast<std::uint32_t>(copy_);
    }
    DwordRef(const DwordRef&) = delete;
    DwordRef& operator=(const DwordRef&) = delete;
    DWORD* get() { return value_ ? &copy_ : nullptr; }

  private:
    std::uint32_t* value_;
    DWORD copy_;
};

// The catalogue's unprefixed paths, and the product's own keys, mean what the 32-bit program
// sees. A 64-bit build reads that same view so that both builds store the same rows; the
// "64:" queries still ask for the native view explicitly.
DWORD WithDefaultView(std::uint32_t access) {
    if constexpr (sizeof(void*) == 8) {
        if (!(access & (KEY_WOW64_32KEY | KEY_WOW64_64KEY)))
            return access | KEY_WOW64_32KEY;
    }
    return access;
}

}  // namespace

RegError Win32Registry::OpenKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                                RegKey* result) {
    HKEY key = nullptr;
    const LONG rc = ::RegOpenKeyExW(AsHkey(parent), subkey, 0, WithDefaultView(access), &key);
    if (rc == ERROR_SUCCESS && result)
        *result = AsRegKey(key);
    return rc;
}

RegError Win32Registry::CreateKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                                  RegKey* result, std::uint32_t* disposition) {
    HKEY key = nullptr;
    DwordRef how(disposition);
    const LONG rc = ::RegCreateKeyExW(AsHkey(parent), subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      WithDefaultView(access), nullptr, &key, how.get());
    if (rc == ERROR_SUCCESS && result)
        *result = AsRegKey(key);
    return rc;
}

RegError Win32Registry::CloseKey(RegKey key) {
    return ::RegCloseKey(AsHkey(key));
}

RegError Win32Registry::EnumKey(RegKey key, std::uint32_t index, wchar_t* name,
                                std::uint32_t* length) {
    DwordRef size(length);
    return ::RegEnumKeyExW(AsHkey(key), index, name, size.get(), nullptr, nullptr, nullptr,
                           nullptr);
}

RegError Win32Registry::EnumValue(RegKey key, std::uint32_t index, wchar_t* name,
                                  std::uint32_t* nameLength, std::uint32_t* type, void* data,
                                  std::uint32_t* bytes) {
    DwordRef nameSize(nameLength), valueType(type), dataSize(bytes);
    return ::RegEnumValueW(AsHkey(key), index, name, nameSize.get(), nullptr, valueType.get(),
                           static_cast<BYTE*>(data), dataSize.get());
}

RegError Win32Registry::QueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                                   std::uint32_t* bytes) {
    DwordRef valueType(type), dataSize(bytes);
    return ::RegQueryValueExW(AsHkey(key), name, nullptr, valueType.get(), static_cast<BYTE*>(data),
                              dataSize.get());
}

RegError Win32Registry::SetValue(RegKey key, const wchar_t* name, std::uint32_t type,
                                 const void* data, std::uint32_t bytes) {
    return ::RegSetValueExW(AsHkey(key), name, 0, type, static_cast<const BYTE*>(data), bytes);
}

}  // namespace platform::win
