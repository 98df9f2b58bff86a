#include "platform/process_setup.h"

#include "platform/windows/win32.h"

namespace platform {

ProcessSetup::ProcessSetup() {
    comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The licence dialog's rich-edit control lives in this library.
    richEdit_ = reinterpret_cast<std::intptr_t>(::LoadLibraryW(L"RICHED20.DLL"));
}

ProcessSetup::~ProcessSetup() {
    if (richEdit_)
        ::FreeLibrary(reinterpret_cast<HMODULE>(richEdit_));
    if (comStarted_)
        ::CoUninitialize();
}

}  // namespace platform
