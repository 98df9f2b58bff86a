// Desktop monitors: EDID blocks built here byte by byte, and connected outputs of a DRM tree
// written to a temporary folder.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/devices/edid.h"
#include "temp_folder.h"
#include "tree_root.h"
#include "wmi_value_text.h"

using namespace platform;
using namespace platform::live;

namespace {

// An EDID base block: header, maker, product, serial, four 18-byte descriptors, checksum.
class EdidBlock {
  public:
    EdidBlock() : bytes_(128, '\0') {
        const unsigned char header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
        for (int i = 0; i < 8; ++i)
            bytes_[i] = static_cast<char>(header[i]);
        bytes_[18] = 1;  // version 1.4
        bytes_[19] = 4;
    }
    EdidBlock& Maker(const char (&id)[4], unsigned product, std::uint32_t serial) {
        const unsigned packed =
            ((id[0] - 'A' + 1) << 10) | ((id[1] - 'A' + 1) << 5) | (id[2] - 'A' + 1);
        Set(8, packed >> 8);
        Set(9, packed);
        Set(10, product);
        Set(11, product >> 8);
        for (int i = 0; i < 4; ++i)
            Set(12 + i, serial >> (8 * i));
        return *this;
    }
    EdidBlock& Timing(int slot, unsigned width, unsigned height) {
        const std::size_t at = 54 + 18 * slot;
        Set(at, 0x02);  // pixel clock 148.50 MHz
        Set(at + 1, 0x3A);
        Set(at + 2, width);
        Set(at + 4, (width >> 8) << 4);
        Set(at + 5, height);
        Set(at + 7, (height >> 8) << 4);
        return *this;
    }
    EdidBlock& Text(int slot, unsigned tag, const std::string& text) {
        const std::size_t at = 54 + 18 * slot;
        Set(at + 3, tag);
        for (std::size_t i = 0; i < 13; ++i)
            Set(at + 5 + i, i < text.size() ? static_cast<unsigned char>(text[i]) : ' ');
        return *this;
    }
    std::string Bytes() const {
        std::string bytes = bytes_;
        unsigned sum = 0;
        for (std::size_t i = 0; i < 127; ++i)
            sum += static_cast<unsigned char>(bytes[i]);
        bytes[127] = static_cast<char>((256 - sum % 256) % 256);
        return bytes;
    }

  private:
    void Set(std::size_t at, unsigned value) { bytes_[at] = static_cast<char>(value & 0xFF); }
    std::string bytes_;
};

TEST(EdidTest, ReadsMakerProductTextsAndPreferredTiming) {
    const auto edid = ParseEdid(EdidBlock()
                                    .Maker("DEL", 0xA0B1, 0x12345678)
                                    .Timing(0, 2560, 1440)
                                    .Timing(1, 1920, 1080)
                                    .Text(2, 0xFF, "CN0ABC123\n")
                                    .Text(3, 0xFC, "DELL U2719D\n")
                                    .Bytes());
    ASSERT_TRUE(edid);
    EXPECT_EQ("DEL", edid->manufacturerId);
    EXPECT_EQ(0xA0B1, edid->productCode);
    EXPECT_EQ(0x12345678u, edid->serialNumber);
    EXPECT_EQ(L"DELL U2719D", edid->name);
    EXPECT_EQ(L"CN0ABC123", edid->serialText);
    EXPECT_EQ(2560u, edid->width) << "the first timing is the preferred one";
    EXPECT_EQ(1440u, edid->height);
    EXPECT_EQ("DELA0B1", PnpDeviceId(*edid));
    EXPECT_EQ("Dell", PnpManufacturer(edid->manufacturerId));
    EXPECT_EQ("QQQ", PnpManufacturer("QQQ"));
}

TEST(EdidTest, TextsOfThirteenBytesAndOddBytes) {
    // Thirteen bytes without a line feed; a blank-padded name; bytes outside ASCII.
    auto edid = ParseEdid(EdidBlock()
                              .Maker("GSM", 1, 0)
                              .Text(0, 0xFC, "ABCDEFGHIJKLM")
                              .Text(1, 0xFF, std::string("S\0N<\xE9>\"\\\n", 9))
                              .Bytes());
    ASSERT_TRUE(edid);
    EXPECT_EQ(L"ABCDEFGHIJKLM", edid->name);
    EXPECT_EQ(L"S\uFFFDN<\uFFFD>\"\\", edid->serialText);
    EXPECT_EQ(0u, edid->width) << "no timing descriptor";

    edid = ParseEdid(EdidBlock().Maker("AAA", 0, 0).Text(0, 0xFC, "\n").Bytes());
    ASSERT_TRUE(edid);
    EXPECT_EQ(L"", edid->name);
}

TEST(EdidTest, DamagedBlocksAreRefused) {
    const std::string good = EdidBlock().Maker("DEL", 1, 2).Text(0, 0xFC, "X\n").Bytes();
    ASSERT_TRUE(ParseEdid(good));
    EXPECT_TRUE(ParseEdid(good + std::string(128, '\x55'))) << "extension blocks follow";

    std::string badChecksum = good;
    badChecksum[127] = static_cast<char>(badChecksum[127] + 1);
    std::string badHeader = good;
    badHeader[0] = 0x01;
    badHeader[127] = static_cast<char>(badHeader[127] - 1);
    EXPECT_FALSE(ParseEdid(badChecksum));
    EXPECT_FALSE(ParseEdid(badHeader));
    EXPECT_FALSE(ParseEdid(good.substr(0, 127)));
    EXPECT_FALSE(ParseEdid(""));

    // Maker bits that are no letters: no id, no hardware id.
    std::string noLetters = EdidBlock().Bytes();
    const auto edid = ParseEdid(noLetters);
    ASSERT_TRUE(edid);
    EXPECT_EQ("", edid->manufacturerId);
    EXPECT_EQ("", PnpDeviceId(*edid));
}

class DrmTree {
  public:
    void Output(const std::string& name, const std::string& status, const std::string& edid,
                const std::string& modes = "") {
        const auto folder = temp_.path() / "sys/class/drm" / name;
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "status") << status << "\n";
        std::ofstream(folder / "edid", std::ios::binary) << edid;
        std::ofstream(folder / "modes") << modes;
    }
    SystemRoot Root() const { return TreeRoot(temp_.path().string()); }

