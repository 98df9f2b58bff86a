#include "platform/process_setup.h"

#include "platform/windows/handle.h"
#include "platform/windows/win32.h"

namespace platform {

namespace {

class ComScope {
  public:
    ComScope() : started_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComScope() {
        if (started_)
            ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool started_;
};

}  // namespace

// The library is freed before COM ends, as it was loaded after COM started.
struct ProcessSetup::Held {
    ComScope com;
    win::LibraryHandle richEdit;
};

ProcessSetup::ProcessSetup() : held_(std::make_unique<Held>()) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The licence dialog's rich-edit control lives in this library.
    held_->richEdit.reset(::LoadLibraryW(L"RICHED20.DLL"));
}

ProcessSetup::~ProcessSetup() = default;

}  // namespace platform
