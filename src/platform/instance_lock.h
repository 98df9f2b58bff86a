#pragma once
// The single-instance guard: held from construction to destruction when Held() says so.
#include <cstdint>

namespace platform {

class InstanceLock {
  public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another instance holds the lock or the lock could not be made.
    bool Held() const { return held_; }

  private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
};

}  // namespace platform
