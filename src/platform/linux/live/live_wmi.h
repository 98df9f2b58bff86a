#pragma once
// WMI answered by the live Linux system: each class of the catalogue has a provider that
// builds its objects when (and only when) a statement asks for the class. Classes without
// a Linux meaning (the registry's size, hot fixes, optional and server features) have no
// objects, like any class the system does not know.
#include <functional>
#include <map>
#include <string>

#include "platform/linux/live/common/system_root.h"
#include "platform/wmi_objects.h"

namespace platform::live {

using ClassProvider = std::function<WmiObjectList(const SystemRoot&)>;

class LiveWmi : public ObjectTableWmi {
  public:
    // The catalogue's classes over the given root.
    explicit LiveWmi(SystemRoot root = SystemRoot());
    // Only these classes (keyed by class name, letter case ignored, after "namespace:" for a
    // namespace other than ROOT\CIMV2); for tests.
    LiveWmi(SystemRoot root, std::map<std::wstring, ClassProvider> providers);

    // A run begins: what takes long to answer starts meanwhile.
    int Connect() override;

  private:
    // Read afresh for every query: a run asks each class once.
    std::shared_ptr<const WmiObjectList> ObjectsOf(const std::wstring& classKey) override;

    SystemRoot root_;
    std::map<std::wstring, ClassProvider> providers_;  // keyed by the folded name
};

}  // namespace platform::live
