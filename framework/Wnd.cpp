#include "framework/Wnd.h"

#include <map>
#include <utility>
#include <mutex>
#include <string>
#include <tuple>

#include "framework/Instance.h"

namespace {

const char kObjectProperty[] = "Tallyscope.CWnd";

// The object whose window is being created on this thread: it is attached on
// the first message its window receives, before WM_NCCREATE.
thread_local CWnd* t_wndInit = nullptr;

}  // namespace

const fw::MessageMap* CWnd::GetThisMessageMap() {
    static const fw::MessageEntry entries[] = {fw::MessageEntry{}};
    static const fw::MessageMap map{nullptr, entries};
    return &map;
}

CWnd::~CWnd() {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return;
    if (m_createdHere) {
        ::DestroyWindow(m_hWnd);  // a window this object created dies with it
        if (m_hWnd) Detach();
    } else if (m_superWndProc) {
        UnsubclassWindow();  // a dialog item belongs to its dialog: give its procedure back
    } else {
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND wnd) {
    if (!wnd) return nullptr;
    return static_cast<CWnd*>(::GetPropA(wnd, kObjectProperty));
}

void CWnd::Attach(HWND wnd) {
    m_hWnd = wnd;
    ::SetPropA(wnd, kObjectProperty, this);
}

HWND CWnd::Detach() {
    HWND wnd = m_hWnd;
    if (wnd) ::RemovePropA(wnd, kObjectProperty);
    m_hWnd = nullptr;
    return wnd;
}

LRESULT CALLBACK CWnd::StandardWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    CWnd* self = FromHandlePermanent(wnd);
    if (!self && t_wndInit) {
        self = std::exchange(t_wndInit, nullptr);
        self->Attach(wnd);
    }
    if (!self) return ::DefWindowProcA(wnd, msg, wp, lp);

    LRESULT result = self->WindowProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // The window is gone: detach, give subclassed windows their procedure
        // back, and let the object decide its own fate (frames delete themselves).
        if (self->m_superWndProc) {
            ::SetWindowLongPtrA(wnd, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(self->m_superWndProc));
            self->m_superWndProc = nullptr;
        }
        self->Detach();
        self->PostNcDestroy();
    }
    return result;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR idOrMenu) {
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(idOrMenu);
    cs.hInstance = AfxGetInstanceHandle();
    if (!PreCreateWindow(cs)) return FALSE;

    t_wndInit = this;
    HWND wnd =
        ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                          cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, nullptr);
    t_wndInit = nullptr;
    if (!wnd) {
        if (m_hWnd) Detach();  // creation failed after the first message
        return FALSE;
    }
    // A window of a system class (a button, a list box) never ran our
    // procedure: route its messages through this object from now on.
    if (!m_hWnd) SubclassWindow(wnd);
    m_createdHere = true;
    return TRUE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect,
                    parent ? parent->m_hWnd : nullptr, id);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND wnd) {
    if (!wnd || m_hWnd || FromHandlePermanent(wnd)) return FALSE;
    Attach(wnd);
    PreSubclassWindow();
    m_superWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StandardWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (!parent) return FALSE;
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd || !m_superWndProc) return nullptr;
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superWndProc));
    m_superWndProc = nullptr;
    return Detach();
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (m_superWndProc) return ::CallWindowProcA(m_superWndProc, m_hWnd, msg, wp, lp);
    return ::DefWindowProcA(m_hWnd, msg, wp, lp);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (!OnWndMsg(msg, wp, lp, &result)) result = DefWindowProc(msg, wp, lp);
    return result;
}

