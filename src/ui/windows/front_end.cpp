#include "ui/front_end.h"

#include "ui/windows/about_dlg.h"
#include "ui/windows/eula_dlg.h"
#include "ui/windows/main_dlg.h"
#include "ui/windows/message_loop.h"

namespace ui {
namespace {

class WindowsFrontEnd final : public FrontEnd {
  public:
    int ShowLicence(bool askConsent) override;
    void ShowAbout() override;
    int RunProgress(CCommonConfig& config, const RunFlags& flags, int showCommand) override;
};

}  // namespace

int WindowsFrontEnd::ShowLicence(bool askConsent) {
    CEulaDlg licence;
    licence.m_askConsent = askConsent;
    return static_cast<int>(licence.DoModal(::GetActiveWindow()));
}

void WindowsFrontEnd::ShowAbout() {
    CAboutDlg about;
    about.DoModal(::GetActiveWindow());
}

int WindowsFrontEnd::RunProgress(CCommonConfig& config, const RunFlags& flags, int showCommand) {
    CMessageLoop loop;
    const CMessageLoop::Registration registration(loop);
    CMainDlg window(config, flags);
    if (!window.Create(nullptr))
        return 0;
    ::ShowWindow(window.m_hWnd, showCommand);
    return loop.Run();
}

FrontEnd& SystemFrontEnd() {
    static WindowsFrontEnd frontEnd;
    return frontEnd;
}

}  // namespace ui
