#pragma once
// One owner for every kernel and GDI handle: small move-only wrappers that
// release what they hold exactly once.
#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
  public:
    using handle_type = typename Traits::handle_type;
    UniqueHandle() = default;
    explicit UniqueHandle(handle_type h) : m_h(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    handle_type get() const { return m_h; }
    bool valid() const { return Traits::valid(m_h); }
    explicit operator bool() const { return valid(); }
    handle_type release() { return std::exchange(m_h, Traits::invalid()); }
    void reset(handle_type h = Traits::invalid()) {
        if (Traits::valid(m_h)) Traits::close(m_h);
        m_h = h;
    }

  private:
    handle_type m_h = Traits::invalid();
};

struct KernelHandleTraits {  // mutex, file mapping, process, thread, event
    using handle_type = HANDLE;
    static HANDLE invalid() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { ::CloseHandle(h); }
};
struct FileHandleTraits {
    using handle_type = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { ::CloseHandle(h); }
};
struct MappedViewTraits {
    using handle_type = void*;
    static void* invalid() { return nullptr; }
    static bool valid(void* p) { return p != nullptr; }
    static void close(void* p) { ::UnmapViewOfFile(p); }
};
template <typename T>
struct GdiObjectTraits {  // HBITMAP, HPEN, HBRUSH, HFONT, HRGN
    using handle_type = T;
    static T invalid() { return nullptr; }
    static bool valid(T h) { return h != nullptr; }
    static void close(T h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
    using handle_type = HDC;
    static HDC invalid() { return nullptr; }
    static bool valid(HDC h) { return h != nullptr; }
    static void close(HDC h) { ::DeleteDC(h); }
};
struct ModuleTraits {
    using handle_type = HMODULE;
    static HMODULE invalid() { return nullptr; }
    static bool valid(HMODULE h) { return h != nullptr; }
    static void close(HMODULE h) { ::FreeLibrary(h); }
};
struct MenuTraits {
    using handle_type = HMENU;
    static HMENU invalid() { return nullptr; }
    static bool valid(HMENU h) { return h != nullptr; }
    static void close(HMENU h) { ::DestroyMenu(h); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using MappedView = UniqueHandle<MappedViewTraits>;
using BitmapHandle = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using PenHandle = UniqueHandle<GdiObjectTraits<HPEN>>;
using BrushHandle = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using FontHandle = UniqueHandle<GdiObjectTraits<HFONT>>;
using RegionHandle = UniqueHandle<GdiObjectTraits<HRGN>>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using ModuleHandle = UniqueHandle<ModuleTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;

// A region of its own with the same area; none for none or when it cannot be made.
inline RegionHandle CopyRegion(HRGN region) {
    if (!region) return {};
    RegionHandle copy(::CreateRectRgn(0, 0, 0, 0));
    if (copy && ::CombineRgn(copy.get(), region, nullptr, RGN_COPY) == ERROR) copy.reset();
    return copy;
}

// A DC from GetDC/GetWindowDC, released to its window.
class WindowDc {
  public:
    explicit WindowDc(HWND wnd) : m_wnd(wnd), m_dc(::GetDC(wnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (m_dc) ::ReleaseDC(m_wnd, m_dc);
    }
    HDC get() const { return m_dc; }

  private:
    HWND m_wnd;
    HDC m_dc;
};

// BeginPaint/EndPaint pair.
class PaintDc {
  public:
    explicit PaintDc(HWND wnd) : m_wnd(wnd) { m_dc = ::BeginPaint(wnd, &m_ps); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { ::EndPaint(m_wnd, &m_ps); }
    HDC get() const { return m_dc; }
    const PAINTSTRUCT& paint() const { return m_ps; }

  private:
    HWND m_wnd;
    PAINTSTRUCT m_ps{};
    HDC m_dc = nullptr;
};

// Selects a GDI object into a DC for the scope and restores the previous one.
class SelectObjectScope {
  public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(::SelectObject(dc, obj)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() {
        if (m_old && m_old != HGDI_ERROR) ::SelectObject(m_dc, m_old);
    }

  private:
    HDC m_dc;
    HGDIOBJ m_old;
};
