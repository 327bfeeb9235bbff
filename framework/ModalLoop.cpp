#include "framework/ModalLoop.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace fw {
namespace {

// The loops of this thread, innermost last.
thread_local std::vector<ModalLoop*> t_loops;
// The window to close once the last loop has returned; null when none waits.
thread_local HWND t_closeWhenDone = nullptr;
// The innermost dialog watch of this thread.
thread_local DialogWatch* t_watch = nullptr;

}  // namespace

ModalLoop::ModalLoop(std::function<void()> end) : m_end(std::move(end)) {
    t_loops.push_back(this);
}

ModalLoop::~ModalLoop() {
    t_loops.erase(std::remove(t_loops.begin(), t_loops.end(), this), t_loops.end());
    if (t_loops.empty() && t_closeWhenDone) {
        const HWND window = std::exchange(t_closeWhenDone, nullptr);
        if (::IsWindow(window)) ::PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

void ModalLoop::End() {
    if (m_endAsked) return;
    m_endAsked = true;
    if (m_end) m_end();
}

int ModalLoop::Depth() {
    return static_cast<int>(t_loops.size());
}

void ModalLoop::EndAll() {
    // A copy: ending a loop may start or finish nothing here, but the list
    // must not change under the walk whatever an end does.
    const std::vector<ModalLoop*> loops = t_loops;
    for (auto it = loops.rbegin(); it != loops.rend(); ++it) (*it)->End();
}

void ModalLoop::CloseWhenDone(HWND window) {
    if (t_loops.empty()) {
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    t_closeWhenDone = window;
    EndAll();
}

bool ModalLoop::Closing() {
    return t_closeWhenDone != nullptr;
}

DialogWatch::DialogWatch() : m_outer(t_watch) {
    t_watch = this;
    m_hook = ::SetWindowsHookExA(WH_CBT, &DialogWatch::Hook, nullptr, ::GetCurrentThreadId());
}

DialogWatch::~DialogWatch() {
    if (m_hook) ::UnhookWindowsHookEx(m_hook);
    t_watch = m_outer;
}

LRESULT CALLBACK DialogWatch::Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && t_watch) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lp);
        if (create && create->lpcs && !(create->lpcs->style & WS_CHILD))
            t_watch->Seen(reinterpret_cast<HWND>(wp));
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void DialogWatch::Seen(HWND wnd) {
    if (m_found) return;
    char className[16] = "";
    ::GetClassNameA(wnd, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0) return;
    m_found = wnd;
    // Asked to end before it existed: it ends as soon as its loop runs.
    if (m_endAsked) ::PostMessageA(m_found, WM_COMMAND, IDCANCEL, 0);
}

void DialogWatch::End() {
    m_endAsked = true;
    if (m_found && ::IsWindow(m_found)) ::PostMessageA(m_found, WM_COMMAND, IDCANCEL, 0);
}

bool RunSystemDialog(const std::function<void()>& run) {
    if (ModalLoop::Closing()) return false;
    DialogWatch watch;
    ModalLoop loop([&watch] { watch.End(); });
    run();
    return true;
}

void TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    if (ModalLoop::Closing()) return;
    ModalLoop loop([] { ::EndMenu(); });
    ::TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}

}  // namespace fw
