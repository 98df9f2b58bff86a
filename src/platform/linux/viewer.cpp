#include "platform/viewer.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <thread>

#include "util/utf.h"

extern char** environ;

namespace platform {

// xdg-open picks the user's handler for either kind of file.
void OpenReport(const std::wstring& path, bool /*yaml*/) {
    const std::string file = WideToUtf8(path);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return;
    // The viewer's complaints (no handler, no display) are not the user's business here.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(file.c_str()), nullptr};
    pid_t child = 0;
    const int started = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return;
    // Reaped in the background, so that the caller does not wait and no zombie is left.
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
}

}  // namespace platform
