// Processes from /proc: command lines, the kernel's status lines, and the folders of a fake
// /proc holding an ordinary process, a kernel thread, a replaced executable and vanished or
// unreadable details.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/system/processes.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;
using namespace std::literals;

namespace {

TEST(SystemProcessesTest, CommandLineJoinsArgumentsWithSpaces) {
    const struct {
        std::string_view cmdline;
        std::optional<std::string> expected;
    } cases[] = {
        {"/bin/sh\0-c\0echo hi\0"sv, "/bin/sh -c echo hi"},
        {"a\0\0b\0"sv, "a  b"},  // an empty argument keeps its place
        {"sshd: alice [priv]\0\0\0\0"sv, "sshd: alice [priv]"},
        {"padded title   "sv, "padded title"},
        {"no final nul"sv, "no final nul"},
        {"caf\xe9\0<b>\"q\"\0"sv, "caf\xe9 <b>\"q\""},  // bytes pass as they are
        {""sv, std::nullopt},
        {"\0\0"sv, std::nullopt},
        {" \0"sv, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ParseCommandLine(c.cmdline)) << c.cmdline;
}

TEST(SystemProcessesTest, StatusGivesTheKernelNameAndParent) {
    const struct {
        std::string_view status;
        std::optional<std::string> name;
        std::optional<std::uint32_t> parent;
    } cases[] = {
        {"Name:\tbash\nUmask:\t0022\nPid:\t7\nPPid:\t42\nTracerPid:\t0\n", "bash", 42},
        {"Name:\tline\\nbreak\\\\x\\t\nPPid:\t1", "line\nbreak\\x\\t", 1},
        {"NameX:\tno\nName:   spaced out\n", "spaced out", std::nullopt},
        {"Name:\t lead\n", " lead", std::nullopt},
        {"Name:\t\nPPid:\tx\n", std::nullopt, std::nullopt},
        {"PPid:\t99999999999\n", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const ProcessStatus parsed = ParseProcessStatus(c.status);
        EXPECT_EQ(c.name, parsed.name) << c.status;
        EXPECT_EQ(c.parent, parsed.parentId) << c.status;
    }
    EXPECT_EQ("vim", ExecutableName("/usr/bin/vim"));
    EXPECT_EQ("vim", ExecutableName("vim"));
    EXPECT_EQ("", ExecutableName("/"));
}

TEST(SystemProcessesTest, ReadsEveryProcessFolderOfAFakeProc) {
    const WmiObjectList processes = Processes(TreeRoot(FENNOCK_TREES_DIR "/system-proc"));
    // Folder 300 lost its status while it was read (the process ended): not listed. "self"
    // and files are not processes.
    ASSERT_EQ(6u, processes.size());
    const struct {
        const wchar_t* id;
        const wchar_t* name;
        const wchar_t* path;
        const wchar_t* commandLine;
        const wchar_t* parent;
    } expected[] = {
        {L"1", L"init", L"/sbin/init", L"/sbin/init splash", L"0"},
        // The executable's file was replaced: the path is the one it was started from.
        {L"100", L"old-tool", L"/opt/tool/old-tool", L"/opt/tool/old-tool --serve", L"1"},
        {L"2", L"kthreadd", L"(null)", L"(null)", L"0"},  // a kernel thread
        // Another user's process: its link cannot be read, the kernel's name remains.
        {L"200", L"sshd", L"(null)", L"sshd: alice [priv]", L"1"},
        {L"400", L"tool", L"/usr/bin/tool", L"/usr/bin/tool caf\uFFFD <b>\"q\" \\x</b>", L"1"},
        // A file really named so keeps its name.
        {L"500", L"odd (deleted)", L"/usr/bin/odd (deleted)", L"odd", L"1"},
    };
    for (std::size_t i = 0; i < processes.size(); ++i) {
        const WmiObject& process = processes[i];
        SCOPED_TRACE(expected[i].id);
        EXPECT_EQ(expected[i].id, Shown(process, L"ProcessId"));
        EXPECT_EQ(expected[i].name, Shown(process, L"Name"));
        EXPECT_EQ(expected[i].path, Shown(process, L"ExecutablePath"));
        EXPECT_EQ(expected[i].commandLine, Shown(process, L"CommandLine"));
        EXPECT_EQ(expected[i].parent, Shown(process, L"ParentProcessId"));
    }
    EXPECT_TRUE(Processes(TreeRoot(FENNOCK_TREES_DIR "/no-such-tree")).empty());
}

TEST(SystemProcessesTest, LiveListHoldsThisTestProgram) {
    const WmiObjectList processes = Processes(SystemRoot());
    const std::wstring self = std::filesystem::read_symlink("/proc/self/exe").wstring();
    const std::wstring id = std::to_wstring(::getpid());
    int found = 0;
    for (const WmiObject& process : processes) {
        EXPECT_NE(L"(null)", Shown(process, L"Name"));
        EXPECT_NE(L"(absent)", Shown(process, L"CommandLine"));
        if (Shown(process, L"ProcessId") != id)
            continue;
        ++found;
        EXPECT_EQ(self, Shown(process, L"ExecutablePath"));
        EXPECT_EQ(std::filesystem::path(self).filename().wstring(), Shown(process, L"Name"));
        EXPECT_NE(L"(null)", Shown(process, L"CommandLine"));
        EXPECT_EQ(std::to_wstring(::getppid()), Shown(process, L"ParentProcessId"));
    }
    EXPECT_EQ(1, found);
}

}  // namespace
