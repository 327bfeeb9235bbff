#include "hostlink/HostLink.h"

#include "hostlink/HostMessages.h"

namespace hostlink {

bool HostLink::HostGone() const {
    return m_hostWnd != nullptr && !::IsWindow(m_hostWnd);
}

void HostLink::Post(unsigned message, uint32_t wParam, uint32_t lParam) const {
    if (!m_hostWnd) return;
    // Zero-extended into WPARAM/LPARAM; the host reads the low 32 bits.
    ::PostMessageA(m_hostWnd, message, static_cast<WPARAM>(wParam),
                   static_cast<LPARAM>(static_cast<ULONG_PTR>(lParam)));
}

void HostLink::Attach(HWND view, HWND mainWnd) const {
    if (!m_hostWnd) return;
    ::PostMessageA(m_hostWnd, WM_HOST_ATTACH, reinterpret_cast<WPARAM>(view),
                   reinterpret_cast<LPARAM>(mainWnd));
}

void HostLink::EditCountingLine(HostPoint p1, HostPoint p2) const {
    Post(WM_HOST_EDIT_COUNTING_LINE, PackPoint(p1), PackPoint(p2));
}

void HostLink::PatternFeatures() const {
    Post(WM_HOST_PATTERN_FEATURES, 0, 0);
}

void HostLink::MeasureRegion(const HostRect& region) const {
    const PackedRect packed = PackRect(region);
    Post(WM_HOST_MEASURE_REGION, packed.topLeft, packed.bottomRight);
}

void HostLink::DialogOpening(uint32_t pictures) const {
    Post(WM_HOST_DIALOG_STATE, kDialogOpening, pictures);
}

void HostLink::DialogClosed() const {
    Post(WM_HOST_DIALOG_STATE, kDialogClosed, kDialogClosedPictures);
}

void HostLink::SetCountingLine(HostPoint p1, HostPoint p2) const {
    Post(WM_HOST_SET_COUNTING_LINE, PackPoint(p1), PackPoint(p2));
}

void HostLink::Detach() const {
    Post(WM_HOST_DETACH, 0, 0);
}

void HostLink::CalibrationChanged() const {
    Post(WM_HOST_CALIBRATION_CHANGED, 0, 0);
}

void HostLink::CameraAngleSaved() const {
    Post(WM_HOST_CAMERA_ANGLE_SAVED, 0, 0);
}

void HostLink::CounterSettingsSaved() const {
    Post(WM_HOST_COUNTER_SETTINGS_SAVED, 0, 0);
}

}  // namespace hostlink
