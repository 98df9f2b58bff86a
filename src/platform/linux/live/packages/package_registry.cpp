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

}  // namespace platform::live
