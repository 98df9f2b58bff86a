#include "platform/linux/live/packages/package_registry.h"

#include "platform/linux/live/packages/uninstall_keys.h"

namespace platform::live {

PackageRegistry::PackageRegistry(SystemRoot root, bool machineIs64Bit)
    : root_(std::move(root)),
      machineIs64Bit_(machineIs64Bit),
      memory_(MemoryRegistry::Layout{machineIs64Bit, true}) {}

void PackageRegistry::FillOnce() {
    if (!filled_) {
        filled_ = true;
        PutInstalledPackages(root_, machineIs64Bit_, memory_);
    }
}

std::unique_lock<std::mutex> PackageRegistry::Enter(RegKey key) {
    std::unique_lock lock(mutex_);
    // Every handle below HKLM was opened from HKLM itself, so that call came first.
    if (key == kLocalMachine)
        FillOnce();
    return lock;
}

// Reading the package databases is a good part of a run's collection; the run opens its
// database and asks the first questions meanwhile. A call that comes first waits for the lock.
void PackageRegistry::Prefetch() {
    const std::lock_guard lock(mutex_);
    if (filled_ || prefetch_.joinable())
        return;
    prefetch_ = std::jthread([this] {
        const std::lock_guard filling(mutex_);
        FillOnce();
    });
}

}  // namespace platform::live
