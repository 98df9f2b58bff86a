#pragma once
#include "platform/service_list.h"

class FakeServiceManager : public platform::ServiceManager {
  public:
    platform::ServiceListing listing;
    platform::ServiceListing ListServices() override { return listing; }
    std::wstring SystemMessage(long error) override {
        return L"system message " + std::to_wstring(error) + L"\r\n";
    }
};
