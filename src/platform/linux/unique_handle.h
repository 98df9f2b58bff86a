#pragma once
// The Linux handles the program opens: file descriptors and directory streams.
#include <dirent.h>
#include <unistd.h>

#include "platform/unique_handle.h"

namespace platform::posix {

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

using UniqueFd = platform::UniqueHandle<FdTraits>;
using UniqueDir = platform::UniqueHandle<DirTraits>;

}  // namespace platform::posix
