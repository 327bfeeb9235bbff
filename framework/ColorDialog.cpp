#include "framework/ColorDialog.h"

#include <commdlg.h>

#include "framework/LateImports.h"
#include "framework/ModalLoop.h"

namespace {
// The sixteen custom colours the chooser offers, kept for the whole run as
// the user would expect between two showings.
COLORREF g_customColors[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
}  // namespace

INT_PTR CColorDialog::DoModal() {
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_owner;
    choose.rgbResult = m_color & 0x00FFFFFF;
    choose.lpCustColors = g_customColors;
    choose.Flags = m_flags | CC_RGBINIT | CC_FULLOPEN;
    BOOL chosen = FALSE;
    fw::RunSystemDialog([&] { chosen = fw::ChooseColorLate(&choose); });
    if (!chosen) return IDCANCEL;
    m_color = choose.rgbResult & 0x00FFFFFF;
    return IDOK;
}
