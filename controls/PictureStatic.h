#pragma once
// A picture box: draws its GDI+ image at natural size from its top-left
// corner through a transformation matrix, with opaque yellow keyed out.
#include "controls/MyStatic.h"
#include "framework/GdiPlus.h"

class CPictureStatic : public CMyStatic {
  public:
    CPictureStatic();
    ~CPictureStatic() override;

    // Takes ownership of the image (null clears it); the previous one is deleted.
    void SetImage(ImagePtr image);
    Gdiplus::Image* GetImage() const { return m_image.get(); }

    // The matrix the picture is drawn through (identity at construction).
    Gdiplus::Matrix* GetMatrix() const { return m_matrix.get(); }
    // Sets the matrix to a rotation by `degrees` about (centerX, centerY):
    // identity, move the centre to the origin, rotate, move it back.
    void SetRotationAbout(float degrees, float centerX, float centerY);
    // Sets the six matrix elements.
    void SetMatrixElements(float m11, float m12, float m21, float m22, float dx, float dy);
    // The last failure of a matrix operation (Ok while none failed).
    Gdiplus::Status GetLastStatus() const { return m_lastStatus; }

    // Draws the picture onto dc as a paint would.
    void DrawPicture(HDC dc) const;

  protected:
    void OnPaint();

    DECLARE_MESSAGE_MAP()

  private:
    void Keep(Gdiplus::Status status) {
        if (status != Gdiplus::Ok) m_lastStatus = status;
    }

    ImagePtr m_image;
    MatrixPtr m_matrix;
    Gdiplus::Status m_lastStatus = Gdiplus::Ok;
};
