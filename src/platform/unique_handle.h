#pragma once
// One owner for every kind of system handle: the traits say what "none" is and how to close
// it. Each system defines the traits of its own handles (windows/handle.h,
// linux/unique_handle.h).
#include <utility>

namespace platform {

template <class Traits>
class UniqueHandle {
  public:
    using type = typename Traits::type;

    UniqueHandle() = default;
    explicit UniqueHandle(type handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    type get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::none(); }
    type release() { return std::exchange(handle_, Traits::none()); }
    void reset(type handle = Traits::none()) {
        if (handle_ != Traits::none())
            Traits::close(handle_);
        handle_ = handle;
    }

  private:
    type handle_ = Traits::none();
};

}  // namespace platform
