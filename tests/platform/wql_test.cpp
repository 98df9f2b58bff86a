// The WQL subset that answers the catalogue's statements without WMI.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/wql.h"
#include "util/utf.h"

using namespace platform;

namespace {

using Kind = WqlLiteral::Kind;

struct ExpectedCondition {
    std::wstring property;
    bool equal;
    Kind kind;
    std::wstring text;
    std::int64_t number;
    bool boolean;
};

ExpectedCondition Text(std::wstring property, bool equal, std::wstring text) {
    return {std::move(property), equal, Kind::String, std::move(text), 0, false};
}
ExpectedCondition Number(std::wstring property, bool equal, std::int64_t number) {
    return {std::move(property), equal, Kind::Integer, L"", number, false};
}
ExpectedCondition Flag(std::wstring property, bool equal, bool boolean) {
    return {std::move(property), equal, Kind::Boolean, L"", 0, boolean};
}

struct ParseCase {
    std::wstring statement;
    std::wstring className;
    std::vector<ExpectedCondition> conditions;
};

TEST(WqlParse, AcceptsTheCatalogueSubset) {
    const std::vector<ParseCase> cases = {
        {L"Select * from Win32_Process", L"Win32_Process", {}},
        {L"SELECT * FROM Win32_BIOS", L"Win32_BIOS", {}},
        {L"sElEcT*FrOm win32_bios", L"win32_bios", {}},
        {L" \t\r\nSelect  *\n from\tWin32_Registry \r\n", L"Win32_Registry", {}},
        {L"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=TRUE",
         L"Win32_NetworkAdapterConfiguration",
         {Flag(L"IPEnabled", true, true)}},
        {L"select * from X where Enabled = false", L"X", {Flag(L"Enabled", true, false)}},
        {L"Select * from Win32_UserAccount where Name = 'jdoe'",
         L"Win32_UserAccount",
         {Text(L"Name", true, L"jdoe")}},
        {L"Select * from Win32_QuickFixEngineering Where Description != ''",
         L"Win32_QuickFixEngineering",
         {Text(L"Description", false, L"")}},
        {L"Select * from Win32_OptionalFeature Where InstallState = 1",
         L"Win32_OptionalFeature",
         {Number(L"InstallState", true, 1)}},
        {L"Select * from X where State <> 2", L"X", {Number(L"State", false, 2)}},
        {L"Select * from X where Name = \"O'Brien\"", L"X", {Text(L"Name", true, L"O'Brien")}},
        {L"Select * from X where Name = 'say \"hi\"'", L"X", {Text(L"Name", true, L"say \"hi\"")}},
        {L"Select * from X where Name = 'O\\'Brien'", L"X", {Text(L"Name", true, L"O'Brien")}},
        {L"Select * from X where Path = 'C:\\\\Windows\\\\'",
         L"X",
         {Text(L"Path", true, L"C:\\Windows\\")}},
        {L"Select * from X where Name = 'caf\u00e9 \u4e2d\u6587'",
         L"X",
         {Text(L"Name", true, L"caf\u00e9 \u4e2d\u6587")}},
        {L"Select * from X where Name = 'a AND b = 1'",
         L"X",
         {Text(L"Name", true, L"a AND b = 1")}},
        {L"Select * from X where N = -42", L"X", {Number(L"N", true, -42)}},
        {L"Select * from X where N = +7", L"X", {Number(L"N", true, 7)}},
        {L"Select * from X where N = 9223372036854775807",
         L"X",
         {Number(L"N", true, 9223372036854775807)}},
        {L"Select * from X where N = -9223372036854775808",
         L"X",
         {Number(L"N", true, std::numeric_limits<std::int64_t>::min())}},
        {L"Select * from X where A = 1 AND B != 'x' and C <> TRUE aNd D=FALSE",
         L"X",
         {Number(L"A", true, 1), Text(L"B", false, L"x"), Flag(L"C", false, true),
          Flag(L"D", true, false)}},
        // Keywords are whole words: these are names that begin with one.
        {L"Select * from fromage where andes = 1 and wherever = 'x'",
         L"fromage",
         {Number(L"andes", true, 1), Text(L"wherever", true, L"x")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        const auto query = ParseWql(c.statement);
        ASSERT_TRUE(query.has_value());
        EXPECT_EQ(c.className, query->className);
        ASSERT_EQ(c.conditions.size(), query->conditions.size());
        for (std::size_t i = 0; i < c.conditions.size(); ++i) {
            const auto& want = c.conditions[i];
            const auto& got = query->conditions[i];
            EXPECT_EQ(want.property, got.property);
            EXPECT_EQ(want.equal, got.equal);
            ASSERT_EQ(want.kind, got.literal.kind);
            switch (want.kind) {
                case Kind::String:
                    EXPECT_EQ(want.text, got.literal.text);
                    break;
                case Kind::Integer:
                    EXPECT_EQ(want.number, got.literal.number);
                    break;
                case Kind::Boolean:
                    EXPECT_EQ(want.boolean, got.literal.boolean);
                    break;
            }
        }
    }
}

// Whatever a name holds, pasted into a literal it reads back as itself, in either quotes.
TEST(WqlStringText, NamesReadBackWhole) {
    for (const std::wstring name :
         {L"O'Brien", L"say \"hi\"", L"DOMAIN\\jdoe", L"ends\\", L"\\'", L"' or Name != '"}) {
        for (const wchar_t* quote : {L"'", L"\""}) {
            const auto query = ParseWql(L"Select * from X where Name = " + std::wstring(quote) +
                                        WqlStringText(name) + quote);
            ASSERT_TRUE(query.has_value()) << WideToUtf8(name);
            ASSERT_EQ(1u, query->conditions.size());
            EXPECT_EQ(name, query->conditions[0].literal.text);
        }
    }
}

TEST(WqlParse, RefusesWhatIsOutsideTheSubset) {
    const std::vector<std::wstring> statements = {
        L"",
        L"   ",
        L"Select Name from Win32_Process",
        L"Select Name, ProcessId from Win32_Process",
        L"Select * from",
        L"Select * Win32_Process",
        L"Select * fromWin32_Process",
        L"Select * from 32Bit",
        L"Delete from Win32_Process",
        L"Select * from Win32_Process extra",
        L"Select * from Win32_Process;",
        L"Select * from X where",
        L"Select * from X where Name",
        L"Select * from X where Name =",
        L"Select * from X where = 'a'",
        L"Select * from X where A = 1 AND",
        L"Select * from X where A = 1 OR B = 2",
        L"Select * from X where (A = 1)",
        L"Select * from X where A > 1",
        L"Select * from X where A == 1",
        L"Select * from X where A LIKE 1",
        L"Select * from X where A LIKE TRUE",
        L"Select * from X where A LIKE '[a-f]%'",
        L"Select * from X where A NOT LIKE 'x%'",
        L"Select * from X where A = 'unterminated",
        L"Select * from X where A = \"mixed'",
        L"Select * from X where A = 'bad \\n escape'",
        L"Select * from X where A = 'ends in a backslash\\",
        L"Select * from X where A = 12abc",
        L"Select * from X where A = 1.5",
        L"Select * from X where A = -",
        L"Select * from X where A = 9223372036854775808",
        L"Select * from X where A = -9223372036854775809",
        L"Select * from X where A = yes",
        L"Select * from X where A = NULL",
        L"Select * from X where A = B",
    };
    for (const auto& statement : statements) {
        SCOPED_TRACE(statement);
        EXPECT_FALSE(ParseWql(statement).has_value());
    }
}

// An object as WMI would hand it over; property names are looked up without regard to
// letter case, as a WMI object does.
class Object {
  public:
    Object() {
        Put(L"Name", WmiValue::String(L"Explorer.EXE"));
        Put(L"Empty", WmiValue::String(L""));
        Put(L"Nothing", WmiValue::Null());
        Put(L"Unset", WmiValue::Of(WmiValue::Kind::Empty));
        Put(L"Count", WmiValue::Integer(WmiValue::Kind::Int32, 4));
        Put(L"Zero", WmiValue::Integer(WmiValue::Kind::Int32, 0));
        Put(L"Big", WmiValue::Integer(WmiValue::Kind::UInt32, 4294967295));
        Put(L"Negative", WmiValue::Integer(WmiValue::Kind::Int16, -3));
        Put(L"Size", WmiValue::String(L"1073741824"));
        Put(L"Enabled", WmiValue::Bool(true));
        Put(L"Disabled", WmiValue::Bool(false));
        Put(L"Addresses", WmiValue::Array({WmiValue::String(L"10.0.0.5")}));
        Put(L"Blob", WmiValue::Of(WmiValue::Kind::Other));
        Put(L"Accented", WmiValue::String(L"Caf\u00e9 \u00c5ngstr\u00f6m"));
        Put(L"Greek", WmiValue::String(L"\u03b1\u03b2\u03b3"));
        Put(L"Cyrillic", WmiValue::String(L"\u041f\u0440\u0438\u0432\u0435\u0442 \u0401"));
    }

    WqlLookup Lookup() const {
        return [this](const std::wstring& name) -> std::optional<WmiValue> {
            auto found = properties_.find(WqlFold(name));
            if (found == properties_.end())
                return std::nullopt;
            return found->second;
        };
    }

  private:
    void Put(const std::wstring& name, WmiValue value) {
        properties_[WqlFold(name)] = std::move(value);
    }
    std::map<std::wstring, WmiValue> properties_;
};

struct MatchCase {
    std::wstring where;
    bool matches;
};

TEST(WqlMatch, ComparesLikeWmi) {
    const std::vector<MatchCase> cases = {
        // No condition: every object.
        {L"", true},
        // Strings ignore letter case.
        {L"Name = 'explorer.exe'", true},
        {L"Name = 'EXPLORER.EXE'", true},
        {L"name = 'Explorer.EXE'", true},
        {L"Name != 'explorer.exe'", false},
        {L"Name <> 'explorer.exe'", false},
        {L"Name = 'explorer'", false},
        {L"Name != 'notepad.exe'", true},
        {L"Accented = 'CAF\u00c9 \u00e5NGSTR\u00d6M'", true},
        {L"Greek = '\u0391\u0392\u0393'", true},
        {L"Cyrillic = '\u043f\u0440\u0438\u0432\u0435\u0442 \u0451'", true},
        // An empty string is a value like any other.
        {L"Empty = ''", true},
        {L"Empty != ''", false},
        {L"Name != ''", true},
        // Missing, NULL and empty properties meet neither = nor !=.
        {L"Missing = 'x'", false},
        {L"Missing != 'x'", false},
        {L"Missing != ''", false},
        {L"Nothing = 'x'", false},
        {L"Nothing != 'x'", false},
        {L"Nothing != ''", false},
        {L"Unset != ''", false},
        {L"Unset = 0", false},
        // Neither do arrays and values of other types.
        {L"Addresses = '10.0.0.5'", false},
        {L"Addresses != '10.0.0.5'", false},
        {L"Blob = 'x'", false},
        {L"Blob != 'x'", false},
        // Integers.
        {L"Count = 4", true},
        {L"Count != 4", false},
        {L"Count = 5", false},
        {L"Count <> 5", true},
        {L"Count = '4'", true},
        {L"Count = '04'", true},
        {L"Count = 'four'", false},
        {L"Big = 4294967295", true},
        {L"Big = -1", false},
        {L"Negative = -3", true},
        {L"Negative = 65533", false},
        // Numbers held in strings, as WMI hands over 64-bit values.
        {L"Size = 1073741824", true},
        {L"Size = '1073741824'", true},
        {L"Size = 1073741825", false},
        {L"Size != 1", true},
        // Booleans, also against numbers and strings.
        {L"Enabled = TRUE", true},
        {L"Enabled = true", true},
        {L"Enabled = FALSE", false},
        {L"Enabled != FALSE", true},
        {L"Enabled = 1", true},
        {L"Enabled = 0", false},
        {L"Enabled = 'TRUE'", true},
        {L"Enabled = 'true'", true},
        {L"Enabled = 'yes'", false},
        {L"Disabled = FALSE", true},
        {L"Disabled = TRUE", false},
        {L"Disabled = 0", true},
        {L"Disabled = 'False'", true},
        {L"Count = TRUE", true},
        {L"Zero = FALSE", true},
        {L"Zero = TRUE", false},
        // Every condition of a chain must hold.
        {L"Name = 'explorer.exe' AND Count = 4", true},
        {L"Name = 'explorer.exe' AND Count = 5", false},
        {L"Count = 5 AND Name = 'explorer.exe'", false},
        {L"Name = 'explorer.exe' AND Enabled = TRUE AND Size != 0", true},
        {L"Name = 'explorer.exe' AND Missing != 'x'", false},
        // LIKE: % any run, _ one character, letter case ignored; strings only.
        {L"Name LIKE 'explorer%'", true},
        {L"Name like '%.EXE'", true},
        {L"Name Like 'Expl_rer.exe'", true},
        {L"Name LIKE '%x%p%'", true},
        {L"Name LIKE '%%e_e'", true},
        {L"Name LIKE 'explorer'", false},
        {L"Name LIKE '%exe_'", false},
        {L"Name LIKE 'x%'", false},
        {L"Empty LIKE '%'", true},
        {L"Empty LIKE '_%'", false},
        {L"Accented LIKE 'CAF\u00c9%'", true},
        {L"Nothing LIKE '%'", false},
        {L"Count LIKE '4'", false},
        {L"Addresses LIKE '%'", false},
        {L"Name LIKE 'e%' AND Count = 4", true},
    };
    const Object object;
    for (const auto& c : cases) {
        const std::wstring statement =
            L"Select * from Win32_Test" + (c.where.empty() ? L"" : L" where " + c.where);
        SCOPED_TRACE(statement);
        const auto query = ParseWql(statement);
        ASSERT_TRUE(query.has_value());
        EXPECT_EQ(c.matches, Matches(*query, object.Lookup()));
    }
}

TEST(WqlFold, FoldsTheLettersItKnows) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"Win32_BIOS", L"win32_bios"},
        {L"\u00c0\u00c9\u00ce\u00d6\u00de", L"\u00e0\u00e9\u00ee\u00f6\u00fe"},
        // The multiplication sign sits among the capitals but is no letter; sharp s has no
        // single capital.
        {L"\u00d7\u00df", L"\u00d7\u00df"},
        {L"\u0391\u03a3\u03a9", L"\u03b1\u03c3\u03c9"},
        {L"\u0410\u042f\u0401\u040f", L"\u0430\u044f\u0451\u045f"},
        {L"\u4e2d\u6587 123 _-", L"\u4e2d\u6587 123 _-"},
    };
    for (const auto& [text, folded] : cases)
        EXPECT_EQ(folded, WqlFold(text));
}

