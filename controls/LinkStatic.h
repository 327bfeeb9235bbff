#pragma once
// A text label with its own fonts and colour that can act as a link: while the
// mouse is over it, it holds the capture and (with the link flag) shows its
// text underlined; a left click posts WM_UI_LINK_CLICKED to the parent.
#include <windows.h>

#include "controls/MyStatic.h"
#include "framework/Handles.h"

class CLinkStatic : public CMyStatic {
  public:
    CLinkStatic();
    ~CLinkStatic() override;

    // Replaces a font (the label owns it from now on); a null font is refused.
    // Every setter repaints the label.
    void SetNormalFont(FontHandle font);
    void SetHoverFont(FontHandle font);
    HFONT GetNormalFont() const { return m_normalFont.get(); }
    HFONT GetHoverFont() const { return m_hoverFont.get(); }
    // Re-creates a font from its current description with another height and
    // weight (the hover font keeps its underline); FALSE leaves it unchanged.
    BOOL ResizeNormalFont(LONG height, LONG weight);
    BOOL ResizeHoverFont(LONG height, LONG weight);

    void SetLink(int link) {
        m_link = link;
        Repaint();
    }
    int GetLink() const { return m_link; }
    void SetColor(COLORREF color) {
        m_color = color;
        Repaint();
    }
    COLORREF GetColor() const { return m_color; }
    int GetHover() const { return m_hover; }
    // The font the next paint uses.
    HFONT GetPaintFont() const;

  protected:
    void OnPaint();
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonDown(UINT flags, POINT point);
    LRESULT OnCaptureChanged(WPARAM wp, LPARAM lp);

    DECLARE_MESSAGE_MAP()

  private:
    void Repaint() {
        if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }

    FontHandle m_normalFont;
    FontHandle m_hoverFont;
    int m_link = 1;
    COLORREF m_color = 0;
    int m_hover = 0;
};
