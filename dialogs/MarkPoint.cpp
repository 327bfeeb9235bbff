#include "dialogs/MarkPoint.h"

#include "dialogs/PictureInput.h"

void MarkPoint::CreateDrawingObjects() {
    if (!m_greenPen) m_greenPen.reset(::CreatePen(PS_SOLID, 1, RGB(0, 255, 0)));
}

void MarkPoint::Draw(HDC dc) const {
    if (!m_greenPen || !m_shown) return;
    SelectObjectScope pen(dc, m_greenPen.get());
    DrawCross(dc, m_point, 3);
}