  private:
    TempFolder temp_;
};

TEST(DesktopMonitorTest, OnePerConnectedOutput) {
    DrmTree tree;
    tree.Output("card0-DP-1", "connected",
                EdidBlock()
                    .Maker("DEL", 0xA0B1, 7)
                    .Timing(0, 2560, 1440)
                    .Text(1, 0xFC, "DELL U2719D\n")
                    .Bytes());
    tree.Output("card0-DP-2", "disconnected", "");
    tree.Output("card0-HDMI-A-1", "connected",
                EdidBlock().Maker("QQQ", 0x0042, 0).Timing(0, 1920, 1080).Bytes());
    tree.Output("card1-VGA-1", "connected", "garbage", "1024x768\n800x600\n");
    std::filesystem::create_directories(tree.Root().Path("/sys/class/drm/card0"));
    std::ofstream(tree.Root().Path("/sys/class/drm/version")) << "drm 1.1.0\n";

    const WmiObjectList objects = DesktopMonitors(tree.Root());
    ASSERT_EQ(3u, objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(L"DesktopMonitor" + std::to_wstring(i + 1), Shown(objects[i], L"DeviceID"));
        for (const wchar_t* property : {L"Name", L"Description", L"MonitorManufacturer",
                                        L"MonitorType", L"ScreenWidth", L"ScreenHeight"})
            EXPECT_NE(nullptr, objects[i].Find(property));
    }
    EXPECT_EQ(L"DELL U2719D", Shown(objects[0], L"Name"));
    EXPECT_EQ(L"DELL U2719D", Shown(objects[0], L"MonitorType"));
    EXPECT_EQ(L"Dell", Shown(objects[0], L"MonitorManufacturer"));
    EXPECT_EQ(WmiValue::Kind::UInt32, objects[0].Find(L"ScreenWidth")->kind);
    EXPECT_EQ(2560, objects[0].Find(L"ScreenWidth")->number);
    EXPECT_EQ(1440, objects[0].Find(L"ScreenHeight")->number);

    // No name descriptor: the PnP hardware id; an unknown maker keeps its three letters.
    EXPECT_EQ(L"QQQ0042", Shown(objects[1], L"Name"));
    EXPECT_EQ(L"QQQ", Shown(objects[1], L"MonitorManufacturer"));

    // A damaged EDID: nothing from it, the preferred mode's size still.
    EXPECT_EQ(L"(null)", Shown(objects[2], L"Name"));
    EXPECT_EQ(L"(null)", Shown(objects[2], L"MonitorManufacturer"));
    EXPECT_EQ(1024, objects[2].Find(L"ScreenWidth")->number);
    EXPECT_EQ(768, objects[2].Find(L"ScreenHeight")->number);
}

TEST(DesktopMonitorTest, NoDisplayDriversNoMonitors) {
    EXPECT_TRUE(DesktopMonitors(TreeRoot(FENNOCK_TREES_DIR "/missing")).empty());
}

TEST(DesktopMonitorLiveTest, MonitorsCarryTheirDeviceIds) {
    for (const auto& object : DesktopMonitors(SystemRoot()))
        EXPECT_EQ(0u, Shown(object, L"DeviceID").rfind(L"DesktopMonitor", 0));
}

}  // namespace
