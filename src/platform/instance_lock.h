#pragma once
// The single-instance guard, held from construction to destruction. A run that can make no
// lock it trusts goes on unguarded rather than be told of an instance that may not exist
// (linux/instance_lock.cpp says when).
#include <cstdint>

namespace platform {

class InstanceLock {
  public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Whether this run may go on: false when another instance holds the lock.
    bool Held() const { return held_; }

  private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
};

}  // namespace platform
