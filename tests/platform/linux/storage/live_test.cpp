// The drives of the machine running the tests, checked for shape and against df.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/storage/mount_table.h"
#include "util/utf.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;

namespace {

struct DfFigures {
    unsigned long long size = 0;
    unsigned long long available = 0;
};

// df's figures in bytes by mount point; empty when df is not there. The time limit keeps
// a dead share from stopping the test.
std::map<std::string, DfFigures> DfByMountPoint() {
    std::map<std::string, DfFigures> figures;
    FILE* df = ::popen("timeout 20 df -B1 --output=size,avail,target 2>/dev/null", "r");
    if (!df)
        return figures;
    char line[8192];
    bool header = true;
    while (std::fgets(line, sizeof line, df)) {
        if (header) {
            header = false;
            continue;
        }
        std::istringstream fields(line);
        DfFigures f;
        std::string target;
        if (fields >> f.size >> f.available >> std::ws && std::getline(fields, target))
            figures[target] = f;
    }
    ::pclose(df);
    return figures;
}

TEST(StorageLiveTest, TheRootIsALocalDiskOfDfsSize) {
    const auto disks = LogicalDisks(SystemRoot());
    const WmiObject* root = nullptr;
    for (const WmiObject& disk : disks)
        if (ShownUtf8(disk, L"DeviceID") == "/")
            root = &disk;
    ASSERT_NE(nullptr, root);
    const WmiValue* type = root->Find(L"DriveType");
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(WmiValue::Kind::UInt32, type->kind);
    EXPECT_EQ(3, type->number);
    EXPECT_NE("(null)", ShownUtf8(*root, L"FileSystem"));

    const auto df = DfByMountPoint();
    const auto figures = df.find("/");
    if (figures == df.end())
        GTEST_SKIP() << "df does not answer";
    EXPECT_EQ(std::to_string(figures->second.size), ShownUtf8(*root, L"Size"));
}

TEST(StorageLiveTest, EveryDriveIsAMountPointWithEveryProperty) {
    std::set<std::string> mountPoints;
    for (const MountEntry& mount : ReadMountTable(SystemRoot()))
        mountPoints.insert(mount.mountPoint);
    const auto df = DfByMountPoint();
    for (const WmiObject& disk : LogicalDisks(SystemRoot())) {
        const std::string id = ShownUtf8(disk, L"DeviceID");
        EXPECT_EQ(1u, mountPoints.count(id)) << id;
        for (const wchar_t* name : {L"DriveType", L"Size", L"FreeSpace", L"FileSystem", L"DeviceID",
                                    L"ProviderName", L"VolumeName", L"Description"})
            EXPECT_NE(nullptr, disk.Find(name)) << id << " " << WideToUtf8(name);
        const auto figures = df.find(id);
        if (figures == df.end() || ShownUtf8(disk, L"Size") == "(null)")
            continue;
        EXPECT_EQ(std::to_string(figures->second.size), ShownUtf8(disk, L"Size")) << id;
        // Free space moves while others write; a hundredth of the disk is far more than
        // moves between two looks.
        const double free = std::stod(ShownUtf8(disk, L"FreeSpace"));
        const double dfFree = static_cast<double>(figures->second.available);
        EXPECT_NEAR(dfFree, free, static_cast<double>(figures->second.size) / 100) << id;
    }
}

TEST(StorageLiveTest, OpticalDrivesAndSoundCardsHaveTheirKeys) {
    for (const WmiObject& drive : CdromDrives(SystemRoot()))
        EXPECT_NE("(null)", ShownUtf8(drive, L"Name"));
    for (const WmiObject& device : SoundDevices(SystemRoot()))
        EXPECT_NE("(null)", ShownUtf8(device, L"Description"));
}

}  // namespace
