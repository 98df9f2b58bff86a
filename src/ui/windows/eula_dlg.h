#pragma once
// The licence agreement: Accept or Reject before the first interactive run of a version
// (consent mode), or only the text with a Close button (view mode, from the About box).
#include "ui/windows/dialog_impl.h"
#include "ui/windows/resource_ids.h"

class CEulaDlg : public CDialogImpl<CEulaDlg> {
  public:
    enum { IDD = IDD_EULA };

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool m_askConsent = true;

  private:
    void OnInitDialog();
};
