#pragma once
// Window-message numbers and shared-memory block names of the link between
// this program and the counting engine (the host), plus the small integer
// values those messages carry. Platform-free on purpose: the stand-in host
// and the native tests include it without <windows.h>.
#include <cstddef>
#include <cstdint>

namespace hostlink {
constexpr unsigned kWmApp = 0x8000;  // WM_APP
}

// ---- Posted by this program to the host window --------------------------
constexpr unsigned WM_HOST_ATTACH = hostlink::kWmApp + 0x100;              // view hwnd, main hwnd
constexpr unsigned WM_HOST_EDIT_COUNTING_LINE = hostlink::kWmApp + 0x101;  // point 1, point 2
constexpr unsigned WM_HOST_PATTERN_FEATURES = hostlink::kWmApp + 0x102;    // 0, 0
constexpr unsigned WM_HOST_MEASURE_REGION = hostlink::kWmApp + 0x103;      // left|top, right|bottom
constexpr unsigned WM_HOST_DIALOG_STATE = hostlink::kWmApp + 0x104;        // open/closed, pictures
constexpr unsigned WM_HOST_SET_COUNTING_LINE = hostlink::kWmApp + 0x105;   // point 1, point 2
constexpr unsigned WM_HOST_DETACH = hostlink::kWmApp + 0x106;              // 0, 0
constexpr unsigned WM_HOST_CALIBRATION_CHANGED = hostlink::kWmApp + 0x107;     // 0, 0
constexpr unsigned WM_HOST_CAMERA_ANGLE_SAVED = hostlink::kWmApp + 0x108;      // 0, 0
constexpr unsigned WM_HOST_COUNTER_SETTINGS_SAVED = hostlink::kWmApp + 0x109;  // 0, 0

// ---- Sent or posted by the host to the view -----------------------------
constexpr unsigned WM_VIEW_NEW_FRAME = hostlink::kWmApp + 0x200;         // kind|count, width|height
constexpr unsigned WM_VIEW_COUNTING_LINE_3D = hostlink::kWmApp + 0x201;  // non-zero, -
constexpr unsigned WM_VIEW_CAMERA_ANGLE = hostlink::kWmApp + 0x202;      // -, -
constexpr unsigned WM_VIEW_REGION_RESULT = hostlink::kWmApp + 0x203;  // float disparity, float cm
constexpr unsigned WM_VIEW_COUNTING_LINE = hostlink::kWmApp + 0x204;  // point 1, point 2
constexpr unsigned WM_VIEW_CLOSE = hostlink::kWmApp + 0x205;          // -, -
constexpr unsigned WM_VIEW_CALIBRATION_CHANGED = hostlink::kWmApp + 0x206;  // -, -
constexpr unsigned WM_VIEW_MARKER_RECT = hostlink::kWmApp + 0x207;   // left|top, right|bottom
constexpr unsigned WM_VIEW_COUNTER_RECT = hostlink::kWmApp + 0x208;  // left|top, right|bottom

// ---- Inside this program (controls, dialogs, view) ----------------------
constexpr unsigned WM_UI_PICTURE_READY = hostlink::kWmApp + 0x01;          // 0, 0
constexpr unsigned WM_UI_HOST_REQUEST = hostlink::kWmApp + 0x02;           // request kind, 0
constexpr unsigned WM_UI_CAMERA_ANGLE_ACCEPTED = hostlink::kWmApp + 0x03;  // 0, 0
constexpr unsigned WM_UI_SELECTION_CHANGED = hostlink::kWmApp + 0x06;      // kind, picture mode
constexpr unsigned WM_UI_STATIC_CLICKED = hostlink::kWmApp + 0x08;         // control id, 0
constexpr unsigned WM_UI_LINK_CLICKED = WM_UI_STATIC_CLICKED;       // posted by the link label
constexpr unsigned WM_UI_BUTTON_CLICKED = hostlink::kWmApp + 0x30;  // control id, 0
constexpr unsigned WM_UI_MARK_POINT = hostlink::kWmApp + 0x40;      // picture tag, 0

namespace hostlink {

// First and last number of each family, for range checks and message maps.
constexpr unsigned kFirstHostMessage = WM_HOST_ATTACH;
constexpr unsigned kLastHostMessage = WM_HOST_COUNTER_SETTINGS_SAVED;
constexpr unsigned kFirstViewMessage = WM_VIEW_NEW_FRAME;
constexpr unsigned kLastViewMessage = WM_VIEW_COUNTER_RECT;

// WM_HOST_DIALOG_STATE: wParam opening/closed, lParam = rectified pictures
// the dialog shows (2 for the Calibration Test, 1 otherwise; 1 on close).
constexpr uint32_t kDialogClosed = 0;
constexpr uint32_t kDialogOpening = 1;
constexpr uint32_t kDialogShowsLeftPicture = 1;
constexpr uint32_t kDialogShowsBothPictures = 2;
constexpr uint32_t kDialogClosedPictures = 1;

// WM_VIEW_NEW_FRAME: high word of wParam says which block holds the picture,
// for rectified pictures the low word gives their count (1 or 2).
constexpr uint32_t kFrameLive = 0;
constexpr uint32_t kFrameRectified = 1;
constexpr uint32_t kRectifiedLeftOnly = 1;
constexpr uint32_t kRectifiedLeftAndRight = 2;

// WM_UI_HOST_REQUEST wParam; other values are ignored.
constexpr uint32_t kRequestCountingLine = 1;
constexpr uint32_t kRequestPatternFeatures = 2;
constexpr uint32_t kRequestMeasureRegion = 3;

// WM_UI_SELECTION_CHANGED wParam.
constexpr uint32_t kSelectionPoint = 0;
constexpr uint32_t kSelectionRegion = 1;

// ---- Named shared-memory blocks (created by the host) -------------------
constexpr const char* kImageBlockName = "Varanix_Tallyscope_Image";
constexpr const char* kRectImageBlockName = "Varanix_Tallyscope_RectImage";
constexpr const char* kPatternFeatureBlockName = "Varanix_Tallyscope_PatternFeature";
constexpr const char* kCountingLineBlockName = "Varanix_Tallyscope_CountingLine";
constexpr const char* kCameraAngleBlockName = "Varanix_Tallyscope_CameraAngle";

// What the user is told when a block cannot be opened or mapped (Image and
// RectImage share their text).
constexpr const char* kImageBlockFailedText = "Can't Open Shared Memory for Reading Image!";
constexpr const char* kPatternFeatureBlockFailedText =
    "Can't Open Shared Memory for Writting Pattern Features!";
constexpr const char* kCountingLineBlockFailedText =
    "Can't Open Shared Memory for Reading 3D Counting Line!";
constexpr const char* kCameraAngleBlockFailedText =
    "Can't Open Shared Memory for Reading Camera Angle!";

// Bytes mapped of the three fixed-size blocks. The Image block maps
// width x 3 x height of the first live picture, the RectImage block twice
// width x 3 x height of the first rectified message (see PictureSizes.h).
constexpr std::size_t kPatternFeatureBlockBytes = 32;
constexpr std::size_t kCountingLineBlockBytes = 12;
constexpr std::size_t kCameraAngleBlockBytes = 12;

// The rectified pictures the dialogs show: 320 x 240, 24 bits, bottom-up.
constexpr uint32_t kRectifiedWidth = 320;
constexpr uint32_t kRectifiedHeight = 240;
constexpr std::size_t kRectifiedPictureBytes = 230400;  // 320 * 3 * 240
static_assert(kRectifiedPictureBytes == std::size_t{kRectifiedWidth} * 3 * kRectifiedHeight);

}  // namespace hostlink
