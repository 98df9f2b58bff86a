// The storage providers on a small system tree: a desktop with a disk, a USB stick, a
// removable disk, optical drives, shares, and the mounts that are no drives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/linux/live/classes.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;

namespace {

const SystemRoot kDesktop = TreeRoot(FENNOCK_TREES_DIR "/storage-desktop");
const SystemRoot kNothing = TreeRoot(FENNOCK_TREES_DIR "/storage-none");

const WmiObject* WithField(const WmiObjectList& objects, const wchar_t* name,
                           const std::wstring& value) {
    for (const WmiObject& object : objects)
        if (Shown(object, name) == value)
            return &object;
    return nullptr;
}

TEST(StorageTreesTest, ListsTheDrivesOfTheMountTable) {
    const auto disks = LogicalDisks(kDesktop);
    std::vector<std::wstring> ids;
    for (const WmiObject& disk : disks)
        ids.push_back(Shown(disk, L"DeviceID"));
    const std::vector<std::wstring> expected = {L"/",
                                                L"/boot/efi",
                                                L"/tmp",
                                                L"/media/user/My Backup",
                                                L"/media/user/DVD\tDisc",
                                                L"/mnt/nfs",
                                                L"/mnt/projects",
                                                L"/mnt/smb",
                                                L"/home/user/remote",
                                                L"/home",
                                                L"/media/user/STICK",
                                                L"/mnt/stack"};
    EXPECT_EQ(expected, ids);
}

TEST(StorageTreesTest, GivesEachDriveItsKindFileSystemLabelAndShare) {
    struct Row {
        const wchar_t* id;
        const wchar_t* type;
        const wchar_t* description;
        const wchar_t* fileSystem;
        const wchar_t* provider;
        const wchar_t* volume;
    };
    const Row rows[] = {
        {L"/", L"3", L"Local Fixed Disk", L"ext4", L"(null)", L""},
        {L"/boot/efi", L"3", L"Local Fixed Disk", L"vfat", L"(null)", L"EFI"},
        {L"/tmp", L"6", L"RAM Disk", L"tmpfs", L"(null)", L"(null)"},
        {L"/media/user/My Backup", L"2", L"Removable Disk", L"ext4", L"(null)", L"My Backup"},
        {L"/media/user/DVD\tDisc", L"5", L"CD-ROM Disc", L"iso9660", L"(null)", L""},
        {L"/mnt/nfs", L"4", L"Network Connection", L"nfs4", L"fileserver:/export/home", L"(null)"},
        {L"/mnt/projects", L"4", L"Network Connection", L"nfs4", L"fileserver:/export/projects",
         L"(null)"},
        {L"/mnt/smb", L"4", L"Network Connection", L"cifs", L"//fileserver/Scans & Belege",
         L"(null)"},
        {L"/home/user/remote", L"4", L"Network Connection", L"fuse.sshfs", L"user@host:/home",
         L"(null)"},
        {L"/home", L"3", L"Local Fixed Disk", L"btrfs", L"(null)", L"home"},
        {L"/media/user/STICK", L"2", L"Removable Disk", L"vfat", L"(null)", L""},
        {L"/mnt/stack", L"4", L"Network Connection", L"nfs", L"server:/stack", L"(null)"},
    };
    const auto disks = LogicalDisks(kDesktop);
    for (const Row& row : rows) {
        const WmiObject* disk = WithField(disks, L"DeviceID", row.id);
        ASSERT_NE(nullptr, disk) << row.id;
        EXPECT_EQ(row.type, Shown(*disk, L"DriveType")) << row.id;
        EXPECT_EQ(WmiValue::Kind::UInt32, disk->Find(L"DriveType")->kind);
        EXPECT_EQ(row.description, Shown(*disk, L"Description")) << row.id;
        EXPECT_EQ(row.fileSystem, Shown(*disk, L"FileSystem")) << row.id;
        EXPECT_EQ(row.provider, Shown(*disk, L"ProviderName")) << row.id;
        EXPECT_EQ(row.volume, Shown(*disk, L"VolumeName")) << row.id;
        // Sizes come from the kernel, which knows nothing of a tree.
        EXPECT_EQ(L"(null)", Shown(*disk, L"Size")) << row.id;
        EXPECT_EQ(L"(null)", Shown(*disk, L"FreeSpace")) << row.id;
    }
}

TEST(StorageTreesTest, ListsOpticalDrivesByNameTypeAndMedia) {
    const auto drives = CdromDrives(kDesktop);
    ASSERT_EQ(3u, drives.size());
    // A SCSI device of type 5 under another name.
    EXPECT_EQ(L"ELBY CLONEDRIVE", Shown(drives[0], L"Name"));
    EXPECT_EQ(L"sdf", Shown(drives[0], L"DeviceID"));
    EXPECT_EQ(L"(null)", Shown(drives[0], L"Drive"));
    EXPECT_EQ(L"(null)", Shown(drives[0], L"MediaLoaded"));

    EXPECT_EQ(L"HL-DT-ST DVDRAM GH24NSD1", Shown(drives[1], L"Name"));
    EXPECT_EQ(L"sr0", Shown(drives[1], L"DeviceID"));
    EXPECT_EQ(L"/media/user/DVD\tDisc", Shown(drives[1], L"Drive"));
    EXPECT_EQ(L"-1", Shown(drives[1], L"MediaLoaded"));

    // No maker or model: the device's name, and no disc in it.
    EXPECT_EQ(L"sr1", Shown(drives[2], L"Name"));
    EXPECT_EQ(L"(null)", Shown(drives[2], L"Drive"));
    EXPECT_EQ(L"0", Shown(drives[2], L"MediaLoaded"));
}

TEST(StorageTreesTest, ListsSoundCardsByTheirNames) {
    const auto devices = SoundDevices(kDesktop);
    ASSERT_EQ(2u, devices.size());
    EXPECT_EQ(L"HDA Intel PCH", Shown(devices[0], L"Description"));
    EXPECT_EQ(L"HDA Intel PCH", Shown(devices[0], L"Name"));
    EXPECT_EQ(L"card0", Shown(devices[0], L"DeviceID"));
    EXPECT_EQ(L"(null)", Shown(devices[0], L"Manufacturer"));
    EXPECT_EQ(L"USB Audio Device", Shown(devices[1], L"Description"));
    EXPECT_EQ(L"card1", Shown(devices[1], L"DeviceID"));
}

TEST(StorageTreesTest, ASystemWithoutTheSourcesHasNothing) {
    EXPECT_TRUE(LogicalDisks(kNothing).empty());
    EXPECT_TRUE(CdromDrives(kNothing).empty());
    EXPECT_TRUE(SoundDevices(kNothing).empty());
}

}  // namespace
