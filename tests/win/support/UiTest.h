#pragma once
// Shared pieces of the in-process window tests: GDI+ for the whole test
// program, a message pump that behaves like the program's loop, bounded
// waits, pixel captures of real windows and small BMP files; TestFiles.h
// gives the folders and files.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/win/support/TestFiles.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/GdiPlus.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace uitest {

// GDI+ runs for the whole test program, as it does for the application.
class GdiplusEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { m_token = StartGdiplus(); }
    void TearDown() override {
        ShutdownGdiplus(m_token);
        m_token = 0;
    }

  private:
    ULONG_PTR m_token = 0;
};
inline ::testing::Environment* const kGdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// One visible top-level window for the whole test program: test windows are
// its children. Hiding or destroying a top-level window costs Wine two
// seconds without a window manager; children come and go at once.
inline CWnd& HostWindow() {
    static CWnd* host = [] {
        auto* wnd = new CWnd;  // lives as long as the test program
        const RECT rect{0, 0, 900, 700};
        wnd->CreateEx(0, nullptr, "Test host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect,
                      nullptr, 0);
        return wnd;
    }();
    return *host;
}

// Dispatches the thread's messages as the program's loop does (each one is
// offered to the windows' PreTranslateMessage first) until done() holds or
// the time is up; returns done()'s last answer.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            if (!AfxWalkPreTranslateTree(nullptr, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (done && done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return done ? done() : true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// A visible dialog of the given thread whose title holds the text (other test
// programs run beside this one and may show a dialog of the same name).
inline HWND FindThreadDialog(DWORD threadId, const char* title) {
    struct Search {
        const char* title;
        HWND found = nullptr;
        static BOOL CALLBACK Visit(HWND wnd, LPARAM context) {
            auto* s = reinterpret_cast<Search*>(context);
            char cls[16] = "", text[128] = "";
            ::GetClassNameA(wnd, cls, sizeof cls);
            ::GetWindowTextA(wnd, text, sizeof text);
            if (!::IsWindowVisible(wnd) || std::string(cls) != "#32770" ||
                std::string(text).find(s->title) == std::string::npos)
                return TRUE;
            s->found = wnd;
            return FALSE;
        }
    } search{title};
    ::EnumThreadWindows(threadId, &Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Lets every pending message run for a while.
inline void Pump(DWORD ms = 100) {
    PumpUntil(nullptr, ms);
}

// Takes one posted message for wnd out of the queue (without dispatching it).
inline bool TakePosted(HWND wnd, UINT message, MSG* out, DWORD timeoutMs = 500) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (::PeekMessageA(out, wnd, message, message, PM_REMOVE)) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(5);
    }
}

// Drops every posted message of that number for wnd.
inline void DropPosted(HWND wnd, UINT message) {
    MSG msg;
    while (::PeekMessageA(&msg, wnd, message, message, PM_REMOVE)) {
    }
}

// What a window shows: its client area read back from its own DC.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top-down

    COLORREF At(int x, int y) const {
        const uint32_t p =
            pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    bool operator==(const Capture& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

inline Capture CaptureClient(HWND wnd) {
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Capture capture;
    RECT client{};
    ::GetClientRect(wnd, &client);
    capture.width = client.right;
    capture.height = client.bottom;
    if (capture.width <= 0 || capture.height <= 0) return capture;
    HDC windowDc = ::GetDC(wnd);
    HDC memory = ::CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, section);
    ::BitBlt(memory, 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    capture.pixels.assign(
        first, first + static_cast<size_t>(capture.width) * static_cast<size_t>(capture.height));
    for (uint32_t& p : capture.pixels) p &= 0x00FFFFFF;
    ::SelectObject(memory, old);
    ::DeleteObject(section);
    ::DeleteDC(memory);
    ::ReleaseDC(wnd, windowDc);
    return capture;
}

// A rectangle's sides, for comparisons that print both sides on failure.
inline std::array<LONG, 4> Sides(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// A picture described pixel by pixel.
using PixelFunction = std::function<COLORREF(int x, int y)>;

// A 24-bit picture as a GDI+ bitmap.
inline BitmapPtr MakeBitmap(int width, int height, const PixelFunction& pixel) {
    BitmapPtr bitmap(new Gdiplus::Bitmap(width, height, PixelFormat24bppRGB));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            bitmap->SetPixel(x, y, Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    }
    return bitmap;
}

// Writes a 24-bit BMP file (through GDI+'s BMP encoder); false when it cannot be written.
inline bool WriteBmp(const std::string& path, int width, int height, const PixelFunction& pixel) {
    static const CLSID kBmpEncoder = {
        0x557CF400, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    const std::wstring wide(path.begin(), path.end());
    return MakeBitmap(width, height, pixel)->Save(wide.c_str(), &kBmpEncoder, nullptr) ==
           Gdiplus::Ok;
}

}  // namespace uitest
