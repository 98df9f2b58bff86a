// The package systems beside dpkg: Flatpak, Snap, pacman and apk, parsed from text and read
// from a tree that holds one of each.
#include <gtest/gtest.h>

#include "platform/linux/live/packages/apk_installed.h"
#include "platform/linux/live/packages/flatpak_apps.h"
#include "platform/linux/live/packages/pacman_local.h"
#include "platform/linux/live/packages/snap_meta.h"
#include "tree_root.h"

using namespace platform::live;

namespace {

const std::string kTree = std::string(FENNOCK_TREES_DIR) + "/packages-other";

// One line per program: its fields in a fixed order, so a table compares whole programs.
std::vector<std::string> Rows(const std::vector<InstalledProgram>& programs) {
    std::vector<std::string> lines;
    for (const auto& p : programs)
        lines.push_back(p.id + "|" + p.name + "|" + p.version + "|" + p.publisher + "|" +
                        p.comments + "|" + p.url + "|" + p.source + "|" +
                        (p.sizeKb ? std::to_string(*p.sizeKb) : "-") + "|" +
                        (p.installDate ? "day" : "-"));
    return lines;
}

TEST(Flatpak, ApplicationIdComesFromTheApplicationGroupOnly) {
    const struct {
        const char* metadata;
        const char* id;  // nullptr: not an application
    } cases[] = {
        {"[Application]\nname=org.example.App\nruntime=org.example.Platform/x86_64/1\n",
         "org.example.App"},
        {"[Context]\nname=wrong\n\n[Application]\r\n  name = org.example.Spaced  \r\n",
         "org.example.Spaced"},
        {"[Runtime]\nname=org.example.Platform\n", nullptr},
        {"[Application]\nruntime=x\n[Extension org.example.App.Locale]\nname=x\n", nullptr},
        {"[Application]\nname=\n", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.id ? std::optional<std::string>(c.id) : std::nullopt,
                  FlatpakApplicationId(c.metadata))
            << c.metadata;
}

TEST(Flatpak, AppStreamTakesTheUntranslatedTextsAndTheNewestRelease) {
    const auto component = ParseAppStream(
        "<component><name xml:lang='fr'>Peinture</name><name> Paint </name><name>Second</name>"
        "<summary>Draw &lt;things&gt;</summary><developer_name>Ann</developer_name>"
        "<developer><name>Not first</name></developer><url type='help'>h</url>"
        "<url type='homepage'>https://example.org</url><description><name>inner</name>"
        "</description><releases><release version='3.0'/><release version='2.0'/></releases>"
        "</component>");
    ASSERT_TRUE(component);
    EXPECT_EQ("Paint", component->name);
    EXPECT_EQ("Draw <things>", component->summary);
    EXPECT_EQ("Ann", component->developer);
    EXPECT_EQ("https://example.org", component->homepage);
    EXPECT_EQ("3.0", component->version);
    EXPECT_FALSE(ParseAppStream("<component><name>cut"));
    EXPECT_FALSE(ParseAppStream(""));
}

TEST(Flatpak, SystemAndUserApplicationsLeavingOutRuntimes) {
    EXPECT_EQ((std::vector<std::string>{
                  "org.example.Bare|org.example.Bare|||||flatpak (system)|-|-",
                  "org.example.Paint|Example Paint|2.10.36|Example Artists|Draw & paint|"
                  "https://paint.example.org/|flatpak (system)|-|-",
                  "org.example.Paint|Example Paint|2.8.0|Example Artists|||flatpak (user)|-|-",
              }),
              Rows(FlatpakPrograms(TreeRoot(kTree), "/home/ann")));
    EXPECT_EQ(2u, FlatpakPrograms(TreeRoot(kTree), "").size()) << "no home, no user's";
}

TEST(Snap, TopLevelFieldsOfSnapYaml) {
    const struct {
        const char* yaml;
        const char* parsed;  // name|version|summary|type; nullptr: no snap
    } cases[] = {
        {"name: a\nversion: '1.0'\nsummary: \"x: y\"\ntype: app\n", "a|1.0|x: y|app"},
        {"apps:\n  a:\n    name: inner\nname: b\nplugs: [x, {y: z}]\nversion: 2\n", "b|2||app"},
        {"description: |\n  name: no\nname: c\ntype: base\n", "c|||base"},
        {"&v name: d\nversion: *v\n", "d|||app"},
        {"- name: e\n", nullptr},
        {"name: [f\n", nullptr},
        {"version: 1\n", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto meta = ParseSnapYaml(c.yaml);
        EXPECT_EQ(c.parsed ? std::optional<std::string>(c.parsed) : std::nullopt,
                  meta ? std::optional(meta->name + "|" + meta->version + "|" + meta->summary +
                                       "|" + meta->type)
                       : std::nullopt)
            << c.yaml;
    }
}

TEST(Snap, ProgramsLeaveOutBasesAndSnapd) {
    EXPECT_EQ(std::vector<std::string>{"hello|hello|2.10||GNU Hello, the \"friendly\" "
                                       "greeter||snap|-|-"},
              Rows(SnapPrograms(TreeRoot(kTree))));
}

TEST(PacmanAndApk, DatabasesOfBothFromTheTree) {
    EXPECT_EQ(std::vector<std::string>{"tool|tool|1.2-3|Pat Packer|A tool|https://tool.example.org|"
                                       "pacman|3|day"},
              Rows(PacmanPrograms(TreeRoot(kTree))));
    EXPECT_EQ((std::vector<std::string>{
                  "musl|musl|1.2.4-r2|Tim Maint|the musl c library|https://musl.libc.org/|apk|"
                  "608|-",
                  "busybox|busybox|1.36.1-r5||||apk|-|-",
              }),
              Rows(ApkPrograms(TreeRoot(kTree))));
    EXPECT_FALSE(ParsePacmanDesc("%VERSION%\n1\n"));
    EXPECT_TRUE(ParseApkInstalled("V:1\n\nP\nX:y\n\n\n").empty());
}

}  // namespace
