#pragma once
// Posts the WM_HOST_ messages to the host window. Fire-and-forget: the host
// may have gone, and a failed PostMessage is not reported. Points and
// rectangles are packed as (x << 16) | (y & 0xFFFF).
#include <windows.h>

#include <cstdint>

#include "hostlink/HostPacking.h"

namespace hostlink {

class HostLink {
  public:
    HostLink() = default;
    explicit HostLink(HWND hostWnd) : m_hostWnd(hostWnd) {}

    void SetHostWindow(HWND hostWnd) { m_hostWnd = hostWnd; }
    HWND HostWindow() const { return m_hostWnd; }
    // A host window was given and is no window (any more): the host died,
    // closed its window, or had gone before this program started. Without a
    // host window (none given) the host is not gone.
    bool HostGone() const;

    // Without a host window nothing is posted (PostMessage to a null window
    // would land in this thread's own queue).
    void Post(unsigned message, uint32_t wParam, uint32_t lParam) const;

    void Attach(HWND view, HWND mainWnd) const;  // WM_HOST_ATTACH (full handles)
    void EditCountingLine(HostPoint p1, HostPoint p2) const;
    void PatternFeatures() const;
    void MeasureRegion(const HostRect& region) const;
    // WM_HOST_DIALOG_STATE (1, pictures) before a picture dialog opens and
    // (0, 1) after it closed.
    void DialogOpening(uint32_t pictures) const;
    void DialogClosed() const;
    void SetCountingLine(HostPoint p1, HostPoint p2) const;
    void Detach() const;
    void CalibrationChanged() const;
    void CameraAngleSaved() const;
    void CounterSettingsSaved() const;

  private:
    HWND m_hostWnd = nullptr;
};

}  // namespace hostlink
