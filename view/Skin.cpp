#include "view/Skin.h"

#include <array>

#include "settings/IniFile.h"
#include "view/SkinLayout.h"

void Skin::Load(CWnd& view, int frameWidth, int frameHeight, const std::string& moduleFolder,
                const std::string& languageFile, HMENU menu) {
    const std::string folder = moduleFolder + "resources\\";
    const std::string skin = folder + "Layout.ini";
    // The frame's normal size, never below the base 850 x 600.
    const SkinSize size = BaseSkinSize(frameWidth, frameHeight);

    m_background = LoadBitmapFile(
        folder + GetIniString("Background", "BackSetting", "tSk-Setting-Back.bmp", skin));

    auto createButton = [&](CSkinButton& button, const char* section, const char* up,
                            const char* hover, const char* down, const char* tip, const RECT& rect,
                            UINT id) {
        const std::string tipText = GetIniString(section, "tip", tip, skin);
        button.Create("BUTTON", tipText.c_str(), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, &view,
                      id);
        button.LoadBitmaps(folder + GetIniString(section, "BU", up, skin),
                           folder + GetIniString(section, "BF", hover, skin),
                           folder + GetIniString(section, "BD", down, skin), "");
    };
    const RECT exitRect = ExitButtonRect(size, GetIniInt("Exit Btn", "y", 5, skin),
                                         GetIniInt("Exit Btn", "cx", 24, skin),
                                         GetIniInt("Exit Btn", "cy", 24, skin));
    createButton(m_exitButton, "Exit Btn", "tSk-Btn-Exit-u.bmp", "tSk-Btn-Exit-f.bmp",
                 "tSk-Btn-Exit-d.bmp", "Exit", exitRect, SC_CLOSE);
    const RECT menuRect = ButtonRect(GetIniInt("Setting Menu Btn", "x", 771, skin),
                                     GetIniInt("Setting Menu Btn", "y", 535, skin),
                                     GetIniInt("Setting Menu Btn", "cx", 71, skin),
                                     GetIniInt("Setting Menu Btn", "cy", 57, skin));
    createButton(m_menuButton, "Setting Menu Btn", "tSk-Btn-Menu-u.bmp", "tSk-Btn-Menu-f.bmp",
                 "tSk-Btn-Menu-d.bmp", "Menu", menuRect, kMenuButtonId);

    // The layout chooses which commands appear and in which order; the
    // language file names them.
    std::array<int, kMenuPositions> indices{};
    for (int position = 0; position < kMenuPositions; ++position) {
        const std::string section = std::to_string(position);
        indices[static_cast<size_t>(position)] = GetIniInt(section.c_str(), "ndx", 7, skin);
    }
    for (const MenuItem& item : BuildMenuItems(indices)) {
        if (item.separator) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            const std::string text =
                GetIniString("Menu", std::to_string(item.index).c_str(), "", languageFile);
            ::AppendMenuA(menu, MF_STRING, item.command, text.c_str());
        }
    }

    m_pictureRect = PictureRectangle(size, GetIniInt("Setting View Window", "x", 14, skin),
                                     GetIniInt("Setting View Window", "y", 35, skin),
                                     GetIniInt("Setting View Window", "cx", 320, skin),
                                     GetIniInt("Setting View Window", "cy", 240, skin));
}

void Skin::PaintBackground(HDC dc) const {
    if (!m_background) return;
    Gdiplus::Graphics graphics(dc);
    graphics.DrawImage(m_background.get(), 0, 0, static_cast<INT>(m_background->GetWidth()),
                       static_cast<INT>(m_background->GetHeight()));
}
