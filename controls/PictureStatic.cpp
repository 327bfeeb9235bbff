#include "controls/PictureStatic.h"

#include "framework/Handles.h"

BEGIN_MESSAGE_MAP(CPictureStatic, CMyStatic)
ON_MESSAGE(WM_PAINT, OnPaint)
END_MESSAGE_MAP()

CPictureStatic::CPictureStatic() : m_matrix(new Gdiplus::Matrix()) {
    Keep(m_matrix->GetLastStatus());
}

CPictureStatic::~CPictureStatic() = default;

void CPictureStatic::SetImage(ImagePtr image) {
    m_image = std::move(image);
}

void CPictureStatic::SetRotationAbout(float degrees, float centerX, float centerY) {
    Keep(m_matrix->Reset());
    Keep(m_matrix->Translate(-centerX, -centerY, Gdiplus::MatrixOrderPrepend));
    Keep(m_matrix->Rotate(degrees, Gdiplus::MatrixOrderAppend));
    Keep(m_matrix->Translate(centerX, centerY, Gdiplus::MatrixOrderAppend));
}

void CPictureStatic::SetMatrixElements(float m11, float m12, float m21, float m22, float dx,
                                       float dy) {
    Keep(m_matrix->SetElements(m11, m12, m21, m22, dx, dy));
}

void CPictureStatic::DrawPicture(HDC dc) const {
    if (!m_image || !dc) return;
    Gdiplus::Graphics graphics(dc);
    Gdiplus::ImageAttributes attributes;
    // Opaque yellow becomes fully transparent: those pixels are not drawn.
    Gdiplus::ColorMap yellowToClear{};
    yellowToClear.oldColor = Gdiplus::Color(255, 255, 255, 0);
    yellowToClear.newColor = Gdiplus::Color(0, 0, 0, 0);
    attributes.SetRemapTable(1, &yellowToClear, Gdiplus::ColorAdjustTypeDefault);
    graphics.SetTransform(m_matrix.get());
    const INT width = static_cast<INT>(m_image->GetWidth());
    const INT height = static_cast<INT>(m_image->GetHeight());
    graphics.DrawImage(m_image.get(), Gdiplus::Rect(0, 0, width, height), 0, 0, width, height,
                       Gdiplus::UnitPixel, &attributes);
}

void CPictureStatic::OnPaint() {
    PaintDc paint(m_hWnd);
    DrawPicture(paint.get());
}
