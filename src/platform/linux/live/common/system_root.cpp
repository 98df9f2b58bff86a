#include "platform/linux/live/common/system_root.h"
#include "platform/linux/live/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace platform::live {

SystemRoot::SystemRoot() : SystemRoot("/", LiveSystemCalls()) {}

SystemRoot::SystemRoot(std::string folder, std::shared_ptr<const SystemCalls> calls)
    : folder_(std::move(folder)), calls_(std::move(calls)) {
    while (folder_.size() > 1 && folder_.back() == '/')
        folder_.pop_back();
}

std::string SystemRoot::Path(std::string_view absolute) const {
    if (folder_ == "/")
        return std::string(absolute);
    std::string path = folder_;
    if (!absolute.empty() && absolute.front() != '/')
        path += '/';
    path += absolute;
    return path;
}

std::optional<std::string> SystemRoot::ReadFile(std::string_view absolute,
                                                std::size_t limit) const {
    const int fd = ::open(Path(absolute).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string contents;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        contents.append(
            buffer, std::min<std::size_t>(static_cast<std::size_t>(got), limit - contents.size()));
        if (contents.size() >= limit)
            break;
    }
    ::close(fd);
    return contents;
}

std::optional<std::string> SystemRoot::ReadLine(std::string_view absolute) const {
    auto contents = ReadFile(absolute, 65536);
    if (!contents)
        return std::nullopt;
    const std::size_t end = contents->find('\n');
    if (end != std::string::npos)
        contents->resize(end);
    return contents;
}

std::vector<std::string> SystemRoot::ListFolder(std::string_view absolute) const {
    std::vector<std::string> names;
    DIR* folder = ::opendir(Path(absolute).c_str());
    if (!folder)
        return names;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> SystemRoot::ReadLink(std::string_view absolute) const {
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(Path(absolute).c_str(), target.data(), target.size());
    if (length < 0)
        return std::nullopt;
    target.resize(static_cast<std::size_t>(length));
    return target;
}

bool SystemRoot::Exists(std::string_view absolute) const {
    struct stat info;
    return ::lstat(Path(absolute).c_str(), &info) == 0;
}

}  // namespace platform::live