const fw::MessageEntry* CWnd::FindEntry(fw::EntryKind kind, UINT message, UINT code,
                                        UINT id) const {
    for (const fw::MessageMap* map = GetMessageMap(); map;
         map = map->base ? map->base() : nullptr) {
        for (const fw::MessageEntry* e = map->entries; e->kind != fw::EntryKind::End; ++e) {
            if (e->kind != kind) continue;
            switch (kind) {
                case fw::EntryKind::Message:
                    if (e->message == message) return e;
                    break;
                case fw::EntryKind::Command:
                    if (id >= e->idFirst && id <= e->idLast) return e;
                    break;
                case fw::EntryKind::Control:
                    if (e->code == code && e->idFirst == id) return e;
                    break;
                case fw::EntryKind::Reflect:
                case fw::EntryKind::NotifyReflect:
                    if (e->code == code) return e;
                    break;
                case fw::EntryKind::End:
                    break;
            }
        }
    }
    return nullptr;
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    switch (msg) {
        case WM_COMMAND:
            if (OnCommand(wp, lp)) {
                *result = 0;
                return TRUE;
            }
            return FALSE;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lp);
            CWnd* child = header ? FromHandlePermanent(header->hwndFrom) : nullptr;
            if (child && child != this && child->OnChildNotify(msg, wp, lp, result)) return TRUE;
            break;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            CWnd* child =
                (item && item->CtlType != ODT_MENU) ? FromHandlePermanent(item->hwndItem) : nullptr;
            if (child && child != this && child->OnChildNotify(msg, wp, lp, result)) return TRUE;
            break;
        }
        default:
            break;
    }
    if (const fw::MessageEntry* e = FindEntry(fw::EntryKind::Message, msg, 0, 0)) {
        *result = e->thunk(this, msg, wp, lp);
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wp, LPARAM lp) {
    const UINT id = LOWORD(wp);
    const int code = HIWORD(wp);
    HWND control = reinterpret_cast<HWND>(lp);
    if (control) {
        CWnd* child = FromHandlePermanent(control);
        LRESULT ignored = 0;
        if (child && child != this && child->OnChildNotify(WM_COMMAND, wp, lp, &ignored))
            return TRUE;
        if (const fw::MessageEntry* e =
                FindEntry(fw::EntryKind::Control, 0, static_cast<UINT>(code), id)) {
            e->thunk(this, WM_COMMAND, wp, lp);
            return TRUE;
        }
    }
    return OnCmdMsg(id, code);
}

BOOL CWnd::OnCmdMsg(UINT id, int code) {
    // Menu items and accelerators (code 0 or 1) and button clicks (BN_CLICKED is 0).
    if (code != 0 && code != 1) return FALSE;
    if (const fw::MessageEntry* e = FindEntry(fw::EntryKind::Command, 0, 0, id)) {
        e->thunk(this, WM_COMMAND, MAKEWPARAM(id, code), 0);
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    const fw::MessageEntry* e = nullptr;
    if (msg == WM_COMMAND) {
        e = FindEntry(fw::EntryKind::Reflect, 0, HIWORD(wp), 0);
    } else if (msg == WM_NOTIFY && lp) {
        e = FindEntry(fw::EntryKind::NotifyReflect, 0, reinterpret_cast<NMHDR*>(lp)->code, 0);
    }
    if (!e) return FALSE;
    *result = e->thunk(this, msg, wp, lp);
    return TRUE;
}

CWnd* CWnd::GetParent() const {
    return FromHandlePermanent(::GetParent(m_hWnd));
}

std::string CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = ::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

void CWnd::MoveWindow(const RECT& rect, BOOL repaint) {
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 repaint);
}

void CWnd::ScreenToClient(RECT* rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ClientToScreen(RECT* rect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::CenterWindow(HWND alternateOwner) {
    HWND owner = alternateOwner ? alternateOwner : ::GetParent(m_hWnd);
    RECT area{};
    if (owner) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT mine{};
    ::GetWindowRect(m_hWnd, &mine);
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    int left = area.left + ((area.right - area.left) - width) / 2;
    int top = area.top + ((area.bottom - area.top) - height) / 2;
    if (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) {
        POINT pt{left, top};
        ::ScreenToClient(::GetParent(m_hWnd), &pt);
        left = pt.x;
        top = pt.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    // One registered class per distinct combination, named after it as MFC does.
    static std::mutex lock;
    static std::map<std::tuple<UINT, HCURSOR, HBRUSH, HICON>, std::string> names;
    std::lock_guard<std::mutex> guard(lock);
    auto key = std::make_tuple(classStyle, cursor, background, icon);
    auto found = names.find(key);
    if (found != names.end()) return found->second.c_str();

    char name[96];
    wsprintfA(name, "Tsc:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), classStyle,
              static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::StandardWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    WNDCLASSA existing{};
    if (!::GetClassInfoA(wc.hInstance, name, &existing)) ::RegisterClassA(&wc);
    return names.emplace(key, name).first->second.c_str();
}
