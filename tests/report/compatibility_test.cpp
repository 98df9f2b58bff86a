// The Windows XP, Vista and 7 verdicts from clock, memory and disk size.
#include <gtest/gtest.h>

#include <string>

#include "model_fixture.h"

namespace {

constexpr double kGiB = 1073741824.0;

std::wstring Marked(const std::wstring& text) {
    return L"<span style=\"color:red\"><i>" + text + L"</i></span>";
}

const std::wstring kAllMet = L"This computer meets all the recommended minimums for Windows 7";

class CompatibilityTest : public ModelTest {
  protected:
    void Assess(double hertz, double memory, double disk) {
        report_ = std::make_unique<CInventoryReport>(*config_);
        report().m_processorSpeed = hertz;
        report().m_totalPhysicalMemory = memory;
        report().m_totalDiskSize = disk;
        report().AssessCompatibility();
    }

    // Color, status and the three actual texts of one system.
    struct Verdict {
        std::wstring color, status, cpu, ram, disk;
        bool operator==(const Verdict&) const = default;
    };
    Verdict Win7() const {
        const CInventoryReport& r = *report_;
        return {r.m_compatWin7Color, r.m_compatWin7Status, r.m_compatWin7CpuActual,
                r.m_compatWin7RamActual, r.m_compatWin7DiskActual};
    }
    Verdict Vista() const {
        const CInventoryReport& r = *report_;
        return {r.m_compatVistaColor, r.m_compatVistaStatus, r.m_compatVistaCpuActual,
                r.m_compatVistaRamActual, r.m_compatVistaDiskActual};
    }
    Verdict Xp() const {
        const CInventoryReport& r = *report_;
        return {r.m_compatWinxpColor, r.m_compatWinxpStatus, r.m_compatWinxpCpuActual,
                r.m_compatWinxpRamActual, r.m_compatWinxpDiskActual};
    }
};

TEST_F(CompatibilityTest, RequirementTextsOfTheThreeSystems) {
    Assess(0, 0, 0);
    const CInventoryReport& r = report();
    struct Case {
        const std::wstring* field;
        std::wstring expected;
    };
    const Case cases[] = {
        {&r.m_compatWin7CpuRequired, L"1.00GHz"},    {&r.m_compatWin7CpuRecommended, L"1.00GHz"},
        {&r.m_compatWin7RamRequired, L"1.00GB"},     {&r.m_compatWin7RamRecommended, L"2.00GB"},
        {&r.m_compatWin7DiskRequired, L"20.00GB"},   {&r.m_compatWin7DiskRecommended, L"40.00GB"},
        {&r.m_compatVistaCpuRequired, L"800.00MHz"}, {&r.m_compatVistaCpuRecommended, L"1.00GHz"},
        {&r.m_compatVistaRamRequired, L"512.00MB"},  {&r.m_compatVistaRamRecommended, L"1.00GB"},
        {&r.m_compatVistaDiskRequired, L"20.00GB"},  {&r.m_compatVistaDiskRecommended, L"40.00GB"},
        {&r.m_compatWinxpCpuRequired, L"233.00MHz"}, {&r.m_compatWinxpCpuRecommended, L"300.00MHz"},
        {&r.m_compatWinxpRamRequired, L"64.00MB"},   {&r.m_compatWinxpRamRecommended, L"128.00MB"},
        {&r.m_compatWinxpDiskRequired, L"1.50GB"},   {&r.m_compatWinxpDiskRecommended, L"1.50GB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(*c.field, c.expected);
    }
}

TEST_F(CompatibilityTest, Verdicts) {
    struct Case {
        const char* name;
        double hertz, memory, disk;
        Verdict win7, vista, xp;
    };
    const std::wstring kNoneKnown =
        L"CPU speed unknown&#13;RAM size unknown&#13;Disk size unknown&#13;";
    const Case cases[] = {
        {"fast processor, little memory, large disk",
         2400000000,
         512 * 1024 * 1024,
         80000000000,
         {L"red", L"1.00GB of RAM or higher required&#13;", L"2.40GHz", Marked(L"512.00MB"),
          L"74.51GB"},
         {L"yellow", L"1.00GB of RAM or higher recommended&#13;", L"2.40GHz", Marked(L"512.00MB"),
          L"74.51GB"},
         {L"green", kAllMet, L"2.40GHz", L"512.00MB", L"74.51GB"}},
        {"exactly the Windows 7 minimums",
         1000000000,
         kGiB,
         20 * kGiB,
         {L"yellow",
          L"2.00GB of RAM or higher recommended&#13;40.00GB of disk space or higher "
          L"recommended&#13;",
          L"1.00GHz", Marked(L"1.00GB"), Marked(L"20.00GB")},
         {L"yellow", L"40.00GB of disk space or higher recommended&#13;", L"1.00GHz", L"1.00GB",
          Marked(L"20.00GB")},
         {L"green", kAllMet, L"1.00GHz", L"1.00GB", L"20.00GB"}},
        {"only the disk below the required size",
         3e9,
         4 * kGiB,
         20 * kGiB - 1,
         {L"red", L"20.00GB of disk space or higher required&#13;", L"3.00GHz", L"4.00GB",
          Marked(L"20.00GB")},
         {L"red", L"20.00GB of disk space or higher required&#13;", L"3.00GHz", L"4.00GB",
          Marked(L"20.00GB")},
         {L"green", kAllMet, L"3.00GHz", L"4.00GB", L"20.00GB"}},
        {"one hertz and byte short of the XP requirements",
         233000000 - 1,
         64 * 1024 * 1024 - 1,
         1.5 * kGiB - 1,
         {L"red",
          L"1.00GHz CPU speed or higher required&#13;1.00GB of RAM or higher "
          L"required&#13;20.00GB of disk space or higher required&#13;",
          Marked(L"233.00MHz"), Marked(L"64.00MB"), Marked(L"1.50GB")},
         {L"red",
          L"800.00MHz CPU speed or higher required&#13;512.00MB of RAM or higher "
          L"required&#13;20.00GB of disk space or higher required&#13;",
          Marked(L"233.00MHz"), Marked(L"64.00MB"), Marked(L"1.50GB")},
         {L"red",
          L"233.00MHz CPU speed or higher required&#13;64.00MB of RAM or higher "
          L"required&#13;1.50GB of disk space or higher required&#13;",
          Marked(L"233.00MHz"), Marked(L"64.00MB"), Marked(L"1.50GB")}},
        {"between XP's required and recommended values",
         250000000,
         100 * 1024 * 1024,
         2 * kGiB,
         {L"red",
          L"1.00GHz CPU speed or higher required&#13;1.00GB of RAM or higher "
          L"required&#13;20.00GB of disk space or higher required&#13;",
          Marked(L"250.00MHz"), Marked(L"100.00MB"), Marked(L"2.00GB")},
         {L"red",
          L"800.00MHz CPU speed or higher required&#13;512.00MB of RAM or higher "
          L"required&#13;20.00GB of disk space or higher required&#13;",
          Marked(L"250.00MHz"), Marked(L"100.00MB"), Marked(L"2.00GB")},
         {L"yellow",
          L"300.00MHz CPU speed or higher recommended&#13;128.00MB of RAM or higher "
          L"recommended&#13;",
          Marked(L"250.00MHz"), Marked(L"100.00MB"), L"2.00GB"}},
        {"above every recommendation",
         3e9,
         8 * kGiB,
         500 * kGiB,
         {L"green", kAllMet, L"3.00GHz", L"8.00GB", L"500.00GB"},
         {L"green", kAllMet, L"3.00GHz", L"8.00GB", L"500.00GB"},
         {L"green", kAllMet, L"3.00GHz", L"8.00GB", L"500.00GB"}},
        {"nothing measured: unknown, not short",
         0,
         0,
         0,
         {L"yellow", kNoneKnown, L"unknown", L"unknown", L"unknown"},
         {L"yellow", kNoneKnown, L"unknown", L"unknown", L"unknown"},
         {L"yellow", kNoneKnown, L"unknown", L"unknown", L"unknown"}},
        {"an unknown clock beside a short memory and a large disk",
         0,
         512 * 1024 * 1024,
         80000000000,
         {L"red", L"CPU speed unknown&#13;1.00GB of RAM or higher required&#13;", L"unknown",
          Marked(L"512.00MB"), L"74.51GB"},
         {L"yellow", L"CPU speed unknown&#13;1.00GB of RAM or higher recommended&#13;", L"unknown",
          Marked(L"512.00MB"), L"74.51GB"},
         {L"yellow", L"CPU speed unknown&#13;", L"unknown", L"512.00MB", L"74.51GB"}},
    };
    for (const auto& c : cases) {
        Assess(c.hertz, c.memory, c.disk);
        EXPECT_TRUE(Win7() == c.win7)
            << c.name << ": Windows 7 is " << Win7().color << " [" << Win7().status << "]";
        EXPECT_TRUE(Vista() == c.vista)
            << c.name << ": Vista is " << Vista().color << " [" << Vista().status << "]";
        EXPECT_TRUE(Xp() == c.xp) << c.name << ": XP is " << Xp().color << " [" << Xp().status
                                  << "]";
    }
}

TEST_F(CompatibilityTest, SeveralLocalDisksCountTogetherAndNetworkDrivesNot) {
    report().RenderLogicalDisk({
        {{L"DriveType", L"3"}, {L"DeviceID", L"C:"}, {L"Size", L"16106127360"}},  // 15 GB
        {{L"DriveType", L"3"}, {L"DeviceID", L"D:"}, {L"Size", L"16106127360"}},
        {{L"DriveType", L"4"}, {L"DeviceID", L"Z:"}, {L"Size", L"1099511627776"}},
    });
    report().m_processorSpeed = 3e9;
    report().m_totalPhysicalMemory = 4 * kGiB;
    report().AssessCompatibility();
    EXPECT_EQ(report().m_compatWin7DiskActual, Marked(L"30.00GB"));
    EXPECT_EQ(report().m_compatWin7Color, L"yellow");
}

}  // namespace
