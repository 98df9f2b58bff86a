// The system's service control manager and message table: the shape of their answers.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/windows/native.h"

using platform::ServiceListing;
using platform::win::Win32ServiceManager;

namespace {

TEST(ServicesLive, ListsDriversAndServicesInEveryState) {
    Win32ServiceManager manager;
    const ServiceListing listing = manager.ListServices();
    ASSERT_EQ(ServiceListing::Failure::None, listing.failure) << listing.error;
    EXPECT_EQ(0, listing.error);
    ASSERT_FALSE(listing.services.empty());

    std::set<std::wstring> names;
    for (const auto& service : listing.services) {
        EXPECT_FALSE(service.serviceName.empty());
        EXPECT_FALSE(service.displayName.empty()) << service.serviceName.size();
        EXPECT_TRUE(names.insert(service.serviceName).second) << "listed twice";
        const std::uint32_t type = service.status[0];
        EXPECT_NE(0u, type & (SERVICE_DRIVER | SERVICE_WIN32));
        const std::uint32_t state = service.status[1];
        EXPECT_GE(state, 1u);
        EXPECT_LE(state, 7u);
    }
}

TEST(ServicesLive, SystemMessagesInUsEnglish) {
    Win32ServiceManager manager;
    const std::wstring denied = manager.SystemMessage(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(denied.empty());
    EXPECT_NE(std::wstring::npos, denied.find(L"ccess")) << "English text";
    EXPECT_EQ(L'\n', denied.back()) << "the system's line break is kept";
    EXPECT_TRUE(manager.SystemMessage(0x7FFFFFF0).empty());
}

}  // namespace
