#pragma once
// WMI objects held in memory, and the walk over them that answers one parsed WQL statement.
// Whatever answers WQL without WMI (a described machine, the Linux providers) keeps its
// objects in this form.
#include <memory>
#include <string>
#include <vector>

#include "platform/wmi.h"
#include "platform/wql.h"

namespace platform {

struct WmiProperty {
    std::wstring name;
    WmiValue value;
};

struct WmiObject {
    std::vector<WmiProperty> properties;  // names unique ignoring case

    // Adds the property, or replaces the value of the one of that name.
    void Set(const std::wstring& name, WmiValue value);
    // The property of that name ignoring letter case, as WMI finds it; null when absent.
    const WmiValue* Find(const std::wstring& name) const;
};

using WmiObjectList = std::vector<WmiObject>;

// The objects of the list that meet the query's conditions, in list order. The walk shares
// the list, so it stays valid however long the caller keeps it.
std::unique_ptr<WmiObjects> WalkObjects(std::shared_ptr<const WmiObjectList> objects,
                                        WqlQuery query);

}  // namespace platform
