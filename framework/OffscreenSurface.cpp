#include "framework/OffscreenSurface.h"

#include <utility>

OffscreenSurface::OffscreenSurface(HWND compatibleWith, int width, int height, bool withGraphics) {
    WindowDc window(compatibleWith);
    m_dc.reset(::CreateCompatibleDC(window.get()));
    if (m_dc) m_bitmap.reset(::CreateCompatibleBitmap(window.get(), width, height));
    if (!m_dc || !m_bitmap) {
        m_bitmap.reset();
        m_dc.reset();
        return;
    }
    m_previous = ::SelectObject(m_dc.get(), m_bitmap.get());
    if (withGraphics) m_graphics = std::make_unique<Gdiplus::Graphics>(m_dc.get());
    m_width = width;
    m_height = height;
}

OffscreenSurface::~OffscreenSurface() {
    Release();
}

OffscreenSurface::OffscreenSurface(OffscreenSurface&& other) noexcept {
    *this = std::move(other);
}

OffscreenSurface& OffscreenSurface::operator=(OffscreenSurface&& other) noexcept {
    if (this == &other) return *this;
    Release();
    m_dc = std::move(other.m_dc);
    m_bitmap = std::move(other.m_bitmap);
    m_previous = std::exchange(other.m_previous, nullptr);
    m_graphics = std::move(other.m_graphics);
    m_width = std::exchange(other.m_width, 0);
    m_height = std::exchange(other.m_height, 0);
    return *this;
}

void OffscreenSurface::Release() {
    m_graphics.reset();
    if (m_dc && m_previous) ::SelectObject(m_dc.get(), m_previous);
    m_previous = nullptr;
    m_bitmap.reset();
    m_dc.reset();
    m_width = m_height = 0;
}
