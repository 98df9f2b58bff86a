// The system's WMI through COM: the shape of its answers, not their values.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows/native.h"

using platform::WmiObjects;
using platform::WmiValue;
using platform::win::Win32Wmi;
using Kind = WmiValue::Kind;

namespace {

// The program enters the multithreaded apartment at start; the test program does not.
class WmiLive : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        entered_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    }
    static void TearDownTestSuite() {
        if (entered_)
            ::CoUninitialize();
    }
    void SetUp() override {
        ASSERT_TRUE(entered_);
        ASSERT_EQ(0, wmi_.Connect());
    }

    // The named property of every object the statement returns (nullopt where Get fails).
    std::vector<std::optional<WmiValue>> Column(const std::wstring& wql, const std::wstring& name) {
        std::vector<std::optional<WmiValue>> values;
        std::unique_ptr<WmiObjects> objects = wmi_.ExecQuery(wql);
        EXPECT_NE(nullptr, objects) << "refused";
        while (objects && objects->Next()) {
            WmiValue value;
            values.push_back(objects->Get(name, value) ? std::optional(value) : std::nullopt);
        }
        return values;
    }
    WmiValue Single(const std::wstring& wql, const std::wstring& name) {
        const auto values = Column(wql, name);
        EXPECT_FALSE(values.empty());
        if (values.empty() || !values.front())
            return WmiValue::Of(Kind::Empty);
        return *values.front();
    }

    static inline bool entered_ = false;
    Win32Wmi wmi_;
};

TEST_F(WmiLive, ScalarsComeWithTheirKinds) {
    const WmiValue bios = Single(L"Select * from Win32_BIOS", L"Name");
    EXPECT_EQ(Kind::String, bios.kind);
    EXPECT_FALSE(bios.text.empty());
    EXPECT_FALSE(bios.isArray);

    const std::wstring os = L"Select * from Win32_OperatingSystem";
    const WmiValue caption = Single(os, L"Caption");
    EXPECT_EQ(Kind::String, caption.kind);
    EXPECT_FALSE(caption.text.empty());
    // Property names are matched without regard to case (the catalogue relies on it).
    EXPECT_EQ(Kind::String, Single(os, L"LastBootupTime").kind);
    // 64-bit numbers arrive as strings.
    EXPECT_EQ(Kind::String, Single(os, L"TotalVisibleMemorySize").kind);
    EXPECT_EQ(Kind::Int16, Single(os, L"CurrentTimeZone").kind);
    EXPECT_EQ(Kind::Boolean, Single(os, L"Primary").kind);
}

TEST_F(WmiLive, UnsignedPropertiesAreUnsigned) {
    const auto ids = Column(L"Select * from Win32_Process", L"ProcessId");
    EXPECT_GE(ids.size(), 2u);
    bool foundSelf = false;
    for (const auto& id : ids) {
        ASSERT_TRUE(id.has_value());
        EXPECT_EQ(Kind::UInt32, id->kind);
        EXPECT_GE(id->number, 0);
        foundSelf = foundSelf || id->number == static_cast<std::int64_t>(::GetCurrentProcessId());
    }
    EXPECT_TRUE(foundSelf);

    // Delivered as a signed 32-bit variant (unsigned 16-bit in CIM).
    const WmiValue family = Single(L"Select * from Win32_Processor", L"Family");
    EXPECT_EQ(Kind::UInt32, family.kind);
}

