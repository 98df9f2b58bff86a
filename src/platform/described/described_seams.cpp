#include <utility>

#include "platform/described/described_machine.h"
#include "platform/wql.h"

namespace platform {
namespace {

// Holds the class data it walks, so that it outlives neither a disconnect nor the WMI
// object that made it.
class DescribedObjects : public WmiObjects {
  public:
    DescribedObjects(std::shared_ptr<const DescribedWmi::Classes> classes,
                     const std::vector<DescribedObject>* objects, WqlQuery query)
        : classes_(std::move(classes)), objects_(objects), query_(std::move(query)) {}

    bool Next() override {
        if (!objects_)
            return false;
        while (next_ < objects_->size()) {
            const DescribedObject& candidate = (*objects_)[next_++];
            if (Matches(query_, [&](const std::wstring& name) { return Find(candidate, name); })) {
                current_ = &candidate;
                return true;
            }
        }
        current_ = nullptr;
        return false;
    }

    bool Get(const std::wstring& name, WmiValue& value) override {
        if (!current_)
            return false;
        auto found = Find(*current_, name);
        if (!found)
            return false;
        value = std::move(*found);
        return true;
    }

  private:
    static std::optional<WmiValue> Find(const DescribedObject& object, const std::wstring& name) {
        const std::wstring folded = WqlFold(name);
        for (const auto& property : object.properties)
            if (WqlFold(property.name) == folded)
                return property.value;
        return std::nullopt;
    }

    std::shared_ptr<const DescribedWmi::Classes> classes_;
    const std::vector<DescribedObject>* objects_;
    WqlQuery query_;
    std::size_t next_ = 0;
    const DescribedObject* current_ = nullptr;
};

}  // namespace

DescribedWmi::DescribedWmi(std::optional<Classes> classes) {
    if (classes)
        classes_ = std::make_shared<const Classes>(std::move(*classes));
}

int DescribedWmi::Connect() {
    connected_ = classes_ != nullptr;
    return connected_ ? 0 : 1;
}

void DescribedWmi::Disconnect() {
    connected_ = false;
}

std::unique_ptr<WmiObjects> DescribedWmi::ExecQuery(const std::wstring& wql) {
    if (!connected_)
        return nullptr;
    auto query = ParseWql(wql);
    if (!query)
        return nullptr;
    auto found = classes_->find(WqlFold(query->className));
    const std::vector<DescribedObject>* objects =
        found == classes_->end() ? nullptr : &found->second;
    return std::make_unique<DescribedObjects>(classes_, objects, std::move(*query));
}

std::wstring DescribedServiceManager::SystemMessage(long error) {
    static const std::map<long, std::wstring> kMessages = {
        {2, L"The system cannot find the file specified."},
        {5, L"Access is denied."},
        {6, L"The handle is invalid."},
        {8, L"Not enough storage is available to process this command."},
        {87, L"The parameter is incorrect."},
        {122, L"The data area passed to a system call is too small."},
        {234, L"More data is available."},
        {1060, L"The specified service does not exist as an installed service."},
        {1062, L"The service has not been started."},
        {1115, L"A system shutdown is in progress."},
    };
    auto found = kMessages.find(error);
    return found == kMessages.end() ? std::wstring() : found->second + L"\r\n";
}

}  // namespace platform
