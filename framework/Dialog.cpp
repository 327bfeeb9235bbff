#include "framework/Dialog.h"

#include "framework/ModalLoop.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnIdOk)
ON_COMMAND(IDCANCEL, OnIdCancel)
ON_MESSAGE(WM_NCDESTROY, OnNcDestroyModal)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDHelp(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CALLBACK CDialog::StandardDlgProc(HWND wnd, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_INITDIALOG) return FALSE;
    // Route every later message through the object's map, with the dialog
    // manager's procedure as the default.
    auto* self = reinterpret_cast<CDialog*>(lp);
    if (!self) return TRUE;
    self->Attach(wnd);
    self->m_superWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StandardWndProc)));
    return self->OnInitDialog();
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_nIDHelp = templateId;
    if (parent) m_pParentWnd = parent;
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    HWND wnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(templateId), owner,
                                    &CDialog::StandardDlgProc, reinterpret_cast<LPARAM>(this));
    return wnd != nullptr;
}

INT_PTR CDialog::DoModal() {
    // While the program closes, nothing new is shown to a user who may not be there.
    if (fw::ModalLoop::Closing()) return IDCANCEL;
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : AfxGetMainWnd();
    if (owner) owner = ::GetAncestor(owner, GA_ROOT);
    const bool enableOwner = owner && ::IsWindowEnabled(owner);
    if (enableOwner) ::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_modalRunning = true;
    HWND wnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDHelp), owner,
                                    &CDialog::StandardDlgProc, reinterpret_cast<LPARAM>(this));
    if (!wnd) {
        m_modalRunning = false;
        if (enableOwner) ::EnableWindow(owner, TRUE);
        return -1;
    }
    // Ended from outside (the program closes): dropped as with Cancel.
    fw::ModalLoop loop([this] {
        OnCancel();
        if (m_modalRunning) EndDialog(IDCANCEL);
    });
    if (m_modalRunning) ::ShowWindow(wnd, SW_SHOWNORMAL);

    MSG msg{};
    while (m_modalRunning && ::IsWindow(wnd)) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            if (m_nModalResult == -1) m_nModalResult = IDCANCEL;
            break;
        }
        if (!AfxWalkPreTranslateTree(nullptr, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_modalRunning = false;

    if (enableOwner) ::EnableWindow(owner, TRUE);
    if (::IsWindow(wnd)) {
        ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (owner && ::IsWindow(owner)) ::SetActiveWindow(owner);
        ::DestroyWindow(wnd);
    }
    return m_nModalResult;
}

void CDialog::OnNcDestroyModal() {
    // The window went away under a running loop (its owner was destroyed).
    if (m_modalRunning) {
        m_modalRunning = false;
        if (m_nModalResult == -1) m_nModalResult = IDCANCEL;
    }
    DefWindowProc(WM_NCDESTROY, 0, 0);
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    if (m_modalRunning) {
        m_modalRunning = false;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wake the loop
    } else if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_HIDE);  // a modeless dialog stays until its owner goes
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFail;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // Keyboard navigation (Tab, Enter, Escape, arrows) inside the dialog.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd &&
        (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
        return ::IsDialogMessageA(m_hWnd, msg);
    }
    return FALSE;
}
