#pragma once
// The common colour chooser: opens on an initial colour and gives back the
// colour the user confirmed.
#include <windows.h>

class CColorDialog {
  public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, HWND owner = nullptr)
        : m_color(initial), m_flags(flags), m_owner(owner) {}
    INT_PTR DoModal();  // IDOK or IDCANCEL
    // The confirmed colour (the initial one until the user confirms another).
    COLORREF GetColor() const { return m_color; }

  private:
    COLORREF m_color;
    DWORD m_flags;
    HWND m_owner;
};
