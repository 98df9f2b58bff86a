// Service definitions on disk: systemd unit files and System V init scripts.
#include <gtest/gtest.h>

#include <map>

#include "platform/linux/live/packages/sysv_scripts.h"
#include "platform/linux/live/packages/unit_files.h"
#include "tree_root.h"

using namespace platform::live;

namespace {

const std::string kTree = std::string(FENNOCK_TREES_DIR) + "/packages-services";

TEST(UnitFiles, SettingsOfTheirOwnSectionLastOneWinning) {
    const UnitFileText unit = ParseUnitFile(
        "# Description=commented out\n"
        "[Install]\n"
        "Description=wrong section\n"
        "[Unit]\r\n"
        "  Description = First  \r\n"
        "Description=\n"
        "Description=Second \\\n"
        "; comment inside the continued line\n"
        "    and third\n"
        "[Service]\n"
        "PIDFile=/run/a.pid\n"
        "PIDFile=/run/b.pid\n"
        "Description=not the unit's\n"
        "garbage line without equals\n"
        "[Unit]\n"
        "Documentation=man:x(1) \\");
    EXPECT_EQ("Second  and third", unit.description);
    EXPECT_EQ("/run/b.pid", unit.pidFile);
    EXPECT_EQ("", ParseUnitFile("").description);
    EXPECT_EQ("", ParseUnitFile("[Unit]\nDescription=x\n[Unit\nPIDFile=/x\n").pidFile);
}

TEST(UnitFiles, SpecifiersTakeTheUnitsName) {
    EXPECT_EQ("Getty on tty1", ExpandSpecifiers("Getty on %I", "getty@tty1.service"));
    EXPECT_EQ("a@b\\x2dc-d.service a@b\\x2dc-d a a b\\x2dc-d b-c/d % %z 50%",
              ExpandSpecifiers("%n %N %p %P %i %I %% %z 50%", "a@b\\x2dc-d.service"));
    EXPECT_EQ("plain  plain", ExpandSpecifiers("%p %i %N", "plain.service"));
}

std::map<std::string, UnitFile> UnitsByName(const std::vector<UnitFile>& units) {
    std::map<std::string, UnitFile> byName;
    for (const auto& unit : units)
        byName[unit.name] = unit;
    return byName;
}

TEST(UnitFiles, FoldersOverrideMasksAliasesAndEnabledInstances) {
    const auto units = UnitsByName(ReadUnitFiles(platform::live::TreeRoot(kTree)));
    std::vector<std::string> names;
    for (const auto& [name, unit] : units)
        names.push_back(name);
    EXPECT_EQ(
        (std::vector<std::string>{"cron.service", "dup-a.service", "dup-b.service", "empty.service",
                                  "getty@tty1.service", "hidden.service", "hwclock.service",
                                  "later.service", "nodesc.service", "rsync.service",
                                  "runtime.service", "ssh.service", "sshd.service"}),
        names)
        << "no template, no socket";

    const UnitFile& cron = units.at("cron.service");
    EXPECT_EQ("Regular background program processing daemon (local)", cron.text.description);
    EXPECT_EQ("/etc/systemd/system/cron.service", cron.path);
    EXPECT_EQ("/run/crond.pid", cron.text.pidFile);
    EXPECT_TRUE(cron.enabled);
    EXPECT_FALSE(cron.masked || cron.alias);

    EXPECT_TRUE(units.at("hidden.service").masked) << "a link to /dev/null in /etc";
    EXPECT_TRUE(units.at("hwclock.service").masked);
    EXPECT_TRUE(units.at("empty.service").masked) << "an empty file";
    EXPECT_TRUE(units.at("sshd.service").alias);
    EXPECT_FALSE(units.at("sshd.service").masked);

    const UnitFile& ssh = units.at("ssh.service");
    EXPECT_TRUE(ssh.enabled);
    EXPECT_FALSE(ssh.alias);
    EXPECT_EQ("OpenBSD Secure Shell server", ssh.text.description);
    EXPECT_FALSE(units.at("later.service").enabled);
    EXPECT_EQ("From usr lib", units.at("later.service").text.description);
    EXPECT_EQ("Runtime unit", units.at("runtime.service").text.description);
    EXPECT_EQ("fast remote  file copy program daemon", units.at("rsync.service").text.description);

    const UnitFile& getty = units.at("getty@tty1.service");
    EXPECT_TRUE(getty.enabled);
    EXPECT_EQ("Getty on tty1", getty.text.description);
    EXPECT_EQ("/lib/systemd/system/getty@.service", getty.path);
}

TEST(InitScripts, LsbHeaderAndPidFile) {
    const InitScriptText text = ParseInitScript(
        "#!/bin/sh\r\n"
        "# Short-Description: outside the block\n"
        "### BEGIN INIT INFO\n"
        "# Provides:          food   foo\n"
        "# Required-Start:    $remote_fs\n"
        "# short-description: Foo daemon\n"
        "# Description:       The daemon\n"
        "#                    of foo.\n"
        "### END INIT INFO\n"
        "PIDFILE=/var/run/$NAME.pid\n"
        "PIDFILE='/run/foo.pid'\n"
        "PIDFILE=/run/later.pid\n");
    EXPECT_EQ("Foo daemon", text.shortDescription);
    EXPECT_EQ("food   foo", text.provides);
    EXPECT_EQ("/run/foo.pid", text.pidFile);

    EXPECT_EQ("/var/run/x.pid",
              ParseInitScript("PIDFILE=/run/y.pid\n# pidfile: /var/run/x.pid\n").pidFile)
        << "a chkconfig header names it best";
    const InitScriptText bare = ParseInitScript("#!/bin/sh\nPIDFILE=run/relative.pid\nexit 0");
    EXPECT_EQ("", bare.shortDescription);
    EXPECT_EQ("", bare.provides);
    EXPECT_EQ("", bare.pidFile);
}

TEST(InitScripts, ExecutableScriptsWithoutBackupsAndHelpers) {
    const auto scripts = ReadInitScripts(platform::live::TreeRoot(kTree));
    std::vector<std::string> names;
    for (const auto& script : scripts)
        names.push_back(script.name);
    EXPECT_EQ((std::vector<std::string>{"bare", "cron", "hwclock", "legacy", "provider"}), names);
    ASSERT_EQ(5u, scripts.size());
    EXPECT_EQ("/etc/init.d/hwclock.sh", scripts[2].path);
    EXPECT_EQ("Legacy daemon", scripts[3].text.shortDescription);
    EXPECT_EQ("/var/run/legacyd.pid", scripts[3].text.pidFile);
    EXPECT_EQ("prov-facility", scripts[4].text.provides);
}

}  // namespace
