#pragma once
// The main window's look, read once from resources\Layout.ini at the view's
// set-up: the background picture, the Exit and settings-menu buttons (skin
// buttons, children of the view), the place of the live picture, and which
// commands the settings menu lists in which order, named by the language file.
#include <windows.h>

#include <string>

#include "controls/SkinButton.h"
#include "framework/GdiPlus.h"
#include "framework/Wnd.h"

class Skin {
  public:
    // The settings-menu button's control identifier.
    static constexpr UINT kMenuButtonId = 101;

    // Builds the skin on `view` for a main window of `frameWidth` x
    // `frameHeight`, appending the menu's entries to `menu`.
    void Load(CWnd& view, int frameWidth, int frameHeight, const std::string& moduleFolder,
              const std::string& languageFile, HMENU menu);
    void PaintBackground(HDC dc) const;

    const RECT& PictureRect() const { return m_pictureRect; }
    CSkinButton& MenuButton() { return m_menuButton; }

  private:
    BitmapPtr m_background;
    CSkinButton m_exitButton;
    CSkinButton m_menuButton;
    RECT m_pictureRect{14, 35, 334, 275};
};
