#pragma once
// What changed between the session of this run and the one kept from the previous run.
#include <map>
#include <string>
#include <vector>

enum ChangeKind { kChangeNewItem = 1, kChangeRemovedItem = 2, kChangeValue = 3 };

struct ChangeRecord {
    int kind = 0;
    int itemId = 0;  // this session's item for kinds 1 and 3, the previous one's for kind 2
    std::wstring keyValue;
    std::wstring exportName;  // kind 3 only
    std::wstring oldValue;    // kind 3 only
    std::wstring newValue;    // kind 3 only
};

// Query name to its records: new items first, then removed ones, then changed values.
using ChangeData = std::map<std::wstring, std::vector<ChangeRecord>>;
