#include "dialogs/CornerPoints.h"

#include <cstdio>

#include "dialogs/PictureInput.h"

void CornerPoints::Click(POINT point) {
    if (m_points.size() < kMaxPoints) m_points.push_back(point);
}

bool CornerPoints::MoveLastByKey(WPARAM key, const RECT& area) {
    if (m_points.empty()) return false;
    MovePointByKey(m_points.back(), key, area);
    return true;
}

void CornerPoints::CreateDrawingObjects() {
    m_greenPen.reset(::CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
    m_labelFont.reset(::CreateFontA(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0,
                                    FF_SWISS, "Tahoma"));
}

void CornerPoints::ReleaseDrawingObjects() {
    m_greenPen.reset();
    m_labelFont.reset();
}

void CornerPoints::Draw(HDC dc) const {
    if (!m_greenPen || !m_labelFont) return;
    SelectObjectScope font(dc, m_labelFont.get());
    const int oldBkMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(dc, RGB(255, 0, 0));
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const POINT p = m_points[i];
        {
            SelectObjectScope pen(dc, m_greenPen.get());
            DrawCross(dc, p, 2);
        }
        char label[24];
        const int length = std::snprintf(label, sizeof label, "%d", static_cast<int>(i));
        if (length > 0) ::TextOutA(dc, p.x, p.y + 4, label, length);
    }
    ::SetTextColor(dc, oldColor);
    if (oldBkMode != 0) ::SetBkMode(dc, oldBkMode);
}
