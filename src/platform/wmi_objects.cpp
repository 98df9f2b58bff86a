#include "platform/wmi_objects.h"

#include <utility>

namespace platform {

void WmiObject::Set(const std::wstring& name, WmiValue value) {
    const std::wstring folded = WqlFold(name);
    for (auto& property : properties) {
        if (WqlFold(property.name) == folded) {
            property.value = std::move(value);
            return;
        }
    }
    properties.push_back({name, std::move(value)});
}

const WmiValue* WmiObject::Find(const std::wstring& name) const {
    const std::wstring folded = WqlFold(name);
    for (const auto& property : properties)
        if (WqlFold(property.name) == folded)
            return &property.value;
    return nullptr;
}

namespace {

class ObjectWalk : public WmiObjects {
  public:
    ObjectWalk(std::shared_ptr<const WmiObjectList> objects, WqlQuery query)
        : objects_(std::move(objects)), query_(std::move(query)) {}

    bool Next() override {
        current_ = nullptr;
        if (!objects_)
            return false;
        while (next_ < objects_->size()) {
            const WmiObject& candidate = (*objects_)[next_++];
            const auto lookup = [&](const std::wstring& name) -> std::optional<WmiValue> {
                if (const WmiValue* value = candidate.Find(name))
                    return *value;
                return std::nullopt;
            };
            if (Matches(query_, lookup)) {
                current_ = &candidate;
                return true;
            }
        }
        return false;
    }

    bool Get(const std::wstring& name, WmiValue& value) override {
        if (!current_)
            return false;
        const WmiValue* found = current_->Find(name);
        if (!found)
            return false;
        value = *found;
        return true;
    }

  private:
    std::shared_ptr<const WmiObjectList> objects_;
    WqlQuery query_;
    std::size_t next_ = 0;
    const WmiObject* current_ = nullptr;
};

}  // namespace

std::unique_ptr<WmiObjects> WalkObjects(std::shared_ptr<const WmiObjectList> objects,
                                        WqlQuery query) {
    return std::make_unique<ObjectWalk>(std::move(objects), std::move(query));
}

int ObjectTableWmi::Connect() {
    connected_ = Available();
    return connected_ ? 0 : 1;
}

void ObjectTableWmi::Disconnect() {
    connected_ = false;
}

std::unique_ptr<WmiObjects> ObjectTableWmi::ExecQuery(const std::wstring& wql) {
    return ExecQueryIn(L"ROOT\\CIMV2", wql);
}

std::unique_ptr<WmiObjects> ObjectTableWmi::ExecQueryIn(const std::wstring& nameSpace,
                                                        const std::wstring& wql) {
    if (!connected_ || !Reachable(nameSpace))
        return nullptr;
    auto query = ParseWql(wql);
    if (!query)
        return nullptr;
    // Looked up before the query is moved into the walk.
    auto objects = ObjectsOf(ClassKey(nameSpace, query->className));
    return WalkObjects(std::move(objects), std::move(*query));
}

}  // namespace platform
