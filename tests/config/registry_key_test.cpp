#include <gtest/gtest.h>

#include <cstring>

#include "config/registry_key.h"
#include "platform/memory_registry.h"
#include "platform/services.h"

using namespace platform;

namespace {

class RegistryKeyTest : public ::testing::Test {
  protected:
    RegistryKeyTest() : scope_(Services{&registry_, nullptr, nullptr}) {
        registry_.PutString(kCurrentUser, L"Software\\T", L"Text", L"value");
        registry_.PutString(kCurrentUser, L"Software\\T", L"Expand", L"%PATH%", kRegExpandSz);
        registry_.PutDword(kCurrentUser, L"Software\\T", L"Number", 7);
        const wchar_t unterminated[] = {L'a', L'b'};
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(unterminated);
        registry_.PutValue(kCurrentUser, L"Software\\T", L"Unterminated", kRegSz,
                           {bytes, bytes + sizeof unterminated});
        registry_.PutValue(kCurrentUser, L"Software\\T", L"Odd", kRegSz, {'a', 0, 0});
        registry_.PutValue(kCurrentUser, L"Software\\T", L"Empty", kRegSz, {});
    }
    ~RegistryKeyTest() override { EXPECT_EQ(0u, registry_.OpenKeyCount()); }

    MemoryRegistry registry_;
    ServicesScope scope_;
};

TEST_F(RegistryKeyTest, StringReads) {
    CRegistryKey key;
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software\\T", kKeyRead));
    wchar_t buffer[32];
    std::uint32_t length = 32;
    ASSERT_EQ(0, key.QueryStringValue(L"Text", buffer, &length));
    EXPECT_EQ(6u, length);
    EXPECT_STREQ(L"value", buffer);

    length = 32;
    EXPECT_EQ(0, key.QueryStringValue(L"Expand", buffer, &length));
    EXPECT_STREQ(L"%PATH%", buffer) << "never expanded";

    length = 32;
    EXPECT_EQ(0, key.QueryStringValue(L"Empty", buffer, &length));
    EXPECT_EQ(0u, length);
    EXPECT_STREQ(L"", buffer);
}

TEST_F(RegistryKeyTest, StringReadFailures) {
    CRegistryKey key;
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software\\T", kKeyRead));
    wchar_t buffer[32];
    for (const wchar_t* name : {L"Number", L"Unterminated"}) {
        std::uint32_t length = 32;
        EXPECT_EQ(kErrorInvalidData, key.QueryStringValue(name, buffer, &length)) << name;
        EXPECT_EQ(0u, length) << name;
    }
    std::uint32_t length = 32;
    EXPECT_EQ(kErrorInvalidData, key.QueryStringValue(L"Odd", buffer, &length));
    length = 32;
    EXPECT_EQ(kErrorFileNotFound, key.QueryStringValue(L"Missing", buffer, &length));
}

TEST_F(RegistryKeyTest, DwordReads) {
    CRegistryKey key;
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software\\T", kKeyRead));
    std::uint32_t value = 0;
    EXPECT_EQ(0, key.QueryDWORDValue(L"Number", value));
    EXPECT_EQ(7u, value);
    EXPECT_EQ(kErrorInvalidData, key.QueryDWORDValue(L"Text", value));
}

TEST_F(RegistryKeyTest, TheCallersReadPattern) {
    CRegistryKey key;
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software\\T", kKeyRead));
    EXPECT_EQ(L"value", ReadStringValue(key, L"Text").value_or(L"<absent>"));
    EXPECT_FALSE(ReadStringValue(key, L"Expand").has_value());
    EXPECT_FALSE(ReadStringValue(key, L"Number").has_value());
    EXPECT_FALSE(ReadStringValue(key, L"Unterminated").has_value());
    EXPECT_FALSE(ReadStringValue(key, L"Missing").has_value());
}

TEST_F(RegistryKeyTest, OpenAndCloseKeepTheirState) {
    CRegistryKey key;
    EXPECT_EQ(0, key.Close());
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software\\T", kKeyRead));
    const RegKey held = key.Handle();
    EXPECT_EQ(kErrorFileNotFound, key.Open(kCurrentUser, L"Software\\Missing", kKeyRead));
    EXPECT_EQ(held, key.Handle()) << "a failed open keeps the earlier key";
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software", kKeyRead));
    EXPECT_EQ(1u, registry_.OpenKeyCount()) << "the earlier key was closed";
    EXPECT_EQ(0, key.Close());
    EXPECT_FALSE(key.IsOpen());
}

TEST_F(RegistryKeyTest, WriteStringValueCreatesTheKey) {
    ASSERT_EQ(0, WriteStringValue(kCurrentUser, L"Software\\New\\Deep", L"1.0.32278", L"Version"));
    CRegistryKey key;
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software\\New\\Deep", kKeyRead));
    std::uint32_t type = 0, bytes = 0;
    ASSERT_EQ(0, key.QueryValue(L"Version", &type, nullptr, &bytes));
    EXPECT_EQ(kRegSz, type);
    EXPECT_EQ(10 * sizeof(wchar_t), bytes) << "text and terminator";
    EXPECT_EQ(kErrorInvalidData, key.SetStringValue(L"V", nullptr));
}

TEST_F(RegistryKeyTest, EnumeratesSubkeys) {
    registry_.PutKey(kCurrentUser, L"Software\\T\\Child");
    CRegistryKey key;
    ASSERT_EQ(0, key.Open(kCurrentUser, L"Software\\T", kKeyRead));
    wchar_t name[1024];
    std::uint32_t length = 1024;
    ASSERT_EQ(0, key.EnumKey(0, name, &length));
    EXPECT_STREQ(L"Child", name);
    length = 1024;
    EXPECT_EQ(kErrorNoMoreItems, key.EnumKey(1, name, &length));
}

}  // namespace
