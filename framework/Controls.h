#pragma once
// Thin control classes: subclassed dialog items with the usual helpers.
#include "framework/Wnd.h"

class CStatic : public CWnd {};

class CButton : public CWnd {
  public:
    // Owner-drawn buttons draw themselves when their parent is asked to.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int check) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }
};

class CListBox : public CWnd {
  public:
    int AddString(const std::string& text) {
        return static_cast<int>(
            ::SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, LB_GETCURSEL, 0, 0)); }
    int SetCurSel(int index) {
        return static_cast<int>(
            ::SendMessageA(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0));
    }
    void ResetContent() { ::SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0); }
    std::string GetText(int index) const;
};

class CComboBox : public CWnd {
  public:
    int AddString(const std::string& text) {
        return static_cast<int>(
            ::SendMessageA(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
    int SetCurSel(int index) {
        return static_cast<int>(
            ::SendMessageA(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0));
    }
    void ResetContent() { ::SendMessageA(m_hWnd, CB_RESETCONTENT, 0, 0); }
    std::string GetLBText(int index) const;
};
