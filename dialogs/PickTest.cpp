#include "dialogs/PickTest.h"

#include <cstdint>
#include <cstdlib>

#include "hostlink/HostMessages.h"

namespace {
constexpr int kModeTestLeft = 2;

bool Inside(const RECT& area, POINT point) {
    return ::PtInRect(&area, point) != FALSE;
}
}  // namespace

void PickTest::ButtonDown(POINT point, PictureInput& input) {
    if (m_method == kPoint) {
        m_point = point;
        input.Notify(WM_UI_SELECTION_CHANGED, hostlink::kSelectionPoint, m_mode);
    } else if (m_method == kRegion && m_mode == kModeTestLeft) {
        input.CaptureMouse();
        m_dragging = true;
        m_dragStart = m_dragEnd = point;
    }
}

bool PickTest::MouseMove(POINT point, PictureInput& input) {
    if (m_mode != kModeTestLeft || m_method != kRegion || !m_dragging) return false;
    if (Inside(input.Area(), point)) {
        m_dragEnd = point;
    } else {
        EndRegionDrag(input);
    }
    return true;
}

void PickTest::ButtonUp(PictureInput& input) {
    if (m_mode == kModeTestLeft && m_method == kRegion && m_dragging) EndRegionDrag(input);
}

bool PickTest::Key(WPARAM key, PictureInput& input) {
    if (m_method != kPoint) return false;
    MovePointByKey(m_point, key, input.Area());
    input.Notify(WM_UI_SELECTION_CHANGED, hostlink::kSelectionPoint, m_mode);
    return true;
}

void PickTest::EndRegionDrag(PictureInput& input) {
    input.ReleaseMouse();
    m_dragging = false;
    const int64_t width = static_cast<int64_t>(m_dragEnd.x) - m_dragStart.x;
    const int64_t height = static_cast<int64_t>(m_dragEnd.y) - m_dragStart.y;
    if (std::llabs(width) >= kSmallestRegion && std::llabs(height) >= kSmallestRegion) {
        m_region = SpannedRect(m_dragStart, m_dragEnd);
        input.Notify(WM_UI_SELECTION_CHANGED, hostlink::kSelectionRegion, m_mode);
    } else {
        m_region = {0, 0, 0, 0};
    }
    m_dragStart = m_dragEnd;
}

void PickTest::CreateDrawingObjects() {
    m_dragging = false;
    m_dottedGreenPen.reset(::CreatePen(PS_DOT, 1, RGB(0, 255, 0)));
    m_greenPen.reset(::CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
}

void PickTest::ReleaseDrawingObjects() {
    m_greenPen.reset();
    m_dottedGreenPen.reset();
}

void PickTest::Draw(HDC dc) const {
    if (m_method == kPoint) {
        if (!m_greenPen) return;
        SelectObjectScope pen(dc, m_greenPen.get());
        DrawCross(dc, m_point, 3);
        return;
    }
    SelectObjectScope hollow(dc, ::GetStockObject(NULL_BRUSH));
    const bool noRegion =
        m_region.left == 0 && m_region.top == 0 && m_region.right == 0 && m_region.bottom == 0;
    const RECT shown = m_dragging ? SpannedRect(m_dragStart, m_dragEnd) : m_region;
    HPEN pen = m_dragging ? m_dottedGreenPen.get() : m_greenPen.get();
    if (!pen || (!m_dragging && noRegion)) return;
    SelectObjectScope selected(dc, pen);
    ::Rectangle(dc, shown.left, shown.top, shown.right, shown.bottom);
}
