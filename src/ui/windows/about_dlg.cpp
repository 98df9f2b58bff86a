#include "ui/windows/about_dlg.h"

#include "ui/windows/eula_dlg.h"

bool CAboutDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG:
            CenterWindow(::GetParent(m_hWnd));
            result = TRUE;
            return true;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_LICENSE_BUTTON: {
                    CEulaDlg licence;
                    licence.m_askConsent = false;
                    licence.DoModal(::GetActiveWindow());
                    return true;
                }
                case IDOK:
                case IDCANCEL:
                    ::EndDialog(m_hWnd, LOWORD(wParam));
                    return true;
                default:
                    return false;
            }
        default:
            return false;
    }
}
