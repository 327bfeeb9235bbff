#include "tools/hostsim/PngFile.h"

#include <objidl.h>  // before gdiplus.h with WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>
#include <utility>
#include <vector>

namespace hostsim {

namespace {

bool PngEncoder(CLSID& clsid) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
    std::vector<unsigned char> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType && std::wstring(encoders[i].MimeType) == L"image/png") {
            clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

std::wstring Widen(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    wide.resize(static_cast<std::size_t>(size - 1));
    return wide;
}

}  // namespace

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
}

GdiplusSession::~GdiplusSession() {
    if (m_token) Gdiplus::GdiplusShutdown(m_token);
}

bool SavePng(const Capture& capture, const std::string& path) {
    if (capture.empty() || capture.width <= 0 || capture.height <= 0) return false;
    CLSID png;
    if (!PngEncoder(png)) return false;
    // 0x00RRGGBB words are the bytes B, G, R, 0: GDI+'s 32 bpp RGB layout.
    std::vector<std::uint32_t> pixels = capture.pixels;
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(capture.width, capture.height,
                                                    capture.width * 4, PixelFormat32bppRGB,
                                                    reinterpret_cast<BYTE*>(pixels.data()));
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return false;
    return bitmap->Save(Widen(path).c_str(), &png, nullptr) == Gdiplus::Ok;
}

Capture LoadPng(const std::string& path) {
    Capture capture;
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(Widen(path).c_str());
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return capture;
    const int width = static_cast<int>(bitmap->GetWidth());
    const int height = static_cast<int>(bitmap->GetHeight());
    if (width <= 0 || height <= 0) return capture;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.Scan0 = pixels.data();
    Gdiplus::Rect all(0, 0, width, height);
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                         PixelFormat32bppRGB, &data) != Gdiplus::Ok)
        return capture;
    bitmap->UnlockBits(&data);
    for (auto& p : pixels) p &= 0x00FFFFFFu;
    capture.width = width;
    capture.height = height;
    capture.pixels = std::move(pixels);
    return capture;
}

}  // namespace hostsim
