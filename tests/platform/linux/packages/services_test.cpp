// The service list: the state table, the list built from files, and the live manager.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/linux/live/packages/linux_services.h"
#include "platform/linux/live/packages/service_states.h"
#include "tree_root.h"
#include "util/utf.h"

using namespace platform;
using namespace platform::live;

namespace {

const std::string kTree = std::string(FENNOCK_TREES_DIR) + "/packages-services";

struct Numbers {
    std::uint32_t value[7];
    bool operator==(const Numbers& other) const {
        return std::equal(value, value + 7, other.value);
    }
};

Numbers Status(const UnitState& state) {
    Numbers numbers{};
    StatusNumbers(state, numbers.value);
    return numbers;
}

TEST(ServiceStates, TheStateTable) {
    const struct {
        UnitState state;
        Numbers expected;
    } cases[] = {
        {{"active", true, {}}, {{16, 4, 1, 0, 0, 0, 0}}},
        {{"active", false, {}}, {{16, 4, 0, 0, 0, 0, 0}}},
        {{"reloading", true, {}}, {{16, 4, 1, 0, 0, 0, 0}}},
        {{"activating", true, {}}, {{16, 2, 0, 0, 0, 0, 0}}},
        {{"deactivating", true, {}}, {{16, 3, 0, 0, 0, 0, 0}}},
        {{"inactive", true, {}}, {{16, 1, 0, 0, 0, 0, 0}}},
        {{"failed", true, 3u}, {{16, 1, 0, 1066, 3, 0, 0}}},
        {{"failed", true, {}}, {{16, 1, 0, 1066, 0, 0, 0}}},
        {{"failed", true, 4294967295u}, {{16, 1, 0, 1066, 4294967295u, 0, 0}}},
        {{"maintenance", true, {}}, {{16, 1, 0, 0, 0, 0, 0}}},
        {{"", true, {}}, {{16, 1, 0, 0, 0, 0, 0}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Status(c.state)) << c.state.activeState;
}

struct Shown {
    std::wstring name, display;
    std::uint32_t state;
    std::wstring stateText, startMode;
    bool operator==(const Shown&) const = default;
};

std::vector<Shown> Show(const std::vector<ServiceEntry>& entries) {
    std::vector<Shown> shown;
    for (const auto& entry : entries)
        shown.push_back(
            {entry.serviceName, entry.displayName, entry.status[1], entry.state, entry.startMode});
    return shown;
}

TEST(Services, FromFilesWithoutAManagerRunning) {
    const auto shown = Show(ServiceEntries(ServicesFromFiles(TreeRoot(kTree))));
    // Enabled by a link of a .wants folder or a start link of a runlevel; static without an
    // [Install] section to enable it by.
    const std::vector<Shown> expected = {
        {L"bare", L"bare", 1, L"inactive", L"disabled"},
        {L"cron", L"Regular background program processing daemon (local)", 4, L"active",
         L"enabled"},
        {L"dup-a", L"Same Name (dup-a)", 1, L"inactive", L"static"},
        {L"dup-b", L"same name (dup-b)", 1, L"inactive", L"static"},
        {L"getty@tty1", L"Getty on tty1", 1, L"inactive", L"enabled"},
        {L"later", L"From usr lib", 1, L"inactive", L"indirect"},
        {L"legacy", L"Legacy daemon", 4, L"active", L"enabled"},
        {L"nodesc", L"nodesc", 1, L"inactive", L"disabled"},
        {L"provider", L"prov-facility", 1, L"inactive", L"disabled"},
        {L"rsync", L"fast remote  file copy program daemon", 1, L"inactive", L"static"},
        {L"runtime", L"Runtime unit", 1, L"inactive", L"static"},
        {L"ssh", L"OpenBSD Secure Shell server", 1, L"inactive", L"enabled"},
    };
    ASSERT_EQ(expected.size(), shown.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], shown[i]) << WideToUtf8(shown[i].name);
}

TEST(Services, EntriesInNameOrderWithUniqueDisplayNames) {
    const std::vector<LinuxService> services = {
        {"b.service", "Beta", {"active", true, {}}, "enabled"},
        {"A.service", "", {}, {}},
        {"a", " \t", {}, {}},
        {".service", "Suffix only", {}, {}},
        {"c.service", "beta", {"failed", true, 2u}, "disabled"},
        {"x.service", "<b>\"quoted\" \\ \xff</b>", {}, {}},
    };
    const auto entries = ServiceEntries(services);
    ASSERT_EQ(6u, entries.size());
    EXPECT_EQ(L".service", entries[0].serviceName);
    EXPECT_EQ(L"Suffix only", entries[0].displayName);
    // Names that differ in letter case only: a display name each all the same.
    EXPECT_EQ(L"A", entries[1].serviceName);
    EXPECT_EQ(L"A (A)", entries[1].displayName);
    EXPECT_EQ(L"a", entries[2].serviceName);
    EXPECT_EQ(L"a (a)", entries[2].displayName);
    EXPECT_EQ(L"Beta (b)", entries[3].displayName);
    EXPECT_EQ(4u, entries[3].status[1]);
    EXPECT_EQ(L"active", entries[3].state);
    EXPECT_EQ(L"enabled", entries[3].startMode);
    EXPECT_EQ(L"failed", entries[4].state);
    EXPECT_EQ(L"", entries[0].startMode);
    EXPECT_EQ(L"beta (c)", entries[4].displayName);
    EXPECT_EQ(1066u, entries[4].status[3]);
    EXPECT_EQ(2u, entries[4].status[4]);
    EXPECT_EQ(L"<b>\"quoted\" \\ \uFFFD</b>", entries[5].displayName);
}

TEST(Services, EveryCodeTheManagerReportsHasItsMessage) {
    LinuxServiceManager manager{TreeRoot(kTree)};
    for (int error : {EACCES, EPERM, ENOMEM, ETIMEDOUT, ECONNREFUSED, ENOENT, 0})
        EXPECT_FALSE(manager.SystemMessage(Win32Error(error)).empty()) << error;
    EXPECT_FALSE(manager.SystemMessage(kServiceSpecificError).empty());
    EXPECT_TRUE(manager.SystemMessage(12345).empty());
}

TEST(Services, FakeRootIsReadFromItsFilesOnly) {
    // The tree has /run/systemd/system, but only the live machine has a manager to ask.
    const ServiceListing listing = LinuxServiceManager(TreeRoot(kTree)).ListServices();
    EXPECT_EQ(ServiceListing::Failure::None, listing.failure);
    EXPECT_EQ(12u, listing.services.size());
    EXPECT_TRUE(LinuxServiceManager(TreeRoot(kTree + "/missing")).ListServices().services.empty());
}

TEST(ServicesLive, ListHasTheShapeOfAServiceList) {
    const ServiceListing listing = LinuxServiceManager().ListServices();
    if (listing.failure == ServiceListing::Failure::Open) {
        EXPECT_FALSE(LinuxServiceManager().SystemMessage(listing.error).empty());
        return;
    }
    for (std::size_t i = 0; i < listing.services.size(); ++i) {
        const ServiceEntry& entry = listing.services[i];
        EXPECT_FALSE(entry.serviceName.empty());
        EXPECT_FALSE(entry.displayName.empty()) << entry.serviceName;
        EXPECT_EQ(16u, entry.status[0]) << entry.serviceName;
        EXPECT_GE(entry.status[1], 1u) << entry.serviceName;
        EXPECT_LE(entry.status[1], 4u) << entry.serviceName;
        if (i > 0) {
            std::wstring previous = listing.services[i - 1].serviceName, name = entry.serviceName;
            std::transform(previous.begin(), previous.end(), previous.begin(), ::towlower);
            std::transform(name.begin(), name.end(), name.begin(), ::towlower);
            EXPECT_LE(previous, name);
        }
    }
}

}  // namespace
