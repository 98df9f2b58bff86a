#include <utility>

#include "platform/described/described_machine.h"
#include "platform/wql.h"

namespace platform {

DescribedWmi::DescribedWmi(std::optional<Classes> classes, bool administrator)
    : administrator_(administrator) {
    if (!classes)
        return;
    classes_.emplace();
    for (auto& [name, objects] : *classes)
        (*classes_)[name] = std::make_shared<const WmiObjectList>(std::move(objects));
}

bool DescribedWmi::Reachable(const std::wstring& nameSpace) const {
    return administrator_ || WqlFold(nameSpace) != WqlFold(L"ROOT\\CIMV2\\Security\\MicrosoftTpm");
}

std::shared_ptr<const WmiObjectList> DescribedWmi::ObjectsOf(const std::wstring& classKey) {
    const auto found = classes_->find(classKey);
    return found == classes_->end() ? nullptr : found->second;
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
