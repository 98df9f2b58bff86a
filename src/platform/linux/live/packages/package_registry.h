#pragma once
// The registry of the Linux program: in memory, with the layout of the machine (a 64-bit
// machine is read as 64-bit Windows is by a 32-bit program), holding the installed packages
// as Windows holds installed programs. The packages are read on the first use of
// HKEY_LOCAL_MACHINE, once, or beside the start of a run when it says it will ask: a program
// that never asks does not pay for them.
#include <mutex>
#include <thread>

#include "platform/linux/live/common/system_root.h"
#include "platform/memory_registry.h"

namespace platform::live {

class PackageRegistry : public Registry {
  public:
    PackageRegistry(SystemRoot root, bool machineIs64Bit);

    RegError OpenKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                     RegKey* result) override {
        return Call(parent, &MemoryRegistry::OpenKey, subkey, access, result);
    }
    RegError CreateKey(RegKey parent, const wchar_t* subkey, std::uint32_t access, RegKey* result,
                       std::uint32_t* disposition) override {
        return Call(parent, &MemoryRegistry::CreateKey, subkey, access, result, disposition);
    }
    RegError CloseKey(RegKey key) override { return Call(key, &MemoryRegistry::CloseKey); }
    RegError EnumKey(RegKey key, std::uint32_t index, wchar_t* name,
                     std::uint32_t* length) override {
        return Call(key, &MemoryRegistry::EnumKey, index, name, length);
    }
    RegError EnumValue(RegKey key, std::uint32_t index, wchar_t* name, std::uint32_t* nameLength,
                       std::uint32_t* type, void* data, std::uint32_t* bytes) override {
        return Call(key, &MemoryRegistry::EnumValue, index, name, nameLength, type, data, bytes);
    }
    RegError QueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                        std::uint32_t* bytes) override {
        return Call(key, &MemoryRegistry::QueryValue, name, type, data, bytes);
    }
    RegError SetValue(RegKey key, const wchar_t* name, std::uint32_t type, const void* data,
                      std::uint32_t bytes) override {
        return Call(key, &MemoryRegistry::SetValue, name, type, data, bytes);
    }
    void Prefetch() override;

  private:
    // Holds the lock for the call; fills the registry when the call names HKLM first.
    std::unique_lock<std::mutex> Enter(RegKey key);
    // Under the lock.
    void FillOnce();

    // The memory registry's answer to the call, under the lock.
    template <class Method, class... Arguments>
    RegError Call(RegKey key, Method method, Arguments... arguments) {
        const auto lock = Enter(key);
        return (memory_.*method)(key, arguments...);
    }

    const SystemRoot root_;
    const bool machineIs64Bit_;
    // The memory registry is not made for several threads; the run and the front end share it.
    std::mutex mutex_;
    bool filled_ = false;
    MemoryRegistry memory_;
    // Last: it is joined before the members it fills go.
    std::jthread prefetch_;
};

}  // namespace platform::live
