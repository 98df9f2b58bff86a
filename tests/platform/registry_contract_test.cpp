// The behaviour the program relies on, checked against every registry it can run with: the
// in-memory one everywhere, and the real one when the tests run on Windows (or Wine).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/memory_registry.h"
#include "platform/services.h"

using namespace platform;

namespace {

struct RegistryCase {
    const char* name;
    Registry* (*make)();
};

Registry* MakeMemory() {
    static MemoryRegistry registry(MemoryRegistry::Layout{true, true});
    return &registry;
}
Registry* MakeNative() {
    return NativeServices().registry;
}

class RegistryContract : public ::testing::TestWithParam<RegistryCase> {
  protected:
    void SetUp() override {
        registry_ = GetParam().make();
        std::random_device random;
        base_ = L"Software\\FennockTests\\" + std::to_wstring(random()) + L"\\";
    }

    RegKey MustCreate(RegKey root, const std::wstring& path, std::uint32_t access) {
        RegKey key = 0;
        EXPECT_EQ(kErrorSuccess, registry_->CreateKey(root, path.c_str(), access, &key, nullptr));
        return key;
    }

    void PutText(RegKey key, const wchar_t* name, const std::wstring& text) {
        const auto bytes = static_cast<std::uint32_t>((text.size() + 1) * sizeof(wchar_t));
        ASSERT_EQ(kErrorSuccess, registry_->SetValue(key, name, kRegSz, text.c_str(), bytes));
    }

    Registry* registry_ = nullptr;
    std::wstring base_;
};

TEST_P(RegistryContract, CreateReportsWhetherTheKeyIsNew) {
    RegKey key = 0;
    std::uint32_t disposition = 0;
    const std::wstring path = base_ + L"Fresh";
    ASSERT_EQ(kErrorSuccess, registry_->CreateKey(kCurrentUser, path.c_str(), kKeyRead | kKeyWrite,
                                                  &key, &disposition));
    EXPECT_EQ(kCreatedNewKey, disposition);
    registry_->CloseKey(key);
    ASSERT_EQ(kErrorSuccess, registry_->CreateKey(kCurrentUser, path.c_str(), kKeyRead | kKeyWrite,
                                                  &key, &disposition));
    EXPECT_EQ(kOpenedExistingKey, disposition);
    registry_->CloseKey(key);
}

TEST_P(RegistryContract, MissingKeysAndValuesAreNotFound) {
    RegKey key = 0;
    EXPECT_EQ(kErrorFileNotFound,
              registry_->OpenKey(kCurrentUser, (base_ + L"Nowhere").c_str(), kKeyRead, &key));
    key = MustCreate(kCurrentUser, base_ + L"Empty", kKeyRead | kKeyWrite);
    std::uint32_t type = 0, bytes = 0;
    EXPECT_EQ(kErrorFileNotFound, registry_->QueryValue(key, L"Absent", &type, nullptr, &bytes));
    wchar_t name[64];
    std::uint32_t length = 64;
    EXPECT_EQ(kErrorNoMoreItems, registry_->EnumKey(key, 0, name, &length));
    registry_->CloseKey(key);
}

TEST_P(RegistryContract, ValueSizesAndShortBuffers) {
    RegKey key = MustCreate(kCurrentUser, base_ + L"Values", kKeyRead | kKeyWrite);
    PutText(key, L"Text", L"hello");
    const std::uint32_t expected = 6 * sizeof(wchar_t);

    std::uint32_t type = 0, bytes = 0;
    ASSERT_EQ(kErrorSuccess, registry_->QueryValue(key, L"text", &type, nullptr, &bytes));
    EXPECT_EQ(kRegSz, type);
    EXPECT_EQ(expected, bytes);

    wchar_t small[2];
    bytes = sizeof small;
    EXPECT_EQ(kErrorMoreData, registry_->QueryValue(key, L"Text", &type, small, &bytes));
    EXPECT_EQ(expected, bytes);

    std::uint32_t dword = 0xDEADBEEF;
    ASSERT_EQ(kErrorSuccess, registry_->SetValue(key, L"Number", kRegDword, &dword, 4));
    std::uint32_t read = 0;
    bytes = 4;
    ASSERT_EQ(kErrorSuccess, registry_->QueryValue(key, L"Number", &type, &read, &bytes));
    EXPECT_EQ(kRegDword, type);
    EXPECT_EQ(0xDEADBEEFu, read);
    registry_->CloseKey(key);
}

TEST_P(RegistryContract, SubkeysEnumerateCaseInsensitivelyInNameOrder) {
    const std::wstring parent = base_ + L"List";
    for (const wchar_t* child : {L"beta", L"Alpha", L"gamma"})
        registry_->CloseKey(MustCreate(kCurrentUser, parent + L"\\" + child, kKeyRead | kKeyWrite));
    RegKey key = 0;
    ASSERT_EQ(kErrorSuccess, registry_->OpenKey(kCurrentUser, parent.c_str(), kKeyRead, &key));
    std::vector<std::wstring> names;
    for (std::uint32_t i = 0;; ++i) {
        wchar_t name[1024];
        std::uint32_t length = 1024;
        const RegError rc = registry_->EnumKey(key, i, name, &length);
        if (rc == kErrorNoMoreItems)
            break;
        ASSERT_EQ(kErrorSuccess, rc);
        EXPECT_EQ(std::wcslen(name), length);
        names.emplace_back(name);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}), names);

    wchar_t tiny[3];
    std::uint32_t length = 3;
    EXPECT_EQ(kErrorMoreData, registry_->EnumKey(key, 0, tiny, &length));

    RegKey same = 0;
    EXPECT_EQ(kErrorSuccess,
              registry_->OpenKey(kCurrentUser, (parent + L"\\ALPHA").c_str(), kKeyRead, &same));
    registry_->CloseKey(same);
    registry_->CloseKey(key);
}

