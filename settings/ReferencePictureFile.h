#pragma once
// The reference picture file (VImageNN.bmp): written when a camera angle is
// accepted, read at set-up into the view's 230400-byte reference buffer.
#include <windows.h>

#include <string>

#include "settings/ReferencePicture.h"

namespace settings {

class FileChange;

// Replaces the file (see FileReplace.h) with the 54 header bytes and the
// pixels, at once or, with `change`, when the change is committed. FALSE
// when it cannot be written (the caller's buffer keeps the picture either way).
BOOL StoreReferencePicture(const std::string& path, ConstReferencePixels pixels,
                           FileChange* change = nullptr);

// Fills pixels from the file. A file that cannot be opened, is shorter than
// its header says, or is not 320 x 240 at 24 bits gives a black picture and
// FALSE. Never reads more than the buffer holds.
BOOL LoadReferencePicture(const std::string& path, ReferencePixels pixels);

}  // namespace settings
