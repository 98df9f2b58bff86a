#pragma once
// CRegistryKey owns one open registry key. It returns Win32 error codes and never throws.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry.h"

class CRegistryKey {
  public:
    CRegistryKey() = default;
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    platform::RegError Open(platform::RegKey parent, const std::wstring& subkey,
                            std::uint32_t access);
    platform::RegError Create(platform::RegKey parent, const std::wstring& subkey,
                              std::uint32_t access, std::uint32_t* disposition = nullptr);
    platform::RegError Close();

    platform::RegError EnumKey(std::uint32_t index, wchar_t* name, std::uint32_t* length);
    platform::RegError EnumValue(std::uint32_t index, wchar_t* name, std::uint32_t* nameLength,
                                 std::uint32_t* type, void* data, std::uint32_t* bytes);
    platform::RegError QueryValue(const wchar_t* name, std::uint32_t* type, void* data,
                                  std::uint32_t* bytes);
    platform::RegError QueryDWORDValue(const wchar_t* name, std::uint32_t& value);
    platform::RegError QueryStringValue(const wchar_t* name, wchar_t* buffer,
                                        std::uint32_t* length);
    platform::RegError SetStringValue(const wchar_t* name, const wchar_t* text,
                                      std::uint32_t type = platform::kRegSz);

    // The open key, for use as the parent of another Open; 0 when closed.
    platform::RegKey Handle() const { return key_; }
    bool IsOpen() const { return key_ != 0; }

  private:
    platform::RegKey key_ = 0;
};

platform::RegError WriteStringValue(platform::RegKey root, const std::wstring& keyPath,
                                    const std::wstring& text, const std::wstring& valueName);

// The read every caller makes of a text value: present only when it is REG_SZ (or the type
// `alsoType`, such as REG_EXPAND_SZ, read unexpanded), cut at the first NUL.
std::optional<std::wstring> ReadStringValue(CRegistryKey& key, const wchar_t* name,
                                            std::uint32_t alsoType = platform::kRegSz);
