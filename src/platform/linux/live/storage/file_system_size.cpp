#include "platform/linux/live/storage/file_system_size.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace platform::live {
namespace {

std::optional<std::uint64_t> Bytes(std::uint64_t count, std::uint64_t unit) {
    std::uint64_t bytes = 0;
    if (__builtin_mul_overflow(count, unit, &bytes))
        return std::nullopt;
    return bytes;
}

class Pipe {
  public:
    Pipe() {
        if (::pipe2(ends_, O_CLOEXEC) != 0)
            ends_[0] = ends_[1] = -1;
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool IsOpen() const { return ends_[0] >= 0; }
    int Read() const { return ends_[0]; }
    int Write() const { return ends_[1]; }
    void CloseRead() { Close(ends_[0]); }
    void CloseWrite() { Close(ends_[1]); }

  private:
    static void Close(int& fd) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    int ends_[2];
};

[[noreturn]] void AnswerAndExit(const std::function<bool(ChildNumbers&)>& work, int fd) {
    ChildNumbers numbers{};
    if (!work(numbers))
        ::_exit(1);
    const char* bytes = reinterpret_cast<const char*>(numbers.data());
    std::size_t left = sizeof numbers;
    while (left > 0) {
        const ssize_t wrote = ::write(fd, bytes, left);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            ::_exit(1);
        bytes += wrote;
        left -= static_cast<std::size_t>(wrote);
    }
    ::_exit(0);
}

long long MillisecondsNow() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Reads the whole answer before the deadline; false at end of file, on error or timeout.
bool ReadAnswer(int fd, ChildNumbers& numbers, long long deadline) {
    char* bytes = reinterpret_cast<char*>(numbers.data());
    std::size_t got = 0;
    while (got < sizeof numbers) {
        const long long left = deadline - MillisecondsNow();
        if (left <= 0)
            return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = ::poll(&wait, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t count = ::read(fd, bytes + got, sizeof numbers - got);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        got += static_cast<std::size_t>(count);
    }
    return true;
}

// A killed child normally goes at once; one stuck in the kernel stays a zombie until this
// process ends, which is better than waiting for it.
void KillAndReap(pid_t child) {
    ::kill(child, SIGKILL);
    for (int tries = 0; tries < 20; ++tries) {
        const pid_t done = ::waitpid(child, nullptr, WNOHANG);
        if (done == child || (done < 0 && errno != EINTR))
            return;
        const timespec pause{0, 5 * 1000 * 1000};
        ::nanosleep(&pause, nullptr);
    }
}

}  // namespace

FileSystemSpace SpaceFromCounts(std::uint64_t blocks, std::uint64_t available,
                                std::uint64_t freeBlocks, std::uint64_t fragmentSize,
                                std::uint64_t blockSize) {
    const std::uint64_t unit = fragmentSize != 0 ? fragmentSize : blockSize;
    if (unit == 0)
        return {};
    const auto used = blocks >= freeBlocks ? Bytes(blocks - freeBlocks, unit) : std::nullopt;
    return {Bytes(blocks, unit), Bytes(available, unit), used};
}

std::optional<ChildNumbers> RunWithTimeLimit(const std::function<bool(ChildNumbers&)>& work,
                                             std::chrono::milliseconds limit) {
    Pipe pipe;
    if (!pipe.IsOpen())
        return std::nullopt;
    const long long deadline = MillisecondsNow() + limit.count();
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0)
        AnswerAndExit(work, pipe.Write());
    pipe.CloseWrite();

    ChildNumbers numbers{};
    if (!ReadAnswer(pipe.Read(), numbers, deadline)) {
        KillAndReap(child);
        return std::nullopt;
    }
    // The answer is complete, so the child is in _exit.
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return numbers;
}

FileSystemSpace FileSystemSpaceOf(const std::string& path,
                                  std::optional<std::chrono::milliseconds> limit) {
    const char* folder = path.c_str();
    const auto ask = [folder](ChildNumbers& out) {
        struct statvfs info;
        if (::statvfs(folder, &info) != 0)
            return false;
        out = {info.f_blocks, info.f_bavail, info.f_bfree, info.f_frsize, info.f_bsize};
        return true;
    };
    std::optional<ChildNumbers> numbers;
    if (limit) {
        numbers = RunWithTimeLimit(ask, *limit);
    } else if (ChildNumbers direct{}; ask(direct)) {
        numbers = direct;
    }
    if (!numbers)
        return {};
    return SpaceFromCounts((*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3],
                           (*numbers)[4]);
}

}  // namespace platform::live
