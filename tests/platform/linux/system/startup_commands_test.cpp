// Startup commands: desktop entries, service units and crontabs as text, and a fake system
// whose user overrides and hides system autostart entries, enables and masks user
// services, and keeps @reboot jobs.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/system/crontab.h"
#include "platform/linux/live/system/desktop_entry.h"
#include "platform/linux/live/system/service_unit.h"
#include "platform/linux/live/system/startup_commands.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;

namespace {

using Row = std::tuple<std::wstring, std::wstring, std::wstring, std::wstring>;

std::vector<Row> Rows(const WmiObjectList& list) {
    std::vector<Row> rows;
    for (const WmiObject& object : list)
        rows.emplace_back(Shown(object, L"Name"), Shown(object, L"Command"),
                          Shown(object, L"Location"), Shown(object, L"User"));
    return rows;
}

TEST(SystemStartupCommandsTest, DesktopGroupKeysAndEscapes) {
    const auto keys = ParseDesktopGroup(
        "Orphan=before any group\n"
        "# comment\n"
        "[Desktop Entry]\n"
        "Name=Plain\n"
        "Name[de_DE@euro]=Schlicht\n"
        "Name=Second value ignored\n"
        "Spaced  =  around equals  \n"
        "Escapes=\\sa\\nb\\tc\\rd\\\\e\\;f\\x\\\n"
        "Exec=sh -c \"echo \\\\\\\\$HOME\"\n"
        "NoEquals\n"
        "[Desktop Action New]\n"
        "Name=Action\n"
        "[Desktop Entry\n"
        "Broken=header keeps the group closed\n",
        "Desktop Entry");
    const std::map<std::string, std::string> expected = {
        {"Name", "Plain"},
        {"Name[de_DE@euro]", "Schlicht"},
        {"Spaced", "around equals"},
        {"Escapes", " a\nb\tc\rd\\e\\;f\\x\\"},
        {"Exec", "sh -c \"echo \\\\$HOME\""},
    };
    EXPECT_EQ(expected, keys);
}

TEST(SystemStartupCommandsTest, DesktopEntryFields) {
    const struct {
        const char* text;
        bool hidden;
        std::optional<std::string> type;
        std::optional<std::string> exec;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=run\n", false, "Application", "run"},
        {"[Desktop Entry]\nHidden=true\n", true, std::nullopt, std::nullopt},
        {"[Desktop Entry]\nHidden=1\r\nExec=run\r\n", true, std::nullopt, "run"},
        {"[Desktop Entry]\nHidden=false\nExec=\n", false, std::nullopt, ""},
        {"[Other]\nHidden=true\nExec=run\n", false, std::nullopt, std::nullopt},
        {"", false, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        const DesktopEntry entry = ParseDesktopEntry(c.text);
        EXPECT_EQ(c.hidden, entry.hidden) << c.text;
        EXPECT_EQ(c.type, entry.type) << c.text;
        EXPECT_EQ(c.exec, entry.exec) << c.text;
    }
}

TEST(SystemStartupCommandsTest, ServiceUnitDescriptionAndCommands) {
    const ServiceUnit unit = ParseServiceUnit(
        "; vendor file\n"
        "[Unit]\n"
        "Description = Mail fetcher \n"
        "ExecStart=/not/a/service/key\n"
        "[Service]\n"
        "ExecStart=/usr/bin/old\n"
        "ExecStart=\n"  // clears what came before
        "ExecStart=/usr/bin/fetch \\\n"
        "# a comment inside the continued line\n"
        "    --all \\\n"
        "    --quiet\n"
        "ExecStart=-/usr/bin/notify %i\n"
        "[Install]\n"
        "WantedBy=default.target\n");
    EXPECT_EQ("Mail fetcher", unit.description);
    EXPECT_EQ((std::vector<std::string>{"/usr/bin/fetch --all --quiet", "-/usr/bin/notify %i"}),
              unit.execStart);

    const ServiceUnit empty = ParseServiceUnit("[Unit]\nDescription=\n[Service]\nType=oneshot");
    EXPECT_EQ(std::nullopt, empty.description);
    EXPECT_TRUE(empty.execStart.empty());
}

TEST(SystemStartupCommandsTest, CrontabRebootJobs) {
    const char* userCrontab =
        "# m h dom mon dow command\n"
        "MAILTO=someone@example.org\n"
        "SHELL = /bin/bash\n"
        "@reboot /usr/bin/start-it --now\n"
        "\t @reboot\tsleep 5 && run   \r\n"
        "@reboot\n"
        "@rebooted /not/this\n"
        "@daily /not/this/either\n"
        "*/5 * * * * /nor/this\n"
        "#@reboot /commented/out\n";
    const auto jobs = ParseRebootJobs(userCrontab, false);
    ASSERT_EQ(2u, jobs.size());
    EXPECT_EQ("/usr/bin/start-it --now", jobs[0].command);
    EXPECT_EQ(std::nullopt, jobs[0].user);
    EXPECT_EQ("sleep 5 && run", jobs[1].command);

    const auto system = ParseRebootJobs(
        "@reboot root /usr/sbin/warm --all\n@reboot nobody\n@reboot\n17 * * * * root x\n", true);
    ASSERT_EQ(1u, system.size());
    EXPECT_EQ("root", system[0].user);
    EXPECT_EQ("/usr/sbin/warm --all", system[0].command);
}

TEST(SystemStartupCommandsTest, UserEntriesOverrideTheSystemsOnes) {
    const SystemRoot root = TreeRoot(FENNOCK_TREES_DIR "/system-startup");
    const std::vector<Row> expected = {
        // ~/.config/autostart: hidden.desktop hides the system's entry of that name.
        {L"Clipboard Keeper", L"/usr/bin/clipkeep --quiet",
         L"/home/alice/.config/autostart/override.desktop", L"alice"},
        // /etc/xdg/autostart: a link entry and one without Exec start nothing.
        {L"Sync Agent", L"/usr/libexec/sync-agent --tray \"%U\"",
         L"/etc/xdg/autostart/agent.desktop", L"(null)"},
        {L"unnamed", L"/opt/tools/unnamed", L"/etc/xdg/autostart/unnamed.desktop", L"(null)"},
        {L"Notes synchronisation", L"/usr/bin/notes-sync --daemon",
         L"/home/alice/.config/systemd/user/notes-sync.service", L"alice"},
        // The printer applet is masked by the user; the socket unit runs no command.
        {L"Key agent", L"/usr/bin/key-agent --supervised",
         L"/usr/lib/systemd/user/key-agent.service", L"(null)"},
        {L"worker@mail.service", L"/usr/bin/worker --queue %i; /usr/bin/worker --report %i",
         L"/usr/lib/systemd/user/worker@.service", L"(null)"},
        {L"alice", L"sleep 30 && /home/alice/bin/mount-shares", L"/var/spool/cron/crontabs/alice",
         L"alice"},
        {L"alice", L"/home/alice/bin/tunnel --port 2222", L"/var/spool/cron/crontabs/alice",
         L"alice"},
        {L"crontab", L"/usr/local/sbin/clear-scratch", L"/etc/crontab", L"root"},
        // Package leftovers and hidden files in cron.d are not read.
        {L"warm-cache", L"/usr/sbin/warm-cache", L"/etc/cron.d/warm-cache", L"root"},
    };
    EXPECT_EQ(expected, Rows(StartupCommands(root, {"alice", "/home/alice", {}, {}})));

    // The same with the variables spelled out, a relative folder among them ignored.
    EXPECT_EQ(expected, Rows(StartupCommands(root, {"alice", "/home/alice", "/home/alice/.config",
                                                    "relative/xdg:/etc/xdg/"})));
}

TEST(SystemStartupCommandsTest, WithoutAUserOnlySharedSourcesCount) {
    const SystemRoot root = TreeRoot(FENNOCK_TREES_DIR "/system-startup");
    std::vector<std::wstring> names;
    for (const Row& row : Rows(StartupCommands(root)))
        names.push_back(std::get<0>(row) + L"|" + std::get<3>(row));
    const std::vector<std::wstring> expected = {
        L"Sync Agent|(null)",
        L"Update Notifier|(null)",
        L"Clipboard Keeper|(null)",
        L"unnamed|(null)",
        L"Key agent|(null)",
        L"Printer applet|(null)",
        L"worker@mail.service|(null)",
        L"crontab|root",
        L"warm-cache|root",
    };
    EXPECT_EQ(expected, names);
    EXPECT_TRUE(StartupCommands(TreeRoot(FENNOCK_TREES_DIR "/no-such-tree")).empty());
}

TEST(SystemStartupCommandsTest, LiveListHasNamesAndLocations) {
    for (const WmiObject& startup : StartupCommands(SystemRoot())) {
        EXPECT_FALSE(Shown(startup, L"Name").empty());
        EXPECT_EQ(L'/', Shown(startup, L"Location").front());
        EXPECT_NE(L"(absent)", Shown(startup, L"Command"));
        EXPECT_NE(L"(absent)", Shown(startup, L"User"));
    }
}

}  // namespace
