// User accounts: passwd and shadow lines, the accounts of a fake /etc, and the running user
// found the way the catalogue asks for it.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/live_wmi.h"
#include "platform/linux/live/system/user_accounts.h"
#include "tree_root.h"
#include "util/utf.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;

namespace {

TEST(SystemUserAccountsTest, PasswdLinesWithMissingOrOddFields) {
    const auto entries = ParsePasswd(
        "root:x:0:0:root:/root:/bin/bash\n"
        "short:x:7\n"  // no gid
        "nogecos:x:8:8\n"
        ":x:9:9::/:/bin/sh\n"  // no name
        "+@netgroup::::::\n"   // the compat service's lines
        "-mallory\n"
        "badid:x:-1:0:Bad:/:/bin/sh\n"  // no numeric uid
        "huge:x:4294967296:0::/:\n"
        "colons:x:10:10:Full: Name:/home:/bin/sh\n"
        "no line at all");
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ("root", entries[0].name);
    EXPECT_EQ(0u, entries[0].uid);
    EXPECT_EQ("root", entries[0].gecos);
    EXPECT_EQ("nogecos", entries[1].name);
    EXPECT_EQ(8u, entries[1].uid);
    EXPECT_EQ("", entries[1].gecos);
    EXPECT_EQ("colons", entries[2].name);
    EXPECT_EQ("Full", entries[2].gecos);  // a colon ends the field, whatever was meant
}

TEST(SystemUserAccountsTest, FullNameIsTheFirstCommentField) {
    const struct {
        const char* gecos;
        std::optional<std::string> fullName;
    } cases[] = {
        {"Alice O'Hara,Room 1,555-1234,,", "Alice O'Hara"},
        {"Bob", "Bob"},
        {" Padded ,x", "Padded"},
        {",Room 2", std::nullopt},
        {"", std::nullopt},
        {"<script>\"x\"\\", "<script>\"x\"\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.fullName, FullName(c.gecos)) << c.gecos;
}

TEST(SystemUserAccountsTest, ShadowExpiryDisablesFromItsDayOn) {
    const auto expiry = ParseShadowExpiry(
        "root:*:19000:0:99999:7:::\n"
        "locked:!:19000:0:99999:7::1:\n"
        "later:$6$x:19000:0:99999:7::30000:\n"
        "+:\n"
        "short:x\n"  // not a shadow line, as for the name service
        "garbled:x:1:2:3:4:5:soon:\n");
    ASSERT_EQ(3u, expiry.size());
    EXPECT_EQ(std::nullopt, expiry.at("root"));
    EXPECT_EQ(1, expiry.at("locked"));
    EXPECT_EQ(30000, expiry.at("later"));

    EXPECT_FALSE(AccountExpired(std::nullopt, 20000));
    EXPECT_FALSE(AccountExpired(0, 20000));  // 0 is read as no expiry
    EXPECT_TRUE(AccountExpired(1, 20000));
    EXPECT_TRUE(AccountExpired(20000, 20000));
    EXPECT_FALSE(AccountExpired(20001, 20000));
}

TEST(SystemUserAccountsTest, AccountsOfAFakeSystem) {
    const SystemRoot root = TreeRoot(FENNOCK_TREES_DIR "/system-users");
    const WmiObjectList accounts = UserAccounts(root);
    // The second "alice" is hidden by the first; +/- lines, a line without fields and one
    // with a non-numeric uid are no accounts.
    ASSERT_EQ(5u, accounts.size());
    const struct {
        const wchar_t* name;
        const wchar_t* fullName;
        const wchar_t* disabled;
    } expected[] = {
        {L"root", L"root", L"0"},
        {L"daemon", L"daemon", L"(null)"},  // not in shadow
        {L"alice", L"Alice O'Hara <b>", L"0"},
        {L"bob", L"(null)", L"-1"},
        {L"carol", L"(null)", L"(null)"},
    };
    for (std::size_t i = 0; i < accounts.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(expected[i].name, Shown(accounts[i], L"Name"));
        EXPECT_EQ(expected[i].fullName, Shown(accounts[i], L"FullName"));
        EXPECT_EQ(expected[i].disabled, Shown(accounts[i], L"Disabled"));
        // The kernel has no host name yet: /etc/hostname names the computer.
        EXPECT_EQ(L"workstation-7", Shown(accounts[i], L"Domain"));
        EXPECT_EQ(L"-1", Shown(accounts[i], L"LocalAccount"));
        EXPECT_EQ(L"(null)", Shown(accounts[i], L"SID"));
    }

    LiveWmi wmi(root);
    ASSERT_EQ(0, wmi.Connect());
    auto found = wmi.ExecQuery(L"Select * from Win32_UserAccount where Name = 'ALICE'");
    ASSERT_NE(nullptr, found);
    ASSERT_TRUE(found->Next());
    WmiValue value;
    ASSERT_TRUE(found->Get(L"FullName", value));
    EXPECT_EQ(L"Alice O'Hara <b>", value.text);
    EXPECT_FALSE(found->Next());

    EXPECT_TRUE(UserAccounts(TreeRoot(FENNOCK_TREES_DIR "/no-such-tree")).empty());
}

TEST(SystemUserAccountsTest, LiveRunningUserIsFound) {
    const passwd* self = ::getpwuid(::geteuid());
    ASSERT_NE(nullptr, self);
    const std::wstring name = Utf8ToWide(self->pw_name);
    LiveWmi wmi;
    ASSERT_EQ(0, wmi.Connect());
    auto found = wmi.ExecQuery(L"Select * from Win32_UserAccount where Name = '" + name + L"'");
    ASSERT_NE(nullptr, found);
    ASSERT_TRUE(found->Next());
    WmiValue value;
    ASSERT_TRUE(found->Get(L"Name", value));
    EXPECT_EQ(name, value.text);
    EXPECT_TRUE(found->Get(L"FullName", value));
    EXPECT_TRUE(found->Get(L"Domain", value));
    EXPECT_FALSE(found->Next());
}

}  // namespace
