#pragma once
// The part of WQL the catalogue speaks: "Select * from <class>" with an optional Where of
// equality, inequality and LIKE tests joined by AND. Whatever answers WQL without WMI (a described
// machine, the Linux providers) parses a statement once and tests each object it holds.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/wmi.h"

namespace platform {

struct WqlLiteral {
    enum class Kind { String, Integer, Boolean };
    Kind kind = Kind::String;
    std::wstring text;        // String
    std::int64_t number = 0;  // Integer
    bool boolean = false;     // Boolean
};

struct WqlCondition {
    std::wstring property;
    bool equal = true;  // false for "!=" and "<>"
    bool like = false;  // LIKE with a string pattern: % any run of characters, _ any one
    WqlLiteral literal;
};

struct WqlQuery {
    std::wstring className;
    std::vector<WqlCondition> conditions;  // all must hold
};

// Keywords are case-insensitive; strings are quoted with ' or " and take the escapes \\, \'
// and \". Anything beyond the subset (other operators, OR, parentheses, a property list,
// a LIKE pattern with a [] set) gives nothing, as WMI refuses what it cannot parse.
std::optional<WqlQuery> ParseWql(const std::wstring& statement);

// The text as the inside of a quoted WQL string: backslash and both quotes take a backslash,
// so that a name such as O'Brien neither ends the literal nor breaks the statement.
std::wstring WqlStringText(const std::wstring& text);

// A property of the object under test; nothing when the object has no such property.
using WqlLookup = std::function<std::optional<WmiValue>(const std::wstring& name)>;

// Every condition of the query holds for the object. As in WMI (and SQL), a test against a
// missing or NULL property, or an array, is false whether it asks for = or !=. Strings
// compare without regard to letter case. Integer literals compare numerically with integer
// properties and with strings holding an integer (WMI hands 64-bit numbers over as strings);
// TRUE and FALSE compare with booleans, and with integers as non-zero and zero. A string
// literal meets a number or boolean property by its text ('4', 'TRUE'). LIKE matches string
// properties only, ignoring letter case.
bool Matches(const WqlQuery& query, const WqlLookup& lookup);

// The case folding used for names and string comparisons: ASCII, Latin-1, Greek and
// Cyrillic letters.
std::wstring WqlFold(const std::wstring& text);

// A statement of the catalogue with the namespace it is asked in. The text may start with
// a namespace path and a colon ("ROOT\CIMV2\Security\MicrosoftTpm:Select ..."); without
// one the namespace is ROOT\CIMV2. A colon inside the statement (a drive letter in a
// literal) is no namespace: the path before the colon holds only names and backslashes.
struct NamespacedWql {
    std::wstring nameSpace;
    std::wstring wql;
};
NamespacedWql SplitNamespace(const std::wstring& text);
// The key of a class where objects are held in memory: its folded name, after the folded
// namespace and a colon for a namespace other than ROOT\CIMV2.
std::wstring ClassKey(const std::wstring& nameSpace, const std::wstring& className);

}  // namespace platform
