#pragma once
// Shared pieces of the in-process window tests: GDI+ for the whole test
// program, a message pump that behaves like the program's loop, bounded
// waits, pixel captures of real windows and small BMP files.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/UniqueFolder.h"

#include <cstdint>
#include <cstdio>
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

// Writes a 24-bit BMP file; false when it cannot be written.
inline bool WriteBmp(const std::string& path, int width, int height, const PixelFunction& pixel) {
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = stride * static_cast<uint32_t>(height);
    std::vector<uint8_t> file(54 + imageBytes, 0);
    auto put16 = [&](size_t at, uint16_t v) {
        file[at] = static_cast<uint8_t>(v);
        file[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, imageBytes);
    for (int y = 0; y < height; ++y) {
        const size_t row = 54 + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            file[row + static_cast<size_t>(x) * 3] = GetBValue(c);
            file[row + static_cast<size_t>(x) * 3 + 1] = GetGValue(c);
            file[row + static_cast<size_t>(x) * 3 + 2] = GetRValue(c);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

// A fresh folder of its own under the temporary folder, removed with its files.
class TempFolder {
  public:
    TempFolder() {
        m_path = CreateUniqueTempFolder("tallyscope_ui") + "\\";
    }
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }  // ends with a backslash

    // Writes a text file below the folder (creating its folders); returns its path.
    std::string Write(const std::string& relative, const std::string& text) const {
        const std::string full = m_path + relative;
        for (size_t at = full.find('\\', m_path.size()); at != std::string::npos;
             at = full.find('\\', at + 1)) {
            ::CreateDirectoryA(full.substr(0, at).c_str(), nullptr);
        }
        FILE* out = std::fopen(full.c_str(), "wb");
        if (out) {
            std::fwrite(text.data(), 1, text.size(), out);
            std::fclose(out);
        }
        return full;
    }

  private:
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(folder + name + "\\");
                } else {
                    ::DeleteFileA((folder + name).c_str());
                }
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(folder.c_str());
    }

    std::string m_path;
};

}  // namespace uitest
