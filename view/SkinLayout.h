#pragma once
// Skin layout maths of the main view: the base size, the places of the Exit
// and menu buttons and of the live picture, and the settings menu's entries
// chosen by the layout file. Platform-free.
#include <array>
#include <vector>

#include "res/Resource.h"

// The window size the skin is drawn for.
constexpr int kBaseSkinWidth = 850;
constexpr int kBaseSkinHeight = 600;
// Distance of the Exit button's left edge from the window's right edge.
constexpr int kExitButtonFromRight = 38;
// Sections "0" to "8" of the layout file: one menu position each.
constexpr int kMenuPositions = 9;
// The layout value that stands for a separator; 0 to 7 choose a command.
constexpr int kMenuSeparatorIndex = 8;
constexpr int kMenuDefaultIndex = 7;
// Every coordinate the skin produces stays inside what GDI handles everywhere.
constexpr int kSkinCoordinateLimit = 32767;

struct SkinSize {
    int width = kBaseSkinWidth;
    int height = kBaseSkinHeight;
};

struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Becomes the platform's rectangle (RECT) without this header knowing it.
    template <typename R>
    requires requires(int v) { R{v, v, v, v}; }
    operator R() const { return R{left, top, right, bottom}; }
};

// The frame's size, never below the base 850 x 600.
SkinSize BaseSkinSize(int frameWidth, int frameHeight);

// Exit button: left = width - 38, top = y, cx x cy.
SkinRect ExitButtonRect(SkinSize size, int top, int cx, int cy);
// Menu button (or any button placed by the layout): (x, y), cx x cy.
SkinRect ButtonRect(int x, int y, int cx, int cy);

// The live-picture rectangle: (x, y) and cx x cy scaled from the base size by
// (width - 210) / 640 and (height - 120) / 480, computed in single precision.
SkinRect PictureRectangle(SkinSize size, int x, int y, int cx, int cy);

struct MenuItem {
    bool separator = false;
    int index = 0;         // the layout value 0..7: also the language key of its text
    unsigned command = 0;  // ID_FIRST_MENU_COMMAND + index
};

// The menu entries in layout order; values other than 0..8 add nothing.
std::vector<MenuItem> BuildMenuItems(const std::array<int, kMenuPositions>& indices);
