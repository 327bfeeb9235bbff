#pragma once
// Dialogs from resource templates, modal (own nested loop that keeps
// dispatching every message of the thread) or modeless, with data exchange.
#include "framework/DataExchange.h"
#include "framework/Wnd.h"

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    // Creates the dialog modeless; FALSE when the template cannot be loaded.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    // Copies member values to the controls (FALSE) or validates and copies
    // the controls back (TRUE); FALSE when a value was refused.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* msg) override;

    UINT m_nIDHelp = 0;  // the template's resource number

    static INT_PTR CALLBACK StandardDlgProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

  protected:
    virtual void DoDataExchange(CDataExchange*) {}

    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    bool m_modalRunning = false;

    DECLARE_MESSAGE_MAP()

  private:
    void OnIdOk() { OnOK(); }
    void OnIdCancel() { OnCancel(); }
    void OnNcDestroyModal();
};
