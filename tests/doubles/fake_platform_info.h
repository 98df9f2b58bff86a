#pragma once
// Platform facts a test sets.
#include "platform/platform_facts.h"

class FakePlatformInfo : public platform::PlatformInfo {
  public:
    platform::PlatformFacts facts;
    platform::PlatformFacts Facts() override { return facts; }
};
