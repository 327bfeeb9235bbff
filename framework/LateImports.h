#pragma once
// The few functions the program takes from comdlg32 (the file and colour
// dialogs) and shell32 (the About box's web link), found at their first call:
// no start-up step needs these DLLs, and loading them with the program (with
// the shell and printing DLLs they bring) costs every start-up several
// milliseconds. Should a DLL be missing, the call fails as cancelled.
#include <windows.h>
#include <commdlg.h>

namespace fw {

BOOL GetOpenFileNameLate(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameLate(OPENFILENAMEA* ofn);
BOOL ChooseColorLate(CHOOSECOLORA* choose);
HINSTANCE ShellExecuteLate(HWND owner, const char* verb, const char* file, const char* parameters,
                           const char* folder, int show);

}  // namespace fw
