#pragma once
// The registry of the Linux program: in memory, with the layout of the machine (a 64-bit
// machine is read as 64-bit Windows is by a 32-bit program), holding the installed packages
// as Windows holds installed programs. The packages are read on the first use of
// HKEY_LOCAL_MACHINE, once: a run that never asks does not pay for them.
#include <mutex>

#include "platform/linux/live/common/system_root.h"
#include "platform/memory_registry.h"

namespace platform::live {

class PackageRegistry : public Registry {
  public:
    PackageRegistry(SystemRoot root, bool machineIs64Bit);

    RegError OpenKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                     RegKey* result) override;
    RegError CreateKey(RegKey parent, const wchar_t* subkey, std::uint32_t access, RegKey* result,
                       std::uint32_t* disposition) override;
    RegError CloseKey(RegKey key) override;
    RegError EnumKey(RegKey key, std::uint32_t index, wchar_t* name,
                     std::uint32_t* length) override;
    RegError EnumValue(RegKey key, std::uint32_t index, wchar_t* name, std::uint32_t* nameLength,
                       std::uint32_t* type, void* data, std::uint32_t* bytes) override;
    RegError QueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                        std::uint32_t* bytes) override;
    RegError SetValue(RegKey key, const wchar_t* name, std::uint32_t type, const void* data,
                      std::uint32_t bytes) override;

  private:
    // Holds the lock for the call; fills the registry when the call names HKLM first.
    std::unique_lock<std::mutex> Enter(RegKey key);

    const SystemRoot root_;
    const bool machineIs64Bit_;
    // The memory registry is not made for several threads; the run and the front end share it.
    std::mutex mutex_;
    bool filled_ = false;
    MemoryRegistry memory_;
};

}  // namespace platform::live
