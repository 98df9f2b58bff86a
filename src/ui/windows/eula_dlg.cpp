#include "ui/windows/eula_dlg.h"

#include <richedit.h>

#include <string>

#include "report/support_files.h"
#include "util/utf.h"

void CEulaDlg::OnInitDialog() {
    const std::wstring text = CSupportFiles::LoadTextResource(kLicenceResource);
    if (!m_askConsent) {
        ::ShowWindow(GetDlgItem(IDOK), SW_HIDE);
        ::SetDlgItemTextW(m_hWnd, IDCANCEL, L"Close");
        // Enter must not press the hidden button.
        ::SendMessageW(m_hWnd, DM_SETDEFID, IDCANCEL, 0);
    }
    // Lines wrap at the control's width.
    ::SendDlgItemMessageW(m_hWnd, IDC_LICENCE_TEXT, EM_SETTARGETDEVICE, 0, 0);
    // The control reads the RTF itself, given as UTF-8.
    const std::string utf8 = WideToUtf8(text);
    SETTEXTEX how = {ST_DEFAULT, 65001};
    ::SendDlgItemMessageW(m_hWnd, IDC_LICENCE_TEXT, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                          reinterpret_cast<LPARAM>(utf8.c_str()));
    CenterWindow(::GetParent(m_hWnd));
    // Focus on the button: a focused rich edit would select the whole agreement and scroll
    // to its end.
    ::SetFocus(GetDlgItem(m_askConsent ? IDOK : IDCANCEL));
}

bool CEulaDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            result = FALSE;  // the focus is set
            return true;
        case WM_COMMAND:
            // Reject, Escape and the close box all arrive as IDCANCEL.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(m_hWnd, LOWORD(wParam) == IDOK ? 1 : 2);
                return true;
            }
            return false;
        default:
            return false;
    }
}
