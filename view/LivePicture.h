#pragma once
// The live picture of the main window: the host's picture composed with its
// overlays - the counting line the host reports, with its arrows, and the
// stored mask when a counting line is set, and the marker box - in a
// 320 x 240 off-screen picture, then stretched into the skin's picture
// rectangle. What draws the overlays lives as long as the view: nothing is
// made per picture.
#include <windows.h>

#include "controls/CountingLinePainter.h"
#include "framework/GdiPlus.h"
#include "framework/Handles.h"
#include "framework/OffscreenSurface.h"
#include "hostlink/OverlayGeometry.h"
#include "settings/CameraSettings.h"
#include "view/PictureFeed.h"

class LivePicture {
  public:
    LivePicture();

    // The in and out arrow pictures (bitmap resources 178 and 180).
    void LoadArrows();
    // The off-screen picture, once the view's window exists.
    void Create(HWND view);
    // The counting line of WM_VIEW_COUNTING_LINE, and the in angle its
    // arrows point by (the stored one).
    void SetHostLine(hostlink::HostPoint p1, hostlink::HostPoint p2);
    void SetInAngle(float angleIn);
    void SetMarker(const RECT& marker) { m_marker = marker; }

    // Composes the feed's live picture (nothing before the first one) and
    // stretches it into `area` of the window.
    void Show(HWND view, const RECT& area, const PictureFeed& feed, const CameraSettings& settings,
              HRGN mask);

  private:
    void PlaceArrows();

    OffscreenSurface m_surface;
    BitmapPtr m_arrowIn;
    BitmapPtr m_arrowOut;
    hostlink::CountingLineOverlay m_overlay;  // P1, P2 as the host sent them
    float m_angleIn = 0.0f;
    controls::CountingLinePainter m_painter;
    PenHandle m_linePen;
    PenHandle m_markerPen;
    RECT m_marker{0, 0, 0, 0};
};
