#pragma once
// The in-memory shapes of the catalogue and of a stored session.
#include <map>
#include <string>
#include <vector>

struct QueryField {
    std::wstring name;        // what the collector reads (property, value or column)
    std::wstring exportName;  // what the reports call it
};

struct QueryDefinition {
    std::wstring name;
    std::wstring queryType;  // "Version", "Wmi", "RegistryKeys", "RegistryValues",
                             // "ServiceControl", "Platform"
    std::wstring query;
    int maxRows = 0;  // 0: no limit
    std::vector<QueryField> fields;
};

// One collected item: field name to text, walked in key order.
using ResultRow = std::map<std::wstring, std::wstring>;

// One loaded item: export name to text.
using SessionItem = std::map<std::wstring, std::wstring>;
// Query name to its items, in key-value order.
using SessionData = std::map<std::wstring, std::vector<SessionItem>>;
