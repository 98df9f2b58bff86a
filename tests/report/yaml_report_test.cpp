#include <gtest/gtest.h>

#include "platform/files.h"
#include "report/yaml_report.h"
#include "temp_folder.h"

namespace {

class YamlReportTest : public ::testing::Test {
  protected:
    std::string Written() {
        report_.Close();
        std::string text;
        EXPECT_TRUE(platform::ReadWholeFile(path_, text));
        return text;
    }
    void Open() { report_.Open(folder_.Slashed() + L"inventory.yaml.tpl", path_, false); }

    TempFolder folder_;
    std::wstring path_ = folder_.Slashed() + L"inventory.yaml";
    CYamlReport report_;
};

TEST_F(YamlReportTest, WholeSessionInKeyOrder) {
    Open();
    SessionData session;
    session[L"BIOS"] = {{{L"Name", L"Phoenix"}, {L"Manufacturer", L"Dell Inc."}}};
    session[L"Empty"] = {};
    session[L"Process"] = {{{L"Name", L"a.exe"}}, {{L"Name", L"b.exe"}}};
    report_.RenderFull(session);
    EXPECT_EQ(
        "---\r\n# Fennock\r\n"
        "BIOS:\r\n  -\r\n    Manufacturer: \"Dell Inc.\"\r\n    Name: \"Phoenix\"\r\n"
        "Empty:\r\n"
        "Process:\r\n  -\r\n    Name: \"a.exe\"\r\n  -\r\n    Name: \"b.exe\"\r\n",
        Written());
}

TEST_F(YamlReportTest, ChangesWithTheirKindTags) {
    Open();
    ChangeData changes;
    changes[L"Services"] = {{kChangeNewItem, 1, L"Svc", L"", L"", L""},
                            {kChangeRemovedItem, 2, L"Old", L"", L"", L""},
                            {kChangeValue, 3, L"C:", L"FreeSpace", L"10", L"7"},
                            {7, 4, L"?", L"X", L"", L"y"}};
    report_.RenderChanges(changes);
    EXPECT_EQ(
        "---\r\n# Fennock\r\nServices:\r\n"
        "  -\r\n    : !add \"\"\r\n"
        "  -\r\n    : !del \"\"\r\n"
        "  -\r\n    FreeSpace: !mod \"7\"\r\n"
        "  -\r\n    X: !unk \"y\"\r\n",
        Written());
}

TEST_F(YamlReportTest, NoPreviousSessionGivesTheHeaderOnly) {
    Open();
    report_.RenderChanges({});
    EXPECT_EQ("---\r\n# Fennock\r\n", Written());
}

TEST_F(YamlReportTest, CancelledRunLeavesTheFileEmpty) {
    ASSERT_TRUE(platform::WriteWholeFile(path_, "old report"));
    Open();
    EXPECT_EQ("", Written());
}

// Inventory texts hold quotes, backslashes and line breaks; each must read back as itself,
// so they are escaped the way double-quoted YAML scalars require.
TEST(YamlQuoted, EscapesWhatWouldEndOrBreakTheScalar) {
    EXPECT_EQ(L"\"plain text\"", YamlQuoted(L"plain text"));
    EXPECT_EQ(L"\"say \\\"hi\\\"\"", YamlQuoted(L"say \"hi\""));
    EXPECT_EQ(L"\"C:\\\\Windows\\\\\"", YamlQuoted(L"C:\\Windows\\"));
    EXPECT_EQ(L"\"a\\nb\\r\\tc\"", YamlQuoted(L"a\nb\r\tc"));
    EXPECT_EQ(L"\"\\x01\\x7F\"", YamlQuoted(L"\x01\x7f"));
    EXPECT_EQ(L"\"<script> & 'é'\"", YamlQuoted(L"<script> & 'é'"));
}

}  // namespace
