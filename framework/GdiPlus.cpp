#include "framework/GdiPlus.h"

#include <string>
#include <vector>

ULONG_PTR StartGdiplus() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread on
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 0;
    return token;
}

void ShutdownGdiplus(ULONG_PTR token) {
    if (token) Gdiplus::GdiplusShutdown(token);
}

BitmapPtr LoadBitmapFile(const std::string& path) {
    if (path.empty()) return nullptr;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) return nullptr;
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    BitmapPtr bitmap(new Gdiplus::Bitmap(wide.data()));
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return bitmap;
}

BitmapPtr LoadBitmapResource(HINSTANCE module, UINT id) {
    HBITMAP handle = ::LoadBitmapA(module, MAKEINTRESOURCEA(id));
    if (!handle) return nullptr;
    BitmapPtr bitmap(Gdiplus::Bitmap::FromHBITMAP(handle, nullptr));
    ::DeleteObject(handle);  // the GDI+ bitmap holds its own copy of the pixels
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return bitmap;
}
