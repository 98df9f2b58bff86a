// The mount table's lines, as odd as the kernel writes them.
#include <gtest/gtest.h>

#include "platform/linux/live/storage/mount_table.h"
#include "tree_root.h"

using namespace platform::live;

namespace {

TEST(StorageMountTableTest, ReadsTheFieldsAroundTheOptionalOnes) {
    const auto mounts = ParseMountInfo(
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard\n"
        "41 27 8:33 / /media/stick rw shared:15 master:1 propagate_from:2 unbindable - vfat "
        "/dev/sdc1 rw\n"
        "36 27 8:2 /srv/data /data rw,relatime shared:1 - ext4 /dev/sda2 rw\n");
    ASSERT_EQ(3u, mounts.size());
    EXPECT_EQ("254:0", mounts[0].device);
    EXPECT_EQ("/", mounts[0].root);
    EXPECT_EQ("/", mounts[0].mountPoint);
    EXPECT_EQ("ext4", mounts[0].fsType);
    EXPECT_EQ("/dev/vda", mounts[0].source);
    EXPECT_EQ("/media/stick", mounts[1].mountPoint);
    EXPECT_EQ("vfat", mounts[1].fsType);
    EXPECT_EQ("/dev/sdc1", mounts[1].source);
    EXPECT_EQ("/srv/data", mounts[2].root);
    EXPECT_EQ("/data", mounts[2].mountPoint);
}

TEST(StorageMountTableTest, DecodesEscapedBlanksTabsLineEndsAndBackslashes) {
    const auto mounts = ParseMountInfo(
        "30 27 8:17 / /media/My\\040Backup\\011two\\012lines\\134end rw - ext4 /dev/sdb1 rw\n"
        "33 27 0:41 / /mnt/smb rw - cifs //server/Scans\\040&\\040Belege rw\n"
        // Not three octal digits: kept as written.
        "34 27 0:42 / /mnt/a\\08x\\04 rw - nfs srv:/x rw\n");
    ASSERT_EQ(3u, mounts.size());
    EXPECT_EQ("/media/My Backup\ttwo\nlines\\end", mounts[0].mountPoint);
    EXPECT_EQ("//server/Scans & Belege", mounts[1].source);
    EXPECT_EQ("/mnt/a\\08x\\04", mounts[2].mountPoint);
}

TEST(StorageMountTableTest, LeavesOutLinesCutShortOrGarbled) {
    const auto mounts = ParseMountInfo(
        "46 27 8:81 / /mnt/cut rw,relatime - ext4\n"            // no source
        "47 27 8:82 / /mnt/nosep rw,relatime ext4 /dev/x rw\n"  // no separator
        "48 27 eight / /mnt/dev rw - ext4 /dev/x rw\n"          // no device number
        "49 27 8:83 / relative rw - ext4 /dev/x rw\n"           // no absolute path
        "\n"
        "garbage \xff\xfe\n"
        "50 27 8:84 / /mnt/ok rw - ext4 /dev/ok rw\n"
        "51 27 8:85 / /mnt/last rw - ext4 /dev/last");  // cut inside the last line
    ASSERT_EQ(1u, mounts.size());
    EXPECT_EQ("/mnt/ok", mounts[0].mountPoint);
    EXPECT_TRUE(ParseMountInfo("").empty());
}

TEST(StorageMountTableTest, KeepsAnEmptySourceInItsPlace) {
    const auto mounts = ParseMountInfo("52 27 0:60 / /mnt/empty rw - tmpfs  rw,size=4k\n");
    ASSERT_EQ(1u, mounts.size());
    EXPECT_EQ("tmpfs", mounts[0].fsType);
    EXPECT_EQ("", mounts[0].source);
}

TEST(StorageMountTableTest, ReadsTheTableOfTheRootAndNothingWithoutOne) {
    const auto mounts = ReadMountTable(TreeRoot(FENNOCK_TREES_DIR "/storage-desktop"));
    ASSERT_FALSE(mounts.empty());
    EXPECT_EQ("/proc", mounts.front().mountPoint);
    EXPECT_TRUE(ReadMountTable(TreeRoot(FENNOCK_TREES_DIR "/storage-none")).empty());
}

}  // namespace
