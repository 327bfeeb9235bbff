#pragma once
// Dialog data exchange: member values to controls and back, with the
// framework's standard messages for refused input. A refused value shows its
// message, selects the field and keeps the dialog open. Only what the user
// can edit is read back and checked: a disabled field keeps its value.
#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    BOOL m_bFail = FALSE;  // set once a value was refused; later exchanges do nothing

    // Remembers the control being exchanged, for Fail(); null if it does not exist.
    HWND PrepareCtrl(int id);
    // The last prepared control exists and the user can edit it (enabled).
    bool LastControlEditable() const;
    // Shows nothing by itself: selects the last prepared field and marks the exchange failed.
    void Fail();

  private:
    HWND m_lastControl = nullptr;
};

void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, float& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
// Radio group starting at firstId (the control with WS_GROUP): index of the checked one, -1 none.
void DDX_Radio(CDataExchange* dx, int firstId, int& index);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
void DDX_DateTimeCtrl(CDataExchange* dx, int id, SYSTEMTIME& value);
// Binds a control object to a dialog item (subclassing it once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// The framework's standard texts for refused input.
namespace fw {
constexpr const char kParseIntMessage[] = "Please enter an integer.";
constexpr const char kParseRealMessage[] = "Please enter a number.";
std::string IntRangeMessage(long long minValue, long long maxValue);
}  // namespace fw
