#include <gtest/gtest.h>

#include "app/command_line.h"
#include "platform/environment.h"

namespace {

struct ParseCase {
    const wchar_t* line;
    bool silent, portable, yaml, diff, help;
    const wchar_t* path;
};

void ExpectParsed(const ParseCase& c, const CommandLine& parsed) {
    EXPECT_EQ(c.silent, parsed.flags.silent);
    EXPECT_EQ(c.portable, parsed.flags.portable);
    EXPECT_EQ(c.yaml, parsed.flags.yaml);
    EXPECT_EQ(c.diff, parsed.flags.diff);
    EXPECT_EQ(c.help, parsed.help);
    EXPECT_EQ(std::wstring(c.path), parsed.pathText);
}

class WindowsCommandLine : public ::testing::TestWithParam<ParseCase> {};

TEST_P(WindowsCommandLine, Parses) {
    const ParseCase& c = GetParam();
    ExpectParsed(c, ParseCommandLine(SplitCommandLine(c.line), CommandDialect::Windows));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowsCommandLine,
    ::testing::Values(ParseCase{L"", false, false, false, false, false, L""},
                      ParseCase{L"/silent", true, false, false, false, false, L""},
                      ParseCase{L"-silent", true, false, false, false, false, L""},
                      ParseCase{L"/SILENT", false, false, false, false, false, L""},
                      ParseCase{L"/silent /yaml /diff", true, false, true, true, false, L""},
                      ParseCase{L"/portable", false, true, false, false, false, L""},
                      ParseCase{L"/?", false, false, false, false, true, L""},
                      ParseCase{L"-?", false, false, false, false, true, L""},
                      ParseCase{L"--help", false, false, false, false, true, L""},
                      ParseCase{L"/--help", false, false, false, false, false, L""},
                      ParseCase{L"--silent", false, false, false, false, false, L""},
                      ParseCase{L"/path C:\\My Folder /silent", true, false, false, false, false,
                                L"C:\\My Folder"},
                      ParseCase{L"/path \"C:\\My Folder\" /silent", true, false, false, false,
                                false, L"\"C:\\My Folder\""},
                      ParseCase{L"/path a /path b", false, false, false, false, false, L"a b"},
                      ParseCase{L"/path a  b", false, false, false, false, false, L"a  b"},
                      ParseCase{L"/path", false, false, false, false, false, L""},
                      ParseCase{L"/path /silent", true, false, false, false, false, L""},
                      ParseCase{L"stray /path x /unknown y", false, false, false, false, false,
                                L"x"}));

class PosixCommandLine : public ::testing::TestWithParam<ParseCase> {};

std::vector<std::wstring> Words(const wchar_t* line) {
    std::vector<std::wstring> words;
    for (auto& w : SplitCommandLine(line))
        if (!w.empty())
            words.push_back(w);
    return words;
}

TEST_P(PosixCommandLine, Parses) {
    const ParseCase& c = GetParam();
    ExpectParsed(c, ParseCommandLine(Words(c.line), CommandDialect::Posix));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PosixCommandLine,
    ::testing::Values(ParseCase{L"--silent --yaml --diff", true, false, true, true, false, L""},
                      ParseCase{L"/silent -portable", true, true, false, false, false, L""},
                      ParseCase{L"--path /home/me/reports --silent", true, false, false, false,
                                false, L"/home/me/reports"},
                      ParseCase{L"--path=/srv/out", false, false, false, false, false, L"/srv/out"},
                      ParseCase{L"--path /silent", true, false, false, false, false, L""},
                      ParseCase{L"--help", false, false, false, false, true, L""},
                      ParseCase{L"-?", false, false, false, false, true, L""},
                      ParseCase{L"/?", false, false, false, false, true, L""},
                      ParseCase{L"--path /tmp --bogus /usr", false, false, false, false, false,
                                L"/tmp"}));

TEST(PosixCommandLine, VersionAndMachine) {
    EXPECT_TRUE(ParseCommandLine({L"--version"}, CommandDialect::Posix).version);
    EXPECT_FALSE(ParseCommandLine({L"/version"}, CommandDialect::Windows).version);
    EXPECT_EQ(L"/srv/m.json",
              ParseCommandLine({L"--machine", L"/srv/m.json", L"--silent"}, CommandDialect::Posix)
                  .machineFile);
    EXPECT_EQ(L"m.json",
              ParseCommandLine({L"--machine=m.json"}, CommandDialect::Posix).machineFile);
    EXPECT_EQ(L"",
              ParseCommandLine({L"--machine", L"--silent"}, CommandDialect::Posix).machineFile);
    EXPECT_EQ(L"C:\\m.json",
              ParseCommandLine({L"/machine", L"C:\\m.json", L"/silent"}, CommandDialect::Windows)
                  .machineFile);
}

class ExpandPath : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetEnvironmentValue(L"FENNOCK_OUT", std::wstring(L"C:\\Temp"));
        platform::SetEnvironmentValue(L"FENNOCK_UNSET", std::nullopt);
    }
    void TearDown() override { platform::SetEnvironmentValue(L"FENNOCK_OUT", std::nullopt); }
};

TEST_F(ExpandPath, Variables) {
    EXPECT_EQ(L"C:\\Temp\\reports\\", ExpandPathArgument(L"%FENNOCK_OUT%\\reports"));
    EXPECT_EQ(L"%FENNOCK_UNSET%\\x\\", ExpandPathArgument(L"%FENNOCK_UNSET%\\x"));
    EXPECT_EQ(L"aC:\\Tempb\\", ExpandPathArgument(L"a%FENNOCK_OUT%b"));
    EXPECT_EQ(L"%%\\", ExpandPathArgument(L"%%"));
    // An odd "%" at the end leaves the last name as a reference that is not defined.
    EXPECT_EQ(L"50%done%\\", ExpandPathArgument(L"50%done"));
}

TEST_F(ExpandPath, QuotesAndSeparators) {
    EXPECT_EQ(L"C:\\out/", ExpandPathArgument(L"C:\\out/"));
    EXPECT_EQ(L"C:\\My Folder\\", ExpandPathArgument(L"\"C:\\My Folder\""));
    EXPECT_EQ(L"/srv/out/", ExpandPathArgument(L"/srv/out", L'/'));
    EXPECT_EQ(L"\"\\", ExpandPathArgument(L"\""));
    EXPECT_EQ(L"C:\\out\\", ExpandPathArgument(L"C:\\out\\"));
    // A Linux file name may end with a backslash: only "/" ends a folder there.
    EXPECT_EQ(L"back\\/", ExpandPathArgument(L"back\\", L'/'));
    EXPECT_EQ(L"/srv/out/", ExpandPathArgument(L"/srv/out/", L'/'));
}

TEST_F(ExpandPath, NothingLeftMeansNoFolder) {
    EXPECT_EQ(L"", ExpandPathArgument(L"\"\""));
    EXPECT_EQ(L"", ExpandPathArgument(L""));
}

}  // namespace
