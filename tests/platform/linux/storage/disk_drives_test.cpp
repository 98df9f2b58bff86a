// Whole disks as Win32_DiskDrive: the kernel's own block devices left out, each disk's
// transport, model and media from sysfs and udev; on the live machine, lsblk's disks.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/storage/disk_drives.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;

namespace {

TEST(StorageDiskDrivesTest, WholeDisksWithTransportModelAndMedia) {
    const auto drives = DiskDrives(TreeRoot(FENNOCK_TREES_DIR "/storage-disks"));
    std::vector<std::vector<std::string>> rows;
    for (const WmiObject& drive : drives) {
        std::vector<std::string> row;
        for (const wchar_t* name : {L"DeviceID", L"Model", L"Size", L"InterfaceType", L"MediaType"})
            row.push_back(ShownUtf8(drive, name));
        rows.push_back(row);
    }
    // No loop, zram, device-mapper, RAID, empty network block device or optical drive; a card
    // reader without a card stays.
    const std::vector<std::vector<std::string>> expected = {
        {"nvme0n1", "Samsung SSD 970 EVO Plus 1TB", "1000204886016", "nvme", "SSD"},
        {"sda", "ST2000DM008-2FR1", "2000398934016", "sata", "HDD"},
        {"sdb", "STORAGE DEVICE", "0", "usb", "Removable media"},
        {"sdc", "QEMU HARDDISK", "107374182400", "scsi", "HDD"},
        {"vda", "(null)", "274877906944", "virtio", "HDD"},
    };
    EXPECT_EQ(expected, rows);
    EXPECT_TRUE(DiskDrives(TreeRoot(FENNOCK_TREES_DIR "/missing")).empty());
}

TEST(StorageDiskDrivesTest, TransportsAndUdevProperties) {
    const struct {
        const char* name;
        const char* link;
        const char* transport;
    } cases[] = {
        {"mmcblk0", "../devices/platform/soc/fe340000.mmc/mmc_host/mmc0/mmc0:0001/block/mmcblk0",
         "mmc"},
        {"sdd",
         "../devices/pci0000:00/0000:00:01.0/host0/port-0:0/end_device-0:0/target0:0:0/"
         "0:0:0:0/block/sdd",
         "sas"},
        {"xvda", "../devices/vbd-51712/block/xvda", ""},
        {"sde", "", "scsi"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.transport, DiskTransport(c.name, c.link)) << c.name;

    const char* data = "E:ID_MODEL_ENC=x\nE:ID_MODEL=Disk_1\nE:ID_MODEL2=no\nID_MODEL=no\n";
    EXPECT_EQ("Disk_1", UdevProperty(data, "ID_MODEL"));
    EXPECT_EQ("", UdevProperty(data, "ID_SERIAL"));
    EXPECT_EQ("", UdevProperty("E:ID_MODEL=", "ID_MODEL"));
}

// lsblk's disks by name with their sizes; empty when lsblk is not there.
std::map<std::string, std::string> LsblkDisks() {
    std::map<std::string, std::string> disks;
    FILE* lsblk = ::popen("lsblk -dnbo NAME,SIZE,TYPE 2>/dev/null", "r");
    if (!lsblk)
        return disks;
    char line[1024];
    while (std::fgets(line, sizeof line, lsblk)) {
        std::istringstream fields(line);
        std::string name, size, type;
        if (fields >> name >> size >> type && type == "disk" && IsDiskName(name) && size != "0")
            disks[name] = size;
    }
    ::pclose(lsblk);
    return disks;
}

TEST(StorageDiskDrivesLiveTest, TheDisksLsblkShows) {
    const auto expected = LsblkDisks();
    if (expected.empty())
        GTEST_SKIP() << "lsblk shows no disk";
    std::map<std::string, std::string> found;
    for (const WmiObject& drive : DiskDrives(SystemRoot()))
        if (ShownUtf8(drive, L"Size") != "0")
            found[ShownUtf8(drive, L"DeviceID")] = ShownUtf8(drive, L"Size");
    EXPECT_EQ(expected, found);
}

}  // namespace
