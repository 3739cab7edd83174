// COSDDlg, Corlane's hidden main dialog: start-up in OnInitDialog, every command through
// WindowProc on the dialog's thread.
#pragma once

#include "core/framework_win.h"

class COSDDlg : public framework::Dialog {
  public:
    COSDDlg();
    ~COSDDlg() override;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;

  private:
    friend class DialogStartup;

    void OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);

    HICON icon_;
    HPOWERNOTIFY powerNotification_ = nullptr;
};
