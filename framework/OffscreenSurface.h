#pragma once
// An off-screen picture: a memory DC compatible with a window's, a bitmap of
// a fixed size selected into it - the DC's own bitmap is put back before
// either goes - and, when asked for, GDI+ graphics that draw on it.
#include <memory>

#include "framework/GdiPlus.h"
#include "framework/Handles.h"

class OffscreenSurface {
  public:
    OffscreenSurface() = default;
    // Compatible with the window's DC (the screen's for null); empty (false)
    // when the DC or the bitmap cannot be made.
    OffscreenSurface(HWND compatibleWith, int width, int height, bool withGraphics);
    ~OffscreenSurface();
    OffscreenSurface(OffscreenSurface&& other) noexcept;
    OffscreenSurface& operator=(OffscreenSurface&& other) noexcept;
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    explicit operator bool() const { return m_bitmap.valid(); }
    HDC dc() const { return m_dc.get(); }
    // Null unless made with graphics.
    Gdiplus::Graphics* graphics() const { return m_graphics.get(); }
    int width() const { return m_width; }
    int height() const { return m_height; }

  private:
    void Release();

    MemoryDc m_dc;
    BitmapHandle m_bitmap;
    HGDIOBJ m_previous = nullptr;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;  // draws on m_dc: goes first
    int m_width = 0;
    int m_height = 0;
};
