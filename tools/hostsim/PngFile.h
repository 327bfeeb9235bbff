#pragma once
// Saves a screen capture as a PNG file with the GDI+ encoder.
#include <string>

#include "tools/hostsim/HostFixture.h"

namespace hostsim {

// GDI+ for the life of the object (one per program or test).
class GdiplusSession {
  public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return m_token != 0; }

  private:
    ULONG_PTR m_token = 0;
};

// False for an empty capture, without a PNG encoder or when the file cannot
// be written. Needs a GdiplusSession.
bool SavePng(const Capture& capture, const std::string& path);

// The pixels of a picture file (0x00RRGGBB); empty when it cannot be read.
// Needs a GdiplusSession.
Capture LoadPng(const std::string& path);

}  // namespace hostsim
