#include "ui/windows/main_dlg.h"

#include <utility>

#include "platform/viewer.h"
#include "platform/windows/posted_text.h"

namespace {

constexpr COLORREF kBackground = RGB(210, 224, 236);
// The banner's own background, one step off the window's so that it can be keyed out.
constexpr COLORREF kBannerTransparent = RGB(210, 224, 237);

HICON LoadIconSized(int width, int height) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                           MAKEINTRESOURCEW(IDI_FENNOCK), IMAGE_ICON, width, height,
                                           LR_DEFAULTCOLOR));
}

}  // namespace

CMainDlg::CMainDlg(CCommonConfig& config, const RunFlags& flags)
    : m_worker(config, flags), m_config(config), m_yaml(flags.yaml) {}

BOOL CMainDlg::PreTranslateMessage(MSG* message) {
    // Tab, Enter and Escape, as in any dialog.
    return m_hWnd && ::IsDialogMessageW(m_hWnd, message);
}

void CMainDlg::OnInitDialog() {
    CenterWindow(nullptr);
    m_bigIcon.reset(LoadIconSized(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.get()));
    m_smallIcon.reset(
        LoadIconSized(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
    if (CMessageLoop* loop = CMessageLoop::ForThisThread()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    m_banner.reset(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BANNER)));
    m_background.reset(::CreateSolidBrush(kBackground));
    m_titleFont.reset(::CreateFontW(18, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"));
    ::SendDlgItemMessageW(m_hWnd, IDC_TITLE, WM_SETFONT,
                          reinterpret_cast<WPARAM>(m_titleFont.get()), TRUE);
    m_progress = GetDlgItem(IDC_PROGRESS);
    ::SetDlgItemTextW(m_hWnd, IDC_STATUS, ProgressState::kStartText);
    m_worker.SetParameters(reinterpret_cast<platform::ProgressWindow>(m_hWnd),
                           m_config.GetDataFolder(), m_config.GetOutputFolder());
    m_state.Start();
    m_worker.Resume();
}

void CMainDlg::OnDestroy() {
    if (CMessageLoop* loop = CMessageLoop::ForThisThread()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
}

bool CMainDlg::OnEraseBackground(HDC dc) {
    if (!m_banner)
        return true;
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, m_background.get());
    BITMAP size = {};
    ::GetObjectW(m_banner.get(), sizeof size, &size);
    platform::win::MemoryDcHandle source(::CreateCompatibleDC(dc));
    if (!source)
        return true;
    const HGDIOBJ previous = ::SelectObject(source.get(), m_banner.get());
    ::TransparentBlt(dc, 15, client.bottom - size.bmHeight - 10, size.bmWidth, size.bmHeight,
                     source.get(), 0, 0, size.bmWidth, size.bmHeight, kBannerTransparent);
    ::SelectObject(source.get(), previous);
    return true;
}

void CMainDlg::OnProgress(platform::ProgressMessage message) {
    const ProgressState::Effects effects = m_state.OnProgress(std::move(message));
    if (effects.status)
        ::SetDlgItemTextW(m_hWnd, IDC_STATUS, effects.status->c_str());
    if (effects.rangeChanged)
        ::SendMessageW(m_progress, PBM_SETRANGE, 0,
                       static_cast<LPARAM>(ProgressState::PackedRange(m_state.range())));
    if (effects.positionChanged)
        ::SendMessageW(m_progress, PBM_SETPOS, static_cast<WPARAM>(m_state.position()), 0);
    if (effects.openViewer) {
        const std::wstring name = m_yaml ? L"inventory.yaml" : L"inventory.html";
        platform::OpenReport(m_config.GetOutputFolder() + name, m_yaml);
    }
    if (effects.close)
        CloseIfIdle(ProgressState::kExitCode);
}

void CMainDlg::OnCancel() {
    if (!m_state.RequestCancel())
        return;
    m_worker.Cancel();
    ::SetDlgItemTextW(m_hWnd, IDC_STATUS, ProgressState::kCancelingText);
    ::EnableWindow(GetDlgItem(IDCANCEL), FALSE);
}

void CMainDlg::OnAbout() {
    m_state.BeginAbout();
    CAboutDlg about;
    about.DoModal(::GetActiveWindow());
    m_state.EndAbout();
    CloseIfIdle(ProgressState::kExitCode);
}

void CMainDlg::CloseIfIdle(int exitCode) {
    if (!m_state.CanClose())
        return;
    ::DestroyWindow(m_hWnd);
    ::PostQuitMessage(exitCode);
}

bool CMainDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            result = TRUE;
            return true;
        case WM_DESTROY:
            OnDestroy();
            return true;
        case WM_ERASEBKGND:
            result = OnEraseBackground(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
            return true;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            result = reinterpret_cast<LRESULT>(m_background.get());
            return true;
        case WM_CTLCOLORDLG:
            result = reinterpret_cast<LRESULT>(m_background.get());
            return true;
        case WM_INVENTORY_PROGRESS: {
            const auto kind = static_cast<unsigned>(wParam);
            if (kind == PROGRESS_STATUS)
                OnProgress({kind, 0, platform::win::TakePostedText(lParam)});
            else
                OnProgress({kind, static_cast<std::intptr_t>(lParam), {}});
            result = 1;
            return true;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_ABOUT_BUTTON:
                    OnAbout();
                    return true;
                case IDCANCEL:  // the button, Escape and the close box
                    OnCancel();
                    return true;
                default:
                    return false;
            }
        default:
            return false;
    }
}
