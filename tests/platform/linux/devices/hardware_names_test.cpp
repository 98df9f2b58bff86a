// PCI and USB device names: the ids of sysfs devices, and the names providers show.
#include <gtest/gtest.h>

#include "platform/linux/live/devices/hardware_names.h"
#include "tree_root.h"

using namespace platform::live;

namespace {

TEST(HardwareNamesTest, DisplayNamesSayWhatIsKnown) {
    const HardwareIds ids{HardwareIds::Bus::Pci, 0x8086, 0x10d3};
    EXPECT_EQ("Intel Corporation 82574L",
              DisplayName(ids, HardwareName{"Intel Corporation", "82574L"}));
    EXPECT_EQ("Intel Corporation device 10d3",
              DisplayName(ids, HardwareName{"Intel Corporation", ""}));
    EXPECT_FALSE(DisplayName(ids, std::nullopt));
    EXPECT_FALSE(DisplayName(ids, HardwareName{"", "82574L"}));
}

TEST(HardwareNamesTest, ReadsTheIdsOfPciAndUsbDevicesOnly) {
    const SystemRoot root = TreeRoot(FENNOCK_TREES_DIR "/devices-net");
    const auto pci = SysfsDeviceIds(root, "/sys/class/net/eth0/device");
    ASSERT_TRUE(pci);
    EXPECT_EQ(HardwareIds::Bus::Pci, pci->bus);
    EXPECT_EQ(0x8086, pci->vendor);
    EXPECT_EQ(0x10d3, pci->device);

    // A USB network interface: the ids are those of the device holding it.
    const auto usb = SysfsDeviceIds(root, "/sys/class/net/usb0/device");
    ASSERT_TRUE(usb);
    EXPECT_EQ(HardwareIds::Bus::Usb, usb->bus);
    EXPECT_EQ(0x0bda, usb->vendor);
    EXPECT_EQ(0x8153, usb->device);

    // Virtio numbers are not PCI ids; a bridge has no device at all.
    EXPECT_FALSE(SysfsDeviceIds(root, "/sys/class/net/eth2/device"));
    EXPECT_FALSE(SysfsDeviceIds(root, "/sys/class/net/br0/device"));
    EXPECT_FALSE(SysfsDeviceIds(TreeRoot(FENNOCK_TREES_DIR "/missing"), "/sys/x"));
}

}  // namespace
