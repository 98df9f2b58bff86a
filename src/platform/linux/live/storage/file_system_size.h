#pragma once
// The size of a mounted file system and the space its users may still fill, as df shows
// them, asked of the kernel with a time limit: statvfs on a network share whose server is
// gone can block forever.
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform::live {

struct FileSystemSpace {
    std::optional<std::uint64_t> size;  // bytes
    std::optional<std::uint64_t> free;  // bytes available to unprivileged users
    // Bytes in use: what df counts as used, so that used ÷ (used + free) is its "Use%" (the
    // blocks reserved for root are neither).
    std::optional<std::uint64_t> used;
};

// Bytes from statvfs's counts: all, available and free blocks of fragmentSize bytes
// (blockSize when the fragment size is 0, as old kernels report). A product beyond 64 bits
// is unknown.
FileSystemSpace SpaceFromCounts(std::uint64_t blocks, std::uint64_t available,
                                std::uint64_t freeBlocks, std::uint64_t fragmentSize,
                                std::uint64_t blockSize);

using ChildNumbers = std::array<std::uint64_t, 5>;

// Runs `work` in a child process and returns the numbers it filled; nothing when it returns
// false, dies, or has not answered within `limit`. A late child is killed and left behind
// (one blocked in the kernel can be neither killed nor waited for). `work` runs in a copy of
// a possibly threaded process: only async-signal-safe calls (no allocation, no locks).
std::optional<ChildNumbers> RunWithTimeLimit(const std::function<bool(ChildNumbers&)>& work,
                                             std::chrono::milliseconds limit);

// The space of the file system mounted at `path`, each figure null when the kernel does not
// answer within `limit`. Without a limit the kernel is asked directly: a child process costs
// the whole run its copied page tables, and a file system on a local device answers from
// memory.
FileSystemSpace FileSystemSpaceOf(const std::string& path,
                                  std::optional<std::chrono::milliseconds> limit);

}  // namespace platform::live