// Windows lists values in writing order, Wine in name order; callers rely on neither.
TEST_P(RegistryContract, ValuesEnumerateWithTypeAndSize) {
    RegKey key = MustCreate(kCurrentUser, base_ + L"Ordered", kKeyRead | kKeyWrite);
    PutText(key, L"Zeta", L"1");
    PutText(key, L"Alpha", L"2");
    std::vector<std::wstring> names;
    for (std::uint32_t i = 0;; ++i) {
        wchar_t name[256];
        std::uint32_t length = 256, type = 0, bytes = 0;
        if (registry_->EnumValue(key, i, name, &length, &type, nullptr, &bytes) != kErrorSuccess)
            break;
        names.emplace_back(name);
        EXPECT_EQ(kRegSz, type);
        EXPECT_EQ(2 * sizeof(wchar_t), bytes);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha", L"Zeta"}), names);
    registry_->CloseKey(key);
}

TEST_P(RegistryContract, ReadOnlyKeysRefuseWrites) {
    registry_->CloseKey(MustCreate(kCurrentUser, base_ + L"Locked", kKeyRead | kKeyWrite));
    RegKey key = 0;
    ASSERT_EQ(kErrorSuccess,
              registry_->OpenKey(kCurrentUser, (base_ + L"Locked").c_str(), kKeyRead, &key));
    const wchar_t text[] = L"x";
    EXPECT_EQ(kErrorAccessDenied, registry_->SetValue(key, L"V", kRegSz, text, sizeof text));
    registry_->CloseKey(key);
}

// On 64-bit Windows HKLM\Software has two views; what one view writes under a redirected key
// the other does not see, and a key opened without a view flag is the 32-bit one, for the
// 64-bit program as for the 32-bit one.
TEST_P(RegistryContract, MachineSoftwareViewsAreSeparate) {
    const std::wstring path = base_ + L"Viewed";
    RegKey key = 0;
    if (registry_->CreateKey(kLocalMachine, path.c_str(), kKeyRead | kKeyWrite | kKeyWow64_32, &key,
                             nullptr) != kErrorSuccess)
        GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
    PutText(key, L"Bits", L"32");
    registry_->CloseKey(key);

    RegKey wide = 0;
    const bool machineIs64Bit = registry_->OpenKey(kLocalMachine, L"Software\\Wow6432Node",
                                                   kKeyRead | kKeyWow64_64, &wide) == kErrorSuccess;
    if (wide)
        registry_->CloseKey(wide);
    if (!machineIs64Bit)
        GTEST_SKIP() << "a 32-bit system has one view";

    RegKey other = 0;
    EXPECT_EQ(kErrorFileNotFound,
              registry_->OpenKey(kLocalMachine, path.c_str(), kKeyRead | kKeyWow64_64, &other));
    ASSERT_EQ(kErrorSuccess, registry_->OpenKey(kLocalMachine, path.c_str(), kKeyRead, &other));
    registry_->CloseKey(other);
    const std::wstring redirected = L"Software\\Wow6432Node\\" + path.substr(9);
    ASSERT_EQ(kErrorSuccess, registry_->OpenKey(kLocalMachine, redirected.c_str(),
                                                kKeyRead | kKeyWow64_64, &other));
    registry_->CloseKey(other);
}

INSTANTIATE_TEST_SUITE_P(Registries, RegistryContract,
                         ::testing::Values(RegistryCase{"Memory", &MakeMemory},
                                           RegistryCase{"Native", &MakeNative}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryRegistry, ClosesEveryHandleItGives) {
    MemoryRegistry registry;
    RegKey key = 0;
    ASSERT_EQ(kErrorSuccess,
              registry.CreateKey(kCurrentUser, L"A\\B", kKeyRead | kKeyWrite, &key, nullptr));
    EXPECT_EQ(1u, registry.OpenKeyCount());
    EXPECT_EQ(kErrorSuccess, registry.CloseKey(key));
    EXPECT_EQ(kErrorInvalidHandle, registry.CloseKey(key));
    EXPECT_EQ(0u, registry.OpenKeyCount());
}

TEST(MemoryRegistry, ThirtyTwoBitMachineHasOneView) {
    MemoryRegistry registry(MemoryRegistry::Layout{false, true});
    registry.PutString(kLocalMachine, L"SOFTWARE\\Zeph", L"MachineId", L"id");
    for (std::uint32_t view : {0u, kKeyWow64_32, kKeyWow64_64}) {
        RegKey key = 0;
        EXPECT_EQ(kErrorSuccess,
                  registry.OpenKey(kLocalMachine, L"Software\\Zeph", kKeyRead | view, &key));
        registry.CloseKey(key);
    }
}

TEST(MemoryRegistry, ProcessViewFollowsTheLayout) {
    MemoryRegistry wow64(MemoryRegistry::Layout{true, true});
    wow64.PutString(kLocalMachine, L"SOFTWARE\\Wow6432Node\\Zeph", L"MachineId", L"32-bit");
    RegKey key = 0;
    ASSERT_EQ(kErrorSuccess, wow64.OpenKey(kLocalMachine, L"Software\\Zeph", kKeyRead, &key));
    wchar_t text[16];
    std::uint32_t bytes = sizeof text, type = 0;
    ASSERT_EQ(kErrorSuccess, wow64.QueryValue(key, L"MachineId", &type, text, &bytes));
    EXPECT_STREQ(L"32-bit", text);
    wow64.CloseKey(key);

    MemoryRegistry native(MemoryRegistry::Layout{true, false});
    native.PutString(kLocalMachine, L"SOFTWARE\\Wow6432Node\\Zeph", L"MachineId", L"32-bit");
    EXPECT_EQ(kErrorFileNotFound, native.OpenKey(kLocalMachine, L"Software\\Zeph", kKeyRead, &key));
}

// Filling remembers the key and the parent it filled last: whatever the order of the paths,
// each value lands in the key its whole path names, and a key is made once.
TEST(MemoryRegistry, FillingPutsEachValueUnderItsWholePath) {
    struct Put {
        const wchar_t* path;
        const wchar_t* value;
    };
    const Put puts[] = {
        {L"A\\P1", L"1"}, {L"A\\P2", L"2"},    {L"A\\P2\\Deep", L"3"}, {L"A\\P3", L"4"},
        {L"a\\p1", L"5"}, {L"B\\P1", L"6"},    {L"A\\\\P4", L"7"},     {L"A\\P4\\", L"8"},
        {L"A", L"9"},     {L"\\A\\P5", L"10"},
    };
    MemoryRegistry registry;
    for (const Put& put : puts)
        registry.PutString(kCurrentUser, put.path, put.value, put.value);
    for (const Put& put : puts) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(put.path)));
        RegKey key = 0;
        ASSERT_EQ(kErrorSuccess, registry.OpenKey(kCurrentUser, put.path, kKeyRead, &key));
        std::uint32_t bytes = 0;
        EXPECT_EQ(kErrorSuccess, registry.QueryValue(key, put.value, nullptr, nullptr, &bytes));
        registry.CloseKey(key);
    }
    const std::pair<const wchar_t*, std::uint32_t> subkeys[] = {
        {L"", 2}, {L"A", 5}, {L"A\\P1", 0}, {L"A\\P2", 1}, {L"B", 1}};
    for (const auto& [path, count] : subkeys) {
        RegKey key = 0;
        ASSERT_EQ(kErrorSuccess, registry.OpenKey(kCurrentUser, path, kKeyRead, &key));
        std::uint32_t listed = 0;
        wchar_t name[16];
        for (std::uint32_t length = 16;
             registry.EnumKey(key, listed, name, &length) == kErrorSuccess; length = 16)
            ++listed;
        EXPECT_EQ(count, listed) << path;
        registry.CloseKey(key);
    }
}

}  // namespace
