#pragma once
// The About box: product name, version and the maker's web address as a
// link. Created once, hidden and modeless, by the view; OK only hides it.
#include "controls/LinkStatic.h"
#include "framework/Dialog.h"

// The maker's web address the link opens.
constexpr const char kAboutWebAddress[] = "http://www.example.com/tallyscope";

class CAboutDlg : public CDialog {
  public:
    explicit CAboutDlg(CWnd* parent = nullptr);
    ~CAboutDlg() override;

    BOOL OnInitDialog() override;
    void OnOK() override;

    CLinkStatic& WebLabel() { return m_webLabel; }

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Opens the web address with the shell's "open" verb (tests replace it).
    virtual void OpenWebAddress();

    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);

    DECLARE_MESSAGE_MAP()

  private:
    // The label holds the mouse while the pointer is over it (and gets the
    // clicks, being a notifying static): what it sees is handed on to the
    // dialog's own mouse handling in dialog coordinates.
    class CWebLabel : public CLinkStatic {
      public:
        explicit CWebLabel(CAboutDlg& owner) : m_owner(owner) {}
        LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

      private:
        CAboutDlg& m_owner;
    };

    // TRUE when point (dialog client coordinates) lies on the web label.
    BOOL IsOnWebLabel(POINT point) const;
    void TrackPointer(POINT point);
    void ReleaseOn(POINT point);

    CWebLabel m_webLabel;
    HCURSOR m_handCursor = nullptr;  // shared cursor: never destroyed
};
