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

// WMI answered from objects in memory: a connection and the WQL walk, leaving where a class's
// objects come from to the derived class.
class ObjectTableWmi : public Wmi {
  public:
    int Connect() override;
    void Disconnect() override;
    // Null without a connection or for a statement outside the subset; an unknown class
    // gives no objects.
    std::unique_ptr<WmiObjects> ExecQuery(const std::wstring& wql) override;
    std::unique_ptr<WmiObjects> ExecQueryIn(const std::wstring& nameSpace,
                                            const std::wstring& wql) override;

  protected:
    // Whether a connection can be made at all, and to that namespace.
    virtual bool Available() const { return true; }
    virtual bool Reachable(const std::wstring& /*nameSpace*/) const { return true; }
    // The objects of the class of that key (ClassKey); null when it is unknown.
    virtual std::shared_ptr<const WmiObjectList> ObjectsOf(const std::wstring& classKey) = 0;

  private:
    bool connected_ = false;
};

}  // namespace platform