TEST(WqlNamespace, OnlyAPathBeforeTheFirstColonIsANamespace) {
    const std::vector<std::tuple<std::wstring, std::wstring, std::wstring>> cases = {
        {L"ROOT\\CIMV2\\Security\\MicrosoftTpm:Select * from Win32_Tpm",
         L"ROOT\\CIMV2\\Security\\MicrosoftTpm", L"Select * from Win32_Tpm"},
        {L"root\\wmi:Select * from X", L"root\\wmi", L"Select * from X"},
        {L"Select * from Win32_LogicalDisk Where DeviceID = 'C:'", L"ROOT\\CIMV2",
         L"Select * from Win32_LogicalDisk Where DeviceID = 'C:'"},
        {L"ROOT\\:Select * from X", L"ROOT\\CIMV2", L"ROOT\\:Select * from X"},
        {L"ROOT\\\\A:Select * from X", L"ROOT\\CIMV2", L"ROOT\\\\A:Select * from X"},
        {L":Select * from X", L"ROOT\\CIMV2", L":Select * from X"},
    };
    for (const auto& [text, nameSpace, wql] : cases) {
        const NamespacedWql split = SplitNamespace(text);
        EXPECT_EQ(nameSpace, split.nameSpace) << WideToUtf8(text);
        EXPECT_EQ(wql, split.wql) << WideToUtf8(text);
    }
    EXPECT_TRUE(IsDefaultNamespace(L"root\\CimV2"));
    EXPECT_FALSE(IsDefaultNamespace(L"ROOT\\CIMV2\\Security"));
}

}  // namespace
