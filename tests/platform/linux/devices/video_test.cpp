// Video controllers: the display-class PCI functions of a fake /sys/bus/pci tree.
#include <gtest/gtest.h>

#include "platform/linux/live/classes.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;

namespace {

TEST(VideoControllerTest, DisplayClassFunctionsOnlyInAddressOrder) {
    const WmiObjectList objects = VideoControllers(TreeRoot(FENNOCK_TREES_DIR "/devices-video"));
    // A VGA, a 3D and an other display controller; not the audio function, not the one whose
    // class is garbled, not the one without a device id.
    ASSERT_EQ(3u, objects.size());
    EXPECT_EQ(L"Intel Corporation CoffeeLake-S GT2 [UHD Graphics 630]", Shown(objects[0], L"Name"));
    EXPECT_EQ(L"NVIDIA Corporation device 1fb8", Shown(objects[1], L"Name"));
    EXPECT_EQ(L"PCI device 1234:1111", Shown(objects[2], L"Name"));

    EXPECT_EQ(L"Intel Corporation", Shown(objects[0], L"AdapterCompatibility"));
    EXPECT_EQ(L"NVIDIA Corporation", Shown(objects[1], L"AdapterCompatibility"));
    EXPECT_EQ(L"(null)", Shown(objects[2], L"AdapterCompatibility"));
    for (std::size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(L"VideoController" + std::to_wstring(i + 1), Shown(objects[i], L"DeviceID"));
        ASSERT_NE(nullptr, objects[i].Find(L"DriverVersion"));
        EXPECT_EQ(WmiValue::Kind::Null, objects[i].Find(L"DriverVersion")->kind);
    }
    // The connected output's preferred mode, not the disconnected one's.
    EXPECT_EQ(L"1920 x 1080", Shown(objects[0], L"VideoModeDescription"));
    EXPECT_EQ(L"(null)", Shown(objects[1], L"VideoModeDescription"));
}

TEST(VideoControllerTest, NoBusNoControllers) {
    EXPECT_TRUE(VideoControllers(TreeRoot(FENNOCK_TREES_DIR "/missing")).empty());
}

TEST(VideoControllerLiveTest, EveryControllerIsNamed) {
    for (const auto& object : VideoControllers(SystemRoot())) {
        EXPECT_NE(L"(null)", Shown(object, L"Name"));
        EXPECT_EQ(0u, Shown(object, L"DeviceID").rfind(L"VideoController", 0));
    }
}

}  // namespace
