// USB devices as Win32_PnPEntity: devices and not interfaces, ids in Windows' form, names
// from the device or the ids database.
#include <gtest/gtest.h>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/devices/usb_devices.h"
#include "platform/linux/live/live_wmi.h"
#include "tree_root.h"
#include "util/utf.h"

using namespace platform;
using namespace platform::live;

namespace {

TEST(UsbDevicesTest, DeviceIdsInWindowsForm) {
    EXPECT_EQ("USB\\VID_046D&PID_C52B\\1-1", UsbDeviceId(0x046d, 0xc52b, "", "1-1"));
    EXPECT_EQ("USB\\VID_0781&PID_5581\\4C5300", UsbDeviceId(0x0781, 0x5581, "4C5300", "1-2"));
    for (const char* unusable : {"AB 12", "a\\b", "\xc3\xa9", "\t"})
        EXPECT_EQ("USB\\VID_0001&PID_0A00\\2-1.3", UsbDeviceId(1, 0xa00, unusable, "2-1.3"))
            << unusable;
}

TEST(UsbDevicesTest, DevicesOfTheBusAnsweringTheCataloguesQuery) {
    LiveWmi wmi(TreeRoot(FENNOCK_TREES_DIR "/devices-usb"), {{L"Win32_PnPEntity", UsbDevices}});
    ASSERT_EQ(0, wmi.Connect());
    const auto objects = wmi.ExecQuery(L"Select * from Win32_PnPEntity Where DeviceID Like 'USB%'");
    ASSERT_NE(nullptr, objects);
    std::vector<std::vector<std::string>> rows;
    while (objects->Next()) {
        std::vector<std::string> row;
        for (const wchar_t* name : {L"DeviceID", L"Name", L"Manufacturer"}) {
            WmiValue value;
            EXPECT_TRUE(objects->Get(name, value));
            row.push_back(value.kind == WmiValue::Kind::Null ? "(null)" : WideToUtf8(value.text));
        }
        rows.push_back(row);
    }
    const std::vector<std::vector<std::string>> expected = {
        {"USB\\VID_046D&PID_C52B\\1-1", "USB Receiver", "Logitech"},
        {"USB\\VID_0781&PID_5581\\4C530001230923117223", "SanDisk Corp. Ultra", "(null)"},
        {"USB\\VID_04D9&PID_A0F8\\1-3.4", "USB Keyboard", "(null)"},
        {"USB\\VID_1D6B&PID_0002\\0000:00:14.0", "xHCI Host Controller",
         "Linux 6.1.0-13-amd64 xhci-hcd"},
    };
    EXPECT_EQ(expected, rows) << "no interface (1-1:1.0), no device with a bad id (1-4)";
}

}  // namespace
