#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "report/yaml_report.h"
#include "temp_folder.h"

namespace {

class YamlReportTest : public ::testing::Test {
  protected:
    std::string Written() {
        EXPECT_TRUE(report_.Close());
        return Contents();
    }
    std::string Contents() {
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

// A record names the field with the kind as its value's tag (the empty name, quoted, for a
// new or removed item), then the item's key, then a changed value's previous value.
TEST_F(YamlReportTest, ChangesSayWhatChangedInWhichItem) {
    Open();
    ChangeData changes;
    changes[L"Services"] = {{kChangeNewItem, 1, L"Svc", L"", L"", L""},
                            {kChangeRemovedItem, 2, L"Old \"one\"", L"", L"", L""},
                            {kChangeValue, 3, L"C:", L"FreeSpace", L"10", L"7"},
                            {7, 4, L"?", L"X", L"", L"y"}};
    report_.RenderChanges(changes);
    EXPECT_EQ(
        "---\r\n# Fennock\r\nServices:\r\n"
        "  -\r\n    \"\": !add \"\"\r\n    key: \"Svc\"\r\n"
        "  -\r\n    \"\": !del \"\"\r\n    key: \"Old \\\"one\\\"\"\r\n"
        "  -\r\n    FreeSpace: !mod \"7\"\r\n    key: \"C:\"\r\n    old: \"10\"\r\n"
        "  -\r\n    X: !unk \"y\"\r\n    key: \"?\"\r\n",
        Written());
}

// Names come from the catalogue; whatever it holds must read back as the same text key.
// YAML 1.1 readers refuse an implicit key beyond 1024 characters: a longer one is explicit.
TEST_F(YamlReportTest, NamesThatAreNoPlainWordAreQuoted) {
    Open();
    SessionData session;
    session[L"my query: x"] = {{{L"yes", L"1"}, {L"# note", L"2"}}};
    session[std::wstring(1200, L'q')] = {{{std::wstring(999, L' '), L"3"}}};
    report_.RenderFull(session);
    const std::string longQuery(1200, 'q');
    const std::string longField(999, ' ');
    EXPECT_EQ(
        "---\r\n# Fennock\r\n"
        "\"my query: x\":\r\n  -\r\n    \"# note\": \"2\"\r\n    \"yes\": \"1\"\r\n"
        "? " +
            longQuery +
            "\r\n:\r\n  -\r\n"
            "    ? \"" +
            longField + "\"\r\n    : \"3\"\r\n",
        Written());
}

TEST_F(YamlReportTest, NoPreviousSessionGivesTheHeaderOnly) {
    Open();
    report_.RenderChanges({});
    EXPECT_EQ("---\r\n# Fennock\r\n", Written());
}

TEST_F(YamlReportTest, PreviousReportStaysUntilClose) {
    ASSERT_TRUE(platform::WriteWholeFile(path_, "old report"));
    Open();
    report_.RenderFull({{L"BIOS", {{{L"Name", L"x"}}}}});
    EXPECT_EQ("old report", Contents()) << "a run killed before Close keeps the old report";
    EXPECT_EQ("---\r\n# Fennock\r\nBIOS:\r\n  -\r\n    Name: \"x\"\r\n", Written());
    EXPECT_FALSE(platform::FileExists(path_ + L".tmp"));
}

TEST_F(YamlReportTest, CancelledRunLeavesTheFileEmpty) {
    ASSERT_TRUE(platform::WriteWholeFile(path_, "old report"));
    Open();
    EXPECT_EQ("", Written());
}

// What holds the report's name is left as it was (here a folder), and the close says so.
TEST_F(YamlReportTest, ReportThatCannotBeWrittenLeavesWhatWasThere) {
    ASSERT_TRUE(platform::CreateFolders(path_));
    ASSERT_TRUE(platform::WriteWholeFile(path_ + L"/x", "x"));
    Open();
    report_.RenderFull({{L"BIOS", {}}});
    EXPECT_FALSE(report_.Close());
    EXPECT_TRUE(platform::FileExists(path_ + L"/x"));

    CYamlReport other;
    other.Open(L"", folder_.Slashed() + L"no/such/folder/inventory.yaml", false);
    EXPECT_FALSE(other.Close());
}

TEST_F(YamlReportTest, EachOpenAllowsOneClose) {
    EXPECT_FALSE(report_.Close()) << "nothing to write before Open";
    EXPECT_FALSE(platform::FileExists(path_));
    Open();
    report_.RenderChanges({});
    EXPECT_TRUE(report_.Close());
    EXPECT_FALSE(report_.Close());
    Open();
    EXPECT_EQ("", Written()) << "Open forgets what was rendered before";
}

// Inventory texts hold quotes, backslashes, line breaks and controls; each must read back as
// itself, so everything outside YAML's printable set is escaped.
TEST(YamlQuoted, EscapesWhatWouldEndOrBreakTheScalar) {
    struct Case {
        std::wstring text;
        std::wstring quoted;
    };
    const Case cases[] = {
        {L"plain text", L"\"plain text\""},
        {L"", L"\"\""},
        {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
        {L"C:\\Windows\\", L"\"C:\\\\Windows\\\\\""},
        {L"a\nb\r\tc", L"\"a\\nb\\r\\tc\""},
        {std::wstring(L"\0\x01\x1f\x7f", 4), L"\"\\x00\\x01\\x1F\\x7F\""},
        {L"\x80\x84\x86\x9f", L"\"\\x80\\x84\\x86\\x9F\""},
        {L"a\x85z\x2028z\x2029", L"\"a\\Nz\\Lz\\P\""},
        {L"\xfeff"
         L"BOM\xfffe\xffff",
         L"\"\\uFEFFBOM\\uFFFE\\uFFFF\""},
        {L" - : # 'x' ", L"\" - : # 'x' \""},
        {L"\xa0\xe9\x4e2d\xd7ff\xe000\xfffd", L"\"\xa0\xe9\x4e2d\xd7ff\xe000\xfffd\""},
        {L"<script> & '\x00e9'", L"\"<script> & '\x00e9'\""},
        {L"\U0001F600\U0010FFFF", L"\"\U0001F600\U0010FFFF\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(YamlQuoted(c.text), c.quoted);
    }
}

// No UTF-8 text can hold a lone surrogate, and \uD800 is no character to YAML either.
TEST(YamlQuoted, LoneSurrogatesBecomeTheReplacementCharacter) {
    const std::wstring high(1, static_cast<wchar_t>(0xD800));
    const std::wstring low(1, static_cast<wchar_t>(0xDFFF));
    EXPECT_EQ(YamlQuoted(high), L"\"\xfffd\"");
    EXPECT_EQ(YamlQuoted(L"a" + low + L"b"),
              L"\"a\xfffd"
              L"b\"");
    EXPECT_EQ(YamlQuoted(low + high), L"\"\xfffd\xfffd\"");
    EXPECT_EQ(YamlQuoted(high + L"\U0001F600"), L"\"\xfffd\U0001F600\"");
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(YamlQuoted(std::wstring(1, static_cast<wchar_t>(0x110000))), L"\"\xfffd\"");
    }
}

TEST(YamlKey, PlainOnlyForWordsNoReaderTakesForAnythingElse) {
    struct Case {
        std::wstring name;
        std::wstring key;
    };
    const Case cases[] = {
        {L"Name", L"Name"},
        {L"Win32_Process2", L"Win32_Process2"},
        {L"", L"\"\""},
        {L"key", L"key"},
        {L"2Name", L"\"2Name\""},
        {L"_x", L"\"_x\""},
        {L"Yes", L"\"Yes\""},
        {L"OFF", L"\"OFF\""},
        {L"n", L"\"n\""},
        {L"Null", L"\"Null\""},
        {L"Nullable", L"Nullable"},
        {L"a b", L"\"a b\""},
        {L"a:b", L"\"a:b\""},
        {L"-x", L"\"-x\""},
        {L"<<", L"\"<<\""},
        {L"caf\xe9", L"\"caf\xe9\""},
        {L"a\nb", L"\"a\\nb\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(YamlKey(c.name), c.key) << c.name;
    }
}

}  // namespace
