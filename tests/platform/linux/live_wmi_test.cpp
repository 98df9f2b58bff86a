// The live WMI answers statements through the providers of the classes they name.
#include <gtest/gtest.h>

#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/live_wmi.h"

using namespace platform;
using namespace platform::live;

namespace {

TEST(LiveWmiTest, BuildsOnlyTheClassAskedForAndFiltersItsObjects) {
    int built = 0;
    const ClassProvider disks = [&](const SystemRoot&) {
        ++built;
        WmiObjectList objects(2);
        objects[0].Set(L"DeviceID", Text("/"));
        objects[0].Set(L"DriveType", UInt32(3));
        objects[1].Set(L"DeviceID", Text("/mnt/share"));
        objects[1].Set(L"DriveType", UInt32(4));
        return objects;
    };
    LiveWmi wmi(SystemRoot(), {{L"Win32_LogicalDisk", disks}, {L"Win32_Process", {}}});
    EXPECT_EQ(nullptr, wmi.ExecQuery(L"Select * from Win32_LogicalDisk")) << "not connected";
    ASSERT_EQ(0, wmi.Connect());
    EXPECT_EQ(0, built);

    auto objects = wmi.ExecQuery(L"select * FROM win32_logicaldisk where DriveType = 4");
    ASSERT_NE(nullptr, objects);
    EXPECT_EQ(1, built);
    ASSERT_TRUE(objects->Next());
    WmiValue value;
    ASSERT_TRUE(objects->Get(L"deviceid", value));
    EXPECT_EQ(L"/mnt/share", value.text);
    EXPECT_FALSE(objects->Get(L"FreeSpace", value));
    EXPECT_FALSE(objects->Next());

    // A class without a provider has no objects; a statement outside WQL is refused.
    auto none = wmi.ExecQuery(L"Select * from Win32_QuickFixEngineering");
    ASSERT_NE(nullptr, none);
    EXPECT_FALSE(none->Next());
    EXPECT_EQ(nullptr, wmi.ExecQuery(L"Select Name from Win32_LogicalDisk"));
}

TEST(LiveWmiTest, DatesCarryTheLocalOffsetInMinutes) {
    const std::wstring text = DateTimeText(0);
    ASSERT_EQ(25u, text.size());
    EXPECT_EQ(L'.', text[14]);
    EXPECT_TRUE(text[21] == L'+' || text[21] == L'-');
    EXPECT_EQ(L".000000", text.substr(14, 7));
}

}  // namespace
