#pragma once
// GDI+ with one owner per object: unique_ptr for the C++ wrapper classes and a
// start-up/shutdown pair.
#include <windows.h>
#include <objidl.h>  // must precede gdiplus.h with WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include <memory>

using BitmapPtr = std::unique_ptr<Gdiplus::Bitmap>;
using ImagePtr = std::unique_ptr<Gdiplus::Image>;
using MatrixPtr = std::unique_ptr<Gdiplus::Matrix>;

// Starts GDI+ version 1 and returns the token, 0 on failure.
ULONG_PTR StartGdiplus();
void ShutdownGdiplus(ULONG_PTR token);

// Loads a picture file; null (never an invalid bitmap) when it cannot be read.
BitmapPtr LoadBitmapFile(const std::string& path);
// Loads a bitmap resource of the module; null when it is missing.
BitmapPtr LoadBitmapResource(HINSTANCE module, UINT id);
