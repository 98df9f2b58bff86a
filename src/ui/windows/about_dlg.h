#pragma once
// The About box: product, version and copyright, and the licence to read again.
#include "ui/windows/dialog_impl.h"
#include "ui/windows/resource_ids.h"

class CAboutDlg : public CDialogImpl<CAboutDlg> {
  public:
    enum { IDD = IDD_ABOUT };

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};
