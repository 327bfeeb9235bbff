#pragma once
// Counter Settings: the overlays the host draws, which side of the counting
// line is "In", the counting mode, height detection, automatic background
// update, the daily operation time and, on the rectified picture, the
// counting line and the masks. The dialog edits only its own copy: the view
// fills it before each showing and takes the values back after OK.
#include <windows.h>

#include <array>
#include <string>

#include "controls/LinkStatic.h"
#include "controls/PictureStatic.h"
#include "controls/SkinButton.h"
#include "dialogs/CounterValues.h"
#include "dialogs/SettingsValues.h"
#include "dialogs/ImageEditor.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

class CCounterSettingsDlg : public CDialog {
  public:
    explicit CCounterSettingsDlg(CWnd* parent = nullptr);
    ~CCounterSettingsDlg() override;

    // Where the picture comes from (the view's window and its left picture
    // buffer); handed to the picture control at every showing.
    void SetImageSource(HWND notifyWnd, const BITMAPINFO* header, const void* bits);
    void SetLanguageFile(const std::string& path) { m_languageFile = path; }
    const std::string& LanguageFile() const { return m_languageFile; }

    // Copies the record, gives the picture control fresh arrow pictures and
    // places the line with its in angle.
    void SetCountingLine(const CountingLineRecord& record);
    const CountingLineRecord& CountingLine() const { return m_values.line; }
    // The committed mask: a copy of `region` (null: no mask).
    void SetCommittedMask(HRGN region);
    HRGN CommittedMask() const { return m_mask.get(); }

    CImageEditor& Picture() { return m_picture; }
    int ActiveTool() const { return m_activeTool; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The edited values: filled by the view before each showing, taken back
    // after OK (the counting line with them; the mask is CommittedMask()).
    CounterSettingsValues& Values() { return m_values; }

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Opens the Setup Tips for Height Detection dialog (tests replace it).
    virtual void OpenHeightTips();
    // Asks the user for a mask colour; false when none was confirmed.
    virtual bool ChooseMaskColor(COLORREF& color);

    void OnPaint();
    void OnDestroy();
    void OnPictureReady(WPARAM, LPARAM);
    void OnStaticClicked(WPARAM id, LPARAM);
    void OnToolButton(WPARAM id, LPARAM);
    void OnDirectionOrHeight(UINT id);
    void OnAutoUpdate(UINT id);
    void OnCountingModeChanged();
    void OnResetAll();
    void OnOkButton() { OnOK(); }
    void OnCancelButton() { OnCancel(); }

    DECLARE_MESSAGE_MAP()

  private:
    void ApplyTexts();
    void LayOutPictureAndTools();
    void LoadArrowPictures();
    void PlaceSeparator();
    void EnableObjectHeightRow(bool enable);
    void EnableIntervalRow(bool enable);
    void PassDirectionToPicture();
    void ClearCountingLine();
    void StopDrawing();
    CSkinButton* ToolButton(UINT id);

    std::string m_languageFile;
    HWND m_notifyWnd = nullptr;
    const BITMAPINFO* m_header = nullptr;
    const void* m_bits = nullptr;

    CounterSettingsValues m_values;
    RegionHandle m_mask;
    int m_activeTool = 0;
    SYSTEMTIME m_fromTime{};
    SYSTEMTIME m_toTime{};

    CImageEditor m_picture;
    std::array<CSkinButton, 8> m_tools;  // 1081..1088
    CLinkStatic m_tipsLink;
    std::array<CPictureStatic, 4> m_arrows;  // 1069..1072
    CComboBox m_countingModeList;
    BitmapPtr m_arrowIn;  // loaded once, copied to every arrow picture
    BitmapPtr m_arrowOut;
    POINT m_separatorFrom{0, 0};
    POINT m_separatorTo{0, 0};
    PenHandle m_separatorPen;
};