TEST_F(WmiLive, ArraysHoldConvertedElements) {
    // Unsigned 16-bit elements in a signed 32-bit array.
    const WmiValue chassis = Single(L"Select * from Win32_SystemEnclosure", L"ChassisTypes");
    ASSERT_TRUE(chassis.isArray);
    EXPECT_FALSE(chassis.elements.empty()) << "every enclosure has a type";
    for (const WmiValue& element : chassis.elements) {
        EXPECT_EQ(Kind::UInt32, element.kind);
        EXPECT_FALSE(element.isArray);
    }

    // String arrays where the adapter has addresses, null where it has none.
    const std::wstring adapters = L"Select * from Win32_NetworkAdapterConfiguration";
    int arrays = 0;
    for (const wchar_t* name : {L"IPAddress", L"IPSubnet", L"DNSServerSearchOrder"}) {
        for (const auto& value : Column(adapters, name)) {
            ASSERT_TRUE(value.has_value()) << name;
            if (value->kind == Kind::Null)
                continue;
            ASSERT_TRUE(value->isArray) << name;
            ++arrays;
            for (const WmiValue& element : value->elements) {
                EXPECT_EQ(Kind::String, element.kind) << name;
                EXPECT_FALSE(element.text.empty()) << name;
            }
        }
    }
    // Every address comes with its subnet.
    const auto addresses = Column(adapters, L"IPAddress");
    const auto subnets = Column(adapters, L"IPSubnet");
    ASSERT_EQ(addresses.size(), subnets.size());
    for (std::size_t i = 0; i < addresses.size(); ++i)
        EXPECT_EQ(addresses[i]->elements.size(), subnets[i]->elements.size());
    if (arrays == 0)
        GTEST_SKIP() << "no network adapter with addresses";
}

TEST_F(WmiLive, WhereClauseAndBooleans) {
    for (const auto& enabled :
         Column(L"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=TRUE",
                L"IPEnabled")) {
        ASSERT_TRUE(enabled.has_value());
        EXPECT_EQ(Kind::Boolean, enabled->kind);
        EXPECT_TRUE(enabled->boolean);
    }
    for (const auto& enabled :
         Column(L"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=FALSE",
                L"IPEnabled")) {
        ASSERT_TRUE(enabled.has_value());
        EXPECT_EQ(Kind::Boolean, enabled->kind);
        EXPECT_FALSE(enabled->boolean);
    }
}

TEST_F(WmiLive, WhatCannotBeAnswered) {
    // An unknown class is refused or answered with nothing, depending on the system.
    std::unique_ptr<WmiObjects> unknown = wmi_.ExecQuery(L"Select * from Win32_NoSuchClass");
    if (unknown) {
        EXPECT_FALSE(unknown->Next());
    }
    EXPECT_EQ(nullptr, wmi_.ExecQuery(L"Selec nothing at all"));

    std::unique_ptr<WmiObjects> bios = wmi_.ExecQuery(L"Select * from Win32_BIOS");
    ASSERT_NE(nullptr, bios);
    WmiValue value;
    EXPECT_FALSE(bios->Get(L"Name", value)) << "no current object yet";
    ASSERT_TRUE(bios->Next());
    EXPECT_FALSE(bios->Get(L"NoSuchProperty", value));
    while (bios->Next()) {
    }
    EXPECT_FALSE(bios->Get(L"Name", value)) << "no current object after the end";
    EXPECT_FALSE(bios->Next());
}

TEST_F(WmiLive, DisconnectEndsResultsAndConnectingAgainWorks) {
    std::unique_ptr<WmiObjects> processes = wmi_.ExecQuery(L"Select * from Win32_Process");
    ASSERT_NE(nullptr, processes);
    ASSERT_TRUE(processes->Next());
    wmi_.Disconnect();
    wmi_.Disconnect();
    WmiValue value;
    EXPECT_FALSE(processes->Get(L"Name", value));
    EXPECT_FALSE(processes->Next());
    EXPECT_EQ(nullptr, wmi_.ExecQuery(L"Select * from Win32_BIOS"));

    // The process security is set by now; a new connection must not trip over that.
    ASSERT_EQ(0, wmi_.Connect());
    EXPECT_EQ(Kind::String, Single(L"Select * from Win32_BIOS", L"Name").kind);
    Win32Wmi second;
    ASSERT_EQ(0, second.Connect());
    std::unique_ptr<WmiObjects> bios = second.ExecQuery(L"Select * from Win32_BIOS");
    ASSERT_NE(nullptr, bios);
    EXPECT_TRUE(bios->Next());
}

TEST_F(WmiLive, ResultsMayOutliveTheirSession) {
    std::unique_ptr<WmiObjects> objects;
    {
        Win32Wmi shortLived;
        ASSERT_EQ(0, shortLived.Connect());
        objects = shortLived.ExecQuery(L"Select * from Win32_BIOS");
        ASSERT_NE(nullptr, objects);
    }
    EXPECT_FALSE(objects->Next());
}

}  // namespace
