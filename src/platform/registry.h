#pragma once
// The registry as the program sees it: predefined roots, open keys as opaque numbers, and the
// Win32 error codes that callers test for. Windows answers with the real registry; elsewhere
// (and in tests) an in-memory registry gives the same answers.
#include <cstdint>

namespace platform {

using RegKey = std::uintptr_t;
using RegError = long;

inline constexpr RegKey kClassesRoot = 0x80000000u;
inline constexpr RegKey kCurrentUser = 0x80000001u;
inline constexpr RegKey kLocalMachine = 0x80000002u;
inline constexpr RegKey kUsers = 0x80000003u;
inline constexpr RegKey kCurrentConfig = 0x80000005u;

inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyWow64_64 = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32 = 0x0200;

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

inline constexpr std::uint32_t kCreatedNewKey = 1;
inline constexpr std::uint32_t kOpenedExistingKey = 2;

inline constexpr RegError kErrorSuccess = 0;
inline constexpr RegError kErrorFileNotFound = 2;
inline constexpr RegError kErrorAccessDenied = 5;
inline constexpr RegError kErrorInvalidHandle = 6;
inline constexpr RegError kErrorInvalidData = 13;
inline constexpr RegError kErrorInvalidParameter = 87;
inline constexpr RegError kErrorMoreData = 234;
inline constexpr RegError kErrorNoMoreItems = 259;

// The registry operations the program needs. Sizes of value data are in bytes; name lengths
// in characters (wchar_t), the terminator excluded on return, included on entry, as Win32
// does it. Every call returns one of the error codes above (or another Win32 code).
class Registry {
  public:
    virtual ~Registry() = default;
    virtual RegError OpenKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                             RegKey* result) = 0;
    virtual RegError CreateKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                               RegKey* result, std::uint32_t* disposition) = 0;
    virtual RegError CloseKey(RegKey key) = 0;
    virtual RegError EnumKey(RegKey key, std::uint32_t index, wchar_t* name,
                             std::uint32_t* length) = 0;
    virtual RegError EnumValue(RegKey key, std::uint32_t index, wchar_t* name,
                               std::uint32_t* nameLength, std::uint32_t* type, void* data,
                               std::uint32_t* bytes) = 0;
    virtual RegError QueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                                std::uint32_t* bytes) = 0;
    virtual RegError SetValue(RegKey key, const wchar_t* name, std::uint32_t type, const void* data,
                              std::uint32_t bytes) = 0;
    // A run is about to read the machine's keys. A registry that builds them first may start
    // now, on a thread of its own, so that the first read finds them ready.
    virtual void Prefetch() {}
};

}  // namespace platform
