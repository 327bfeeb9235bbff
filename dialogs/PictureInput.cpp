#include "dialogs/PictureInput.h"

RECT ControlInput::Area() const {
    RECT client{0, 0, 320, 240};
    if (m_control) ::GetClientRect(m_control, &client);
    return client;
}

void ControlInput::CaptureMouse() {
    if (m_control) ::SetCapture(m_control);
}

void ControlInput::ReleaseMouse() {
    if (m_control && ::GetCapture() == m_control) ::ReleaseCapture();
}

void ControlInput::Notify(UINT message, WPARAM wp, LPARAM lp) {
    if (m_notify) ::PostMessageA(m_notify, message, wp, lp);
}
