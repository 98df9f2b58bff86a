#pragma once
// One owner for every kind of handle the Linux side opens (file descriptors, directory
// streams): the traits say what "none" is and how to close, as on Windows.
#include <dirent.h>
#include <unistd.h>

#include <utility>

namespace platform::posix {

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

struct FdTraits {
    using type = int;
    static constexpr int none() { return -1; }
    static void close(int fd) { ::close(fd); }
};

struct DirTraits {
    using type = DIR*;
    static constexpr DIR* none() { return nullptr; }
    static void close(DIR* folder) { ::closedir(folder); }
};

using UniqueFd = UniqueHandle<FdTraits>;
using UniqueDir = UniqueHandle<DirTraits>;

}  // namespace platform::posix
