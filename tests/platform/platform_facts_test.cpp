// Windows's Secure Boot state as the registry holds it.
#include <gtest/gtest.h>

#include <functional>

#include "platform/memory_registry.h"
#include "platform/platform_facts.h"
#include "util/utf.h"

using namespace platform;

namespace {

TEST(SecureBootFromRegistryTest, TheStateKeyAndItsValue) {
    const std::wstring kState = L"SYSTEM\\CurrentControlSet\\Control\\SecureBoot\\State";
    const std::vector<std::pair<std::function<void(MemoryRegistry&)>, std::wstring>> cases = {
        {[](MemoryRegistry&) {}, L"Not supported"},
        {[&](MemoryRegistry& r) { r.PutDword(kLocalMachine, kState, L"UEFISecureBootEnabled", 1); },
         L"On"},
        {[&](MemoryRegistry& r) { r.PutDword(kLocalMachine, kState, L"UEFISecureBootEnabled", 0); },
         L"Off"},
        {[&](MemoryRegistry& r) { r.PutDword(kLocalMachine, kState, L"UEFISecureBootEnabled", 7); },
         L""},
        {[&](MemoryRegistry& r) { r.PutKey(kLocalMachine, kState); }, L""},
        {[&](MemoryRegistry& r) {
             r.PutString(kLocalMachine, kState, L"UEFISecureBootEnabled", L"1");
         },
         L""},
    };
    for (const auto& [fill, expected] : cases) {
        MemoryRegistry registry(MemoryRegistry::Layout{true, true});
        fill(registry);
        EXPECT_EQ(expected, SecureBootFromRegistry(registry)) << WideToUtf8(expected);
    }
}

}  // namespace
