#pragma once
// CWnd: a C++ object attached to a window handle. Messages reach the object's
// message map through one window procedure; what the map does not handle goes
// to the window's default (or original, for subclassed controls) procedure.
#include <windows.h>

#include <string>

#include "framework/MessageMap.h"

class CWnd {
  public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creates the window with this object attached; the object receives every
    // message from the first one on (WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE).
    // className may be null: PreCreateWindow must then supply one.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT_PTR idOrMenu);
    virtual BOOL Create(const char* className, const char* windowName, DWORD style,
                        const RECT& rect, CWnd* parent, UINT id);
    BOOL DestroyWindow();

    // Attaches to an existing window (a dialog item) and routes its messages
    // through this object's map before its original procedure.
    BOOL SubclassWindow(HWND wnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    static CWnd* FromHandlePermanent(HWND wnd);

    // Overridables.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual void PreSubclassWindow() {}
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);
    // Commands (menus, buttons, control notifications): TRUE when handled.
    virtual BOOL OnCmdMsg(UINT id, int code);
    // A notification this control sent to its parent, offered back to it first
    // (owner drawing, reflected notifications). TRUE when handled.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    virtual void PostNcDestroy() {}

    // Thin wrappers used throughout the program.
    CWnd* GetParent() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) {
        ::InvalidateRect(m_hWnd, rect, erase);
    }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
        return ::PostMessageA(m_hWnd, msg, wp, lp);
    }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
        return ::SendMessageA(m_hWnd, msg, wp, lp);
    }
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    void ScreenToClient(RECT* rect) const;
    void ClientToScreen(RECT* rect) const;
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    void SetFocus() { ::SetFocus(m_hWnd); }
    void CenterWindow(HWND alternateOwner = nullptr);

  protected:
    virtual const fw::MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

  public:
    static const fw::MessageMap* GetThisMessageMap();

    // The one window procedure behind every CWnd.
    static LRESULT CALLBACK StandardWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void Attach(HWND wnd);
    HWND Detach();

  protected:
    WNDPROC m_superWndProc = nullptr;  // the original procedure of a subclassed window
    bool m_createdHere = false;        // created by CreateEx, so destroyed with the object

    // Looks a window message up in the map chain; TRUE when a handler ran.
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    BOOL OnCommand(WPARAM wp, LPARAM lp);
    const fw::MessageEntry* FindEntry(fw::EntryKind kind, UINT message, UINT code, UINT id) const;
};

// Registers (once per distinct combination) a window class whose procedure is
// CWnd's, and returns its name.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                HBRUSH background = nullptr, HICON icon = nullptr);

// Identifier of a frame's view (the first pane).
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
