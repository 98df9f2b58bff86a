#pragma once
// The least a dialog class needs: a dialog procedure that finds its C++ object and hands
// every message to the class's ProcessWindowMessage, modal and modeless creation, and the
// few window helpers the dialogs use. The class names the template through `IDD`.
#include "platform/windows/win32.h"

template <class T>
class CDialogImpl {
  public:
    CDialogImpl() = default;
    CDialogImpl(const CDialogImpl&) = delete;
    CDialogImpl& operator=(const CDialogImpl&) = delete;

    // Shows the dialog modally; the code it ended with, or -1 when it could not be created
    // (a control class that is not registered, for example).
    INT_PTR DoModal(HWND owner = ::GetActiveWindow()) {
        return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(T::IDD), owner,
                                 &DialogProc, reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }
    // Creates the dialog modeless and hidden; null on failure.
    HWND Create(HWND owner) {
        return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(T::IDD), owner,
                                    &DialogProc, reinterpret_cast<LPARAM>(static_cast<T*>(this)));
    }

    HWND m_hWnd = nullptr;

  protected:
    // A modeless dialog must not outlive its object.
    ~CDialogImpl() {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
    }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

    // Centres on the owner, or on the screen's work area without one.
    void CenterWindow(HWND owner) {
        RECT area = {};
        if (!owner || !::GetWindowRect(owner, &area))
            ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        RECT self = {};
        ::GetWindowRect(m_hWnd, &self);
        const int width = self.right - self.left;
        const int height = self.bottom - self.top;
        ::SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - width) / 2,
                       area.top + (area.bottom - area.top - height) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrW(window, DWLP_USER, lParam);
            reinterpret_cast<T*>(lParam)->m_hWnd = window;
        }
        T* self = reinterpret_cast<T*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (!self)
            return FALSE;
        LRESULT result = 0;
        const bool handled = self->ProcessWindowMessage(message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, DWLP_USER, 0);
            self->m_hWnd = nullptr;
        }
        if (!handled)
            return FALSE;
        switch (message) {
            // These answer through the procedure's own return value.
            case WM_INITDIALOG:
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_QUERYDRAGICON:
                return static_cast<INT_PTR>(result);
            default:
                ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
                return TRUE;
        }
    }
};
