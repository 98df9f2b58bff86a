// Video controllers: the display-class PCI functions of a fake /sys/bus/pci tree.
#include <gtest/gtest.h>

#include "platform/linux/live/classes.h"

using namespace platform;
using namespace platform::live;

namespace {

std::wstring TextOf(const WmiObject& object, const wchar_t* name) {
    const WmiValue* value = object.Find(name);
    return value && value->kind == WmiValue::Kind::String ? value->text : L"<null>";
}

TEST(VideoControllerTest, DisplayClassFunctionsOnlyInAddressOrder) {
    const WmiObjectList objects = VideoControllers(SystemRoot(FENNOCK_TREES_DIR "/devices-video"));
    // A VGA, a 3D and an other display controller; not the audio function, not the one whose
    // class is garbled, not the one without a device id.
    ASSERT_EQ(3u, objects.size());
    EXPECT_EQ(L"Intel Corporation CoffeeLake-S GT2 [UHD Graphics 630]",
              TextOf(objects[0], L"Name"));
    EXPECT_EQ(L"NVIDIA Corporation device 1fb8", TextOf(objects[1], L"Name"));
    EXPECT_EQ(L"PCI device 1234:1111", TextOf(objects[2], L"Name"));

    EXPECT_EQ(L"Intel Corporation", TextOf(objects[0], L"AdapterCompatibility"));
    EXPECT_EQ(L"NVIDIA Corporation", TextOf(objects[1], L"AdapterCompatibility"));
    EXPECT_EQ(L"<null>", TextOf(objects[2], L"AdapterCompatibility"));
    for (std::size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(L"VideoController" + std::to_wstring(i + 1), TextOf(objects[i], L"DeviceID"));
        ASSERT_NE(nullptr, objects[i].Find(L"DriverVersion"));
        EXPECT_EQ(WmiValue::Kind::Null, objects[i].Find(L"DriverVersion")->kind);
    }
    // The connected output's preferred mode, not the disconnected one's.
    EXPECT_EQ(L"1920 x 1080", TextOf(objects[0], L"VideoModeDescription"));
    EXPECT_EQ(L"<null>", TextOf(objects[1], L"VideoModeDescription"));
}

TEST(VideoControllerTest, NoBusNoControllers) {
    EXPECT_TRUE(VideoControllers(SystemRoot(FENNOCK_TREES_DIR "/missing")).empty());
}

TEST(VideoControllerLiveTest, EveryControllerIsNamed) {
    for (const auto& object : VideoControllers(SystemRoot())) {
        EXPECT_NE(L"<null>", TextOf(object, L"Name"));
        EXPECT_EQ(0u, TextOf(object, L"DeviceID").rfind(L"VideoController", 0));
    }
}

}  // namespace
