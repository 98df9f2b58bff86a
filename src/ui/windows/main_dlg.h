#pragma once
// The progress window of an interactive run: it starts the worker, shows its status and
// progress, offers Cancel and About, and when the run is over opens the report and ends the
// message loop.
#include "collect/worker_task.h"
#include "config/common_config.h"
#include "config/run_flags.h"
#include "platform/windows/handle.h"
#include "ui/progress_state.h"
#include "ui/windows/about_dlg.h"
#include "ui/windows/dialog_impl.h"
#include "ui/windows/message_loop.h"
#include "ui/windows/resource_ids.h"

class CMainDlg : public CDialogImpl<CMainDlg>, public CMessageFilter, public CIdleHandler {
  public:
    enum { IDD = IDD_MAIN };

    // The worker exists from here on, waiting to be started by the window.
    CMainDlg(CCommonConfig& config, const RunFlags& flags);

    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnIdle() override { return FALSE; }

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    void OnInitDialog();
    void OnDestroy();
    bool OnEraseBackground(HDC dc);
    void OnProgress(platform::ProgressMessage message);
    void OnCancel();
    void OnAbout();
    // Closes the window and ends the loop with the code, unless the run or the About box
    // still needs it.
    void CloseIfIdle(int exitCode);

    CWorkerTask m_worker;
    HWND m_progress = nullptr;
    ProgressState m_state;
    platform::win::BrushHandle m_background;
    platform::win::BitmapHandle m_banner;
    platform::win::FontHandle m_titleFont;
    platform::win::IconHandle m_bigIcon;
    platform::win::IconHandle m_smallIcon;
    CCommonConfig& m_config;
    bool m_yaml;
};
