#include "framework/DataExchange.h"

#include <commctrl.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace fw {
std::string IntRangeMessage(long long minValue, long long maxValue) {
    return "Please enter an integer between " + std::to_string(minValue) + " and " +
           std::to_string(maxValue) + ".";
}
}  // namespace fw

namespace {

std::string ControlText(HWND control) {
    const int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = ::GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

bool ParseInteger(const std::string& text, long long minValue, long long maxValue, long long& out) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(p, &end, 10);
    if (end == p || errno == ERANGE) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    if (value < minValue || value > maxValue) return false;
    out = value;
    return true;
}

bool ParseReal(const std::string& text, double& out) {
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) return false;
    char* end = nullptr;
    const double value = std::strtod(p, &end);
    if (end == p || !std::isfinite(value)) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return false;
    out = value;
    return true;
}

void RefuseText(CDataExchange* dx, const char* message) {
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    dx->Fail();
}

}  // namespace

HWND CDataExchange::PrepareCtrl(int id) {
    m_lastControl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
    return m_lastControl;
}

bool CDataExchange::LastControlEditable() const {
    return m_lastControl && ::IsWindowEnabled(m_lastControl);
}

void CDataExchange::Fail() {
    if (m_lastControl) {
        ::SetFocus(m_lastControl);
        ::SendMessageA(m_lastControl, EM_SETSEL, 0, -1);
    }
    m_bFail = TRUE;
}

namespace {

// How each kind of value is read from and written to an edit field.
bool ReadValue(const std::string& text, int& value) {
    long long parsed = 0;
    if (!ParseInteger(text, INT_MIN, INT_MAX, parsed)) return false;
    value = static_cast<int>(parsed);
    return true;
}
bool ReadValue(const std::string& text, UINT& value) {
    long long parsed = 0;
    if (!ParseInteger(text, 0, UINT_MAX, parsed)) return false;
    value = static_cast<UINT>(parsed);
    return true;
}
bool ReadValue(const std::string& text, double& value) {
    return ParseReal(text, value);
}
bool ReadValue(const std::string& text, float& value) {
    double parsed = 0;
    if (!ParseReal(text, parsed) || std::fabs(parsed) > 3.4e38) return false;
    value = static_cast<float>(parsed);
    return true;
}
bool ReadValue(const std::string& text, std::string& value) {
    value = text;
    return true;
}

std::string ShownValue(int value) {
    return std::to_string(value);
}
std::string ShownValue(UINT value) {
    return std::to_string(value);
}
std::string ShownValue(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}
std::string ShownValue(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
    return text;
}
const std::string& ShownValue(const std::string& value) {
    return value;
}

template <typename T>
const char* RefusalText() {
    if constexpr (std::is_floating_point_v<T>) {
        return fw::kParseRealMessage;
    } else {
        return fw::kParseIntMessage;
    }
}

// A field the user cannot edit (disabled) keeps the value it was given: it is
// neither read back nor checked, so a stored value the dialog would not
// accept cannot trap the user in the dialog.
template <typename T>
void ExchangeText(CDataExchange* dx, int id, T& value) {
    if (dx->m_bFail) return;
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (!dx->m_bSaveAndValidate) {
        ::SetWindowTextA(control, ShownValue(value).c_str());
    } else if (dx->LastControlEditable() && !ReadValue(ControlText(control), value)) {
        RefuseText(dx, RefusalText<T>());
    }
}

}  // namespace

void DDX_Text(CDataExchange* dx, int id, int& value) {
    ExchangeText(dx, id, value);
}
void DDX_Text(CDataExchange* dx, int id, UINT& value) {
    ExchangeText(dx, id, value);
}
void DDX_Text(CDataExchange* dx, int id, double& value) {
    ExchangeText(dx, id, value);
}
void DDX_Text(CDataExchange* dx, int id, float& value) {
    ExchangeText(dx, id, value);
}
void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    ExchangeText(dx, id, value);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue) {
    if (dx->m_bFail || !dx->m_bSaveAndValidate || !dx->LastControlEditable()) return;
    if (value < minValue || value > maxValue)
        RefuseText(dx, fw::IntRangeMessage(minValue, maxValue).c_str());
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue) {
    if (dx->m_bFail || !dx->m_bSaveAndValidate || !dx->LastControlEditable()) return;
    if (value < minValue || value > maxValue)
        RefuseText(dx, fw::IntRangeMessage(minValue, maxValue).c_str());
}

void DDX_Radio(CDataExchange* dx, int firstId, int& index) {
    if (dx->m_bFail) return;
    HWND control = dx->PrepareCtrl(firstId);
    if (!control) return;
    if (dx->m_bSaveAndValidate) index = -1;
    int position = 0;
    // The group runs from the first control up to the next control with WS_GROUP.
    do {
        const LRESULT code = ::SendMessageA(control, WM_GETDLGCODE, 0, 0);
        if (code & DLGC_RADIOBUTTON) {
            if (dx->m_bSaveAndValidate) {
                if (::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) index = position;
            } else {
                ::SendMessageA(control, BM_SETCHECK,
                               position == index ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++position;
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
    } while (control && !(::GetWindowLongA(control, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
    if (dx->m_bFail) return;
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
    if (dx->m_bFail) return;
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageA(control, LB_GETCURSEL, 0, 0));
    } else {
        ::SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_DateTimeCtrl(CDataExchange* dx, int id, SYSTEMTIME& value) {
    if (dx->m_bFail) return;
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) {
        SYSTEMTIME got{};
        if (::SendMessageA(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&got)) ==
            GDT_VALID)
            value = got;
    } else {
        ::SendMessageA(control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd || !dx->m_pDlgWnd) return;  // bound once, on the first exchange
    control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}
