#pragma once
// What a mode of the picture control may ask of the control itself: its
// area, the mouse, and a message to the window it reports to. The modes keep
// their own state; the control owns the window.
#include <windows.h>

class PictureInput {
  public:
    // The control's client rectangle (320 x 240 before its window exists).
    virtual RECT Area() const = 0;
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    virtual void Notify(UINT message, WPARAM wp, LPARAM lp) = 0;

  protected:
    ~PictureInput() = default;
};

// The picture control's window as a mode sees it.
class ControlInput final : public PictureInput {
  public:
    // The control (null before its window exists) and the window it reports to.
    void Attach(HWND control, HWND notify) {
        m_control = control;
        m_notify = notify;
    }
    RECT Area() const override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    void Notify(UINT message, WPARAM wp, LPARAM lp) override;

  private:
    HWND m_control = nullptr;
    HWND m_notify = nullptr;
};

// Moves a point one pixel by an arrow key, never off the area.
inline void MovePointByKey(POINT& point, WPARAM key, const RECT& area) {
    switch (key) {
        case VK_LEFT:
            if (point.x > 0) --point.x;
            break;
        case VK_RIGHT:
            if (point.x < area.right - 1) ++point.x;
            break;
        case VK_UP:
            if (point.y > 0) --point.y;
            break;
        case VK_DOWN:
            if (point.y < area.bottom - 1) ++point.y;
            break;
        default:
            break;
    }
}

// The rectangle two corners span, whichever way it was dragged.
inline RECT SpannedRect(POINT a, POINT b) {
    return {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.x > b.x ? a.x : b.x,
            a.y > b.y ? a.y : b.y};
}

// A small cross of arm pixels each way.
inline void DrawCross(HDC dc, POINT at, int arm) {
    ::MoveToEx(dc, at.x - arm, at.y, nullptr);
    ::LineTo(dc, at.x + arm, at.y);
    ::MoveToEx(dc, at.x, at.y - arm, nullptr);
    ::LineTo(dc, at.x, at.y + arm);
}
