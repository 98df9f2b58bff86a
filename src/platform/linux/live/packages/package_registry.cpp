#include "platform/linux/live/packages/package_registry.h"

#include "platform/linux/live/packages/uninstall_keys.h"

namespace platform::live {

PackageRegistry::PackageRegistry(SystemRoot root, bool machineIs64Bit)
    : root_(std::move(root)),
      machineIs64Bit_(machineIs64Bit),
      memory_(MemoryRegistry::Layout{machineIs64Bit, true}) {}

std::unique_lock<std::mutex> PackageRegistry::Enter(RegKey key) {
    std::unique_lock lock(mutex_);
    // Every handle below HKLM was opened from HKLM itself, so that call came first.
    if (!filled_ && key == kLocalMachine) {
        filled_ = true;
        PutInstalledPackages(root_, machineIs64Bit_, memory_);
    }
    return lock;
}

RegError PackageRegistry::OpenKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                                  RegKey* result) {
    const auto lock = Enter(parent);
    return memory_.OpenKey(parent, subkey, access, result);
}

RegError PackageRegistry::CreateKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                                    RegKey* result, std::uint32_t* disposition) {
    const auto lock = Enter(parent);
    return memory_.CreateKey(parent, subkey, access, result, disposition);
}

RegError PackageRegistry::CloseKey(RegKey key) {
    const auto lock = Enter(key);
    return memory_.CloseKey(key);
}

RegError PackageRegistry::EnumKey(RegKey key, std::uint32_t index, wchar_t* name,
                                  std::uint32_t* length) {
    const auto lock = Enter(key);
    return memory_.EnumKey(key, index, name, length);
}

RegError PackageRegistry::EnumValue(RegKey key, std::uint32_t index, wchar_t* name,
                                    std::uint32_t* nameLength, std::uint32_t* type, void* data,
                                    std::uint32_t* bytes) {
    const auto lock = Enter(key);
    return memory_.EnumValue(key, index, name, nameLength, type, data, bytes);
}

RegError PackageRegistry::QueryValue(RegKey key, const wchar_t* name, std::uint32_t* type,
                                     void* data, std::uint32_t* bytes) {
    const auto lock = Enter(key);
    return memory_.QueryValue(key, name, type, data, bytes);
}

RegError PackageRegistry::SetValue(RegKey key, const wchar_t* name, std::uint32_t type,
                                   const void* data, std::uint32_t bytes) {
    const auto lock = Enter(key);
    return memory_.SetValue(key, name, type, data, bytes);
}

}  // namespace platform::live
