// PCI and USB device names: the ids database text, the ids of sysfs devices, and the names
// providers show.
#include <gtest/gtest.h>

#include "platform/linux/live/devices/hardware_ids.h"
#include "platform/linux/live/devices/hardware_names.h"
#include "tree_root.h"

using namespace platform::live;

namespace {

constexpr const char* kIds =
    "# vendor, devices indented by a tab, subsystems by two\n"
    "10de  NVIDIA Corporation\n"
    "\t1fb8  TU117GLM [Quadro T2000 Mobile / Max-Q]\n"
    "8086  Intel Corporation\r\n"
    "\t1000  82542 Gigabit Ethernet Controller (Fiber)\n"
    "\t\t10d3 0001  A subsystem that shares the device's number\n"
    "# a comment inside the vendor does not close it\n"
    "\t10D3  82574L Gigabit Network Connection\r\n"
    "\t10d4    \n"
    "abcd  Vendor Without Devices\n"
    "C 03  Display controller\n"
    "\t00  VGA compatible controller\n"
    "ffff\tLast vendor, tab separated\n"
    "\t0001  Last device";

TEST(HardwareIdsTest, FindsVendorAndDeviceNames) {
    struct Case {
        std::uint16_t vendor, device;
        const char* vendorName;  // null: not found
        const char* deviceName;
    } cases[] = {
        {0x8086, 0x1000, "Intel Corporation", "82542 Gigabit Ethernet Controller (Fiber)"},
        // Upper case ids, CRLF ends, a subsystem line and a comment before the device.
        {0x8086, 0x10d3, "Intel Corporation", "82574L Gigabit Network Connection"},
        {0x8086, 0x10d4, "Intel Corporation", ""},  // a device line without a name
        {0x8086, 0x9999, "Intel Corporation", ""},
        {0x10de, 0x1fb8, "NVIDIA Corporation", "TU117GLM [Quadro T2000 Mobile / Max-Q]"},
        {0xabcd, 0x0000, "Vendor Without Devices", ""},
        // A vendor after the class list is still found.
        {0xffff, 0x0001, "Last vendor, tab separated", "Last device"},
        {0x1234, 0x0001, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const auto name = FindIdsName(kIds, c.vendor, c.device);
        SCOPED_TRACE(testing::Message() << std::hex << c.vendor << ":" << c.device);
        if (!c.vendorName) {
            EXPECT_FALSE(name);
            continue;
        }
        ASSERT_TRUE(name);
        EXPECT_EQ(c.vendorName, name->vendor);
        EXPECT_EQ(c.deviceName, name->device);
    }
}

TEST(HardwareIdsTest, GarbledOrEmptyTextHasNoNames) {
    EXPECT_FALSE(FindIdsName("", 0x8086, 0x1000));
    EXPECT_FALSE(FindIdsName("8086", 0x8086, 0x1000));
    EXPECT_FALSE(FindIdsName("8086  \n\t1000  Device", 0x8086, 0x1000)) << "no vendor name";
    EXPECT_FALSE(FindIdsName("80x6  Not hex\n", 0x8006, 0));
    EXPECT_FALSE(FindIdsName(std::string("\0\xff\t\t\n\t", 6), 0, 0));
    // A device of another vendor is not this vendor's.
    const auto name = FindIdsName("1111  One\n2222  Two\n\t0001  Two's device\n", 0x1111, 1);
    ASSERT_TRUE(name);
    EXPECT_EQ("", name->device);
}

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

TEST(HardwareNamesTest, LooksUpTheDatabaseFilesUnderTheRoot) {
    HardwareNames names(TreeRoot(FENNOCK_TREES_DIR "/devices-net"));
    const auto pci = names.Find({HardwareIds::Bus::Pci, 0x8086, 0x10d3});
    ASSERT_TRUE(pci);
    EXPECT_EQ("82574L Gigabit Network Connection", pci->device);
    const auto usb = names.Find({HardwareIds::Bus::Usb, 0x0bda, 0x8153});
    ASSERT_TRUE(usb);
    EXPECT_EQ("Realtek Semiconductor Corp.", usb->vendor);
    // The USB database is not asked for PCI ids, nor the other way round.
    EXPECT_FALSE(names.Find({HardwareIds::Bus::Usb, 0x8086, 0x10d3}));

    HardwareNames none(TreeRoot(FENNOCK_TREES_DIR "/missing"));
    EXPECT_FALSE(none.Find({HardwareIds::Bus::Pci, 0x8086, 0x10d3}));
}

}  // namespace
