#pragma once
// An owner-drawn bitmap button of the skin: one picture per state (up, hover,
// down, disabled) with opaque yellow keyed out so the parent shows through.
// Kinds 1 and 3 toggle (latch) on each click; kinds 2 and 3 draw a 3-D frame.
#include <string>

#include "framework/Controls.h"
#include "framework/GdiPlus.h"
#include "framework/Handles.h"

class CSkinButton : public CButton {
  public:
    enum Kind : int {
        kPush = 0,
        kToggle = 1,
        kFramedPush = 2,
        kFramedToggle = 3,
    };
    // Pictures of framed kinds are drawn this far inside the frame.
    static constexpr int kFrameInset = 3;
    // The identifier of the Exit button: the system close command.
    static constexpr UINT kCloseId = 0xF060;

    CSkinButton();
    ~CSkinButton() override;

    // Loads the four pictures from files (an empty path or an unreadable file
    // leaves that picture empty: it draws nothing) and fits the window region.
    void LoadBitmaps(const std::string& up, const std::string& hover, const std::string& down,
                     const std::string& disabled);
    // Replaces the up picture with a bitmap resource of the program, sets the
    // kind (an unknown kind keeps the previous one) and fits the window region.
    void LoadBitmapResource(UINT id, int kind);

    // What leaving the button does: no hover, capture released, repainted.
    void ResetHover();

    int GetHover() const { return m_hover; }
    int GetKind() const { return m_kind; }
    int GetLatched() const { return m_latched; }
    void SetLatched(int latched);
    POINT GetLastMousePoint() const { return m_lastMousePoint; }
    // The window region kept for hit tests and repaints (null before fitting).
    HRGN GetRegion() const { return m_region.get(); }
    bool HasUpPicture() const { return m_upPicture != nullptr; }

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    BOOL PreTranslateMessage(MSG* msg) override;

  protected:
    void PreSubclassWindow() override;

    void OnClicked();
    void OnMouseMove(UINT flags, POINT point);
    BOOL OnEraseBkgnd(HDC dc);

    DECLARE_MESSAGE_MAP()

  private:
    void FitRegion();
    void RepaintRegion();

    BitmapPtr m_upPicture;
    BitmapPtr m_hoverPicture;
    BitmapPtr m_downPicture;
    BitmapPtr m_disabledPicture;
    int m_hover = 0;
    RegionHandle m_region;
    int m_shape = 0;
    int m_kind = kPush;
    int m_latched = 0;
    POINT m_lastMousePoint{0, 0};
    PenHandle m_focusPen;
};
