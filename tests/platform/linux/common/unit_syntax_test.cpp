// Unit-file syntax: what both the services and the startup readers rely on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/linux/live/common/unit_syntax.h"

using namespace platform::live;

namespace {

std::vector<std::string> Described(const std::vector<UnitSetting>& settings) {
    std::vector<std::string> out;
    for (const UnitSetting& s : settings)
        out.push_back(s.section + "|" + s.key + "|" + s.value + "|" + JoinedTightly(s));
    return out;
}

TEST(CommonUnitSyntaxTest, SettingsInOrder) {
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"sections, comments, blanks",
         "; top\n[Unit]\n  Description = A b \n# x=y\nNoEquals\n",
         {"Unit|Description|A b|A b"}},
        {"crlf", "[Service]\r\nExecStart=/bin/a\r\n", {"Service|ExecStart|/bin/a|/bin/a"}},
        {"continuation: the manager's join and the tight one",
         "[S]\nK=a \\\n  b\\\n\tc\n",
         {"S|K|a  b c|a b c"}},
        {"comment inside a continuation is skipped", "[S]\nK=a \\\n# note\nb\n", {"S|K|a  b|a b"}},
        {"backslash on the last line", "[S]\nK=a \\", {"S|K|a|a"}},
        {"empty value clears", "[S]\nK=\n", {"S|K||"}},
        {"blank-only continuation", "[S]\nK=a \\\n \\\n b\n", {"S|K|a   b|a b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Described(ParseUnitSettings(c.text)), c.expected) << c.name;
}

}  // namespace
