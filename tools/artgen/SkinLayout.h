// Geometry of the shipped skin. The background art, the button pictures and Layout.ini are all
// generated from these numbers so that they always agree.
#pragma once

#include <array>

namespace artgen::skin {

constexpr int kWidth = 850;  // base window size; the program never shrinks below it
constexpr int kHeight = 600;

constexpr int kTitleHeight = 28;  // dark strip the user drags the window by (0..780 x 0..28)
constexpr int kDragRight = 780;

// Exit button: the program puts its left edge at window width - 38.
constexpr int kExitLeft = kWidth - 38;
constexpr int kExitTop = 2;
constexpr int kExitSize = 24;

// Settings-menu button.
constexpr int kMenuLeft = 765;
constexpr int kMenuTop = 532;
constexpr int kMenuWidth = 71;
constexpr int kMenuHeight = 57;

// Live picture: 640 x 480 at the base size, i.e. the 320 x 240 camera picture doubled.
constexpr int kPictureLeft = 14;
constexpr int kPictureTop = 35;
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

// Framed areas of the background.
constexpr int kFrameLeft = 10, kFrameTop = 31, kFrameRight = 658, kFrameBottom = 519;
constexpr int kPanelLeft = 670, kPanelTop = 31, kPanelRight = 840, kPanelBottom = 519;
constexpr int kFooterLeft = 10, kFooterTop = 528, kFooterRight = 840, kFooterBottom = 594;

// Settings-menu entries, top to bottom: command 150 + value, 8 = separator.
// General, Camera Angle, Counter, Verification, Calibration Test | Load calibration file | About.
constexpr std::array<int, 9> kMenuOrder = {0, 2, 1, 3, 4, 8, 7, 8, 6};

}  // namespace artgen::skin
