#pragma once
// Every modal loop the program runs - its own dialogs, the common dialogs,
// message boxes, popup menus - registers itself for as long as it runs,
// with the way to end it. A request to close a window that arrives while any
// of them runs (the host may ask at any moment, with nobody at the screen)
// ends them all, innermost first, and is carried out once the outermost has
// returned; until then no new modal loop starts. Nothing is ever destroyed
// under a loop that still runs.
#include <windows.h>

#include <functional>

namespace fw {

class ModalLoop {
  public:
    // Registers a loop of this thread; `end` asks it to end (it may return
    // before the loop has) and is called at most once.
    explicit ModalLoop(std::function<void()> end);
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // Loops running on this thread now.
    static int Depth();
    // Asks every running loop to end, innermost first.
    static void EndAll();
    // Ends every running loop and sends `window` WM_CLOSE once the last has
    // returned (posted at once when none runs).
    static void CloseWhenDone(HWND window);
    // A close waits for the running loops: a loop about to start gives up.
    static bool Closing();

  private:
    void End();

    std::function<void()> m_end;
    bool m_endAsked = false;
};

// The window of a dialog the system makes out of our sight (a message box, a
// common dialog): the first top-level dialog window created on this thread
// while the watch lives. End() cancels it, at once or as soon as it exists.
class DialogWatch {
  public:
    DialogWatch();
    ~DialogWatch();
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;

    HWND Found() const { return m_found; }
    void End();

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp);
    void Seen(HWND wnd);

    HHOOK m_hook = nullptr;
    HWND m_found = nullptr;
    bool m_endAsked = false;
    DialogWatch* m_outer = nullptr;  // the watch that was current before this one
};

// A system dialog run as a modal loop of the program: `run` shows it and
// returns when it ends. Gives up at once (returns false) while a close waits.
bool RunSystemDialog(const std::function<void()>& run);

// A popup menu as a modal loop of the program: the chosen command arrives as
// WM_COMMAND. Shows nothing while a close waits.
void TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);

}  // namespace fw
