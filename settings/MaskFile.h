#pragma once
// The mask file (MaskNN.bin): the view's mask region as GetRegionData
// returns it, its byte count kept in the record as "Mask Size".
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Handles.h"

namespace settings {

class FileChange;

// After Counter Settings OK. With no dialog region the view's region is
// deleted and maskSize set to 0; the file on disk is left as it is.
// Otherwise the region's data is written to maskPath, and only then does the
// view's region become a copy of the dialog's and maskSize its region-data
// size. When the data cannot be fetched or written, the view's region and
// maskSize stay as they were, so the record, the file and what the view
// draws keep agreeing; the result is FALSE.
// With `change`, the file is staged and takes its place when the change is
// committed (a failed commit is the caller's to undo).
BOOL StoreMask(HRGN dialogRegion, RegionHandle& viewRegion, int32_t& maskSize,
               const std::string& maskPath, FileChange* change = nullptr);

// At set-up. Rebuilds the view's region from maskSize bytes of maskPath.
// With maskSize 0 there is no mask. A size that region data cannot have, a
// file that cannot be opened, is short or holds damaged data leaves no
// region and sets maskSize to 0, so the record no longer points at a mask
// that cannot be used. TRUE when the view has a mask region.
BOOL LoadMask(const std::string& maskPath, RegionHandle& viewRegion, int32_t& maskSize);

}  // namespace settings
