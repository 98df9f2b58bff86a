// The dpkg status database: stanzas, continuation lines, and which packages are installed.
#include <gtest/gtest.h>

#include "platform/linux/live/packages/dpkg_status.h"

using namespace platform::live;

namespace {

std::vector<std::string> Names(const std::vector<DpkgPackage>& packages) {
    std::vector<std::string> names;
    for (const auto& package : packages)
        names.push_back(package.name);
    return names;
}

TEST(DpkgStatus, StanzasJoinContinuationLinesAndEmptyDescriptionLines) {
    const auto stanzas = ParseControlStanzas(
        "Package: tool\n"
        "Description: A tool\n"
        " It does things.\n"
        " .\n"
        "  Indented line.\n"
        "Conffiles:\n"
        " /etc/tool.conf 0123\n"
        "\n"
        "\n"
        "package: other\n");
    ASSERT_EQ(2u, stanzas.size());
    EXPECT_EQ("A tool\nIt does things.\n\n Indented line.",
              FieldValue(stanzas[0], "Description").value_or("<none>"));
    EXPECT_EQ("\n/etc/tool.conf 0123", FieldValue(stanzas[0], "Conffiles").value_or("<none>"));
    EXPECT_EQ("other", FieldValue(stanzas[1], "PACKAGE").value_or("<none>")) << "names fold case";
    EXPECT_FALSE(FieldValue(stanzas[1], "Version"));
}

TEST(DpkgStatus, CrlfBlankSeparatorsAndMissingLastLineEnd) {
    const auto stanzas = ParseControlStanzas(
        " stray continuation\r\n"
        "Package: a\r\n"
        "Status: install ok installed\r\n"
        "no colon here\r\n"
        " \t\r\n"
        "Package: b\r\n"
        "Version: 2");
    ASSERT_EQ(2u, stanzas.size());
    EXPECT_EQ("install ok installed", FieldValue(stanzas[0], "Status").value_or("<none>"));
    EXPECT_EQ(2u, stanzas[0].size());
    EXPECT_EQ("2", FieldValue(stanzas[1], "Version").value_or("<none>"));
    EXPECT_TRUE(ParseControlStanzas("").empty());
    EXPECT_TRUE(ParseControlStanzas("\n\n\r\n").empty());
}

TEST(DpkgStatus, OnlyPackagesWhoseFilesAreThereCount) {
    const auto packages = InstalledPackages(
        "Package: plain\nStatus: install ok installed\n\n"
        "Package: held\nStatus: hold ok installed\n\n"
        "Package: leaving\nStatus: deinstall ok installed\n\n"
        "Package: gone\nStatus: deinstall ok config-files\n\n"
        "Package: purged\nStatus: purge ok not-installed\n\n"
        "Package: broken\nStatus: install reinstreq half-installed\n\n"
        "Package: unpacked\nStatus: install ok unpacked\n\n"
        "Package: halfway\nStatus: install ok half-configured\n\n"
        "Package: waiting\nStatus: install ok triggers-pending\n\n"
        "Package: nostatus\nVersion: 1\n\n"
        "Package: garbled\nStatus: installed\n\n"
        "Status: install ok installed\nVersion: 1\n\n");
    EXPECT_EQ((std::vector<std::string>{"plain", "held", "leaving"}), Names(packages));
}

TEST(DpkgStatus, PackageFields) {
    const auto packages = InstalledPackages(
        "Package: libfoo1\n"
        "Status: install ok installed\n"
        "Priority: optional\n"
        "Installed-Size: 1234\n"
        "Maintainer: Jane Doe <jane@example.org>\n"
        "Architecture: amd64\n"
        "Multi-Arch: same\n"
        "Version: 1:2.3-4+b1\n"
        "Description: library for foo\n"
        " Long text.\n"
        "Homepage: https://foo.example.org/\n");
    ASSERT_EQ(1u, packages.size());
    const DpkgPackage& p = packages[0];
    EXPECT_EQ("libfoo1", p.name);
    EXPECT_EQ("1:2.3-4+b1", p.version);
    EXPECT_EQ("amd64", p.architecture);
    EXPECT_EQ("Jane Doe", p.maintainer);
    EXPECT_EQ("library for foo", p.synopsis);
    EXPECT_EQ("https://foo.example.org/", p.homepage);
    EXPECT_EQ(1234u, p.installedSizeKb.value_or(0));
}

TEST(DpkgStatus, SizesThatAreNotNumbersOrDoNotFitAreUnknown) {
    const auto packages = InstalledPackages(
        "Package: a\nStatus: install ok installed\nInstalled-Size: 18446744073709551615\n\n"
        "Package: b\nStatus: install ok installed\nInstalled-Size: 18446744073709551616\n\n"
        "Package: c\nStatus: install ok installed\nInstalled-Size: 12 KB\n\n"
        "Package: d\nStatus: install ok installed\nInstalled-Size: -5\n\n"
        "Package: e\nStatus: install ok installed\n");
    ASSERT_EQ(5u, packages.size());
    EXPECT_EQ(18446744073709551615u, packages[0].installedSizeKb.value_or(0));
    for (std::size_t i = 1; i < packages.size(); ++i)
        EXPECT_FALSE(packages[i].installedSizeKb) << packages[i].name;
}

TEST(DpkgStatus, MaintainerWithoutItsAddress) {
    const struct {
        const char* field;
        const char* name;
    } cases[] = {
        {"Jane Doe <jane@example.org>", "Jane Doe"},
        {"  Debian Foo Team <team@lists.example.org>  ", "Debian Foo Team"},
        {"Jane Doe", "Jane Doe"},
        {"<jane@example.org>", "jane@example.org"},
        {"A <b> Team <team@example.org>", "A <b> Team"},
        {"Broken <unclosed@example.org", "Broken <unclosed@example.org"},
        {"\"O'Brien, \\\"Pat\\\"\" <pat@example.org>", "\"O'Brien, \\\"Pat\\\"\""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.name, MaintainerName(c.field)) << c.field;
}

}  // namespace
