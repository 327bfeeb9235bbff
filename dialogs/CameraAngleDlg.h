#pragma once
// Camera Angle: the installer clicks the four corners of the square template
// on the rectified picture and presses Calculate; the view asks the host and
// puts the angles it computed into the dialog; the installer types the
// camera height and presses Update, which has the view store the result.
// The dialog never talks to the host and writes no file: it posts its two
// requests to the view, and the view copies its values in before each
// showing and reads them back when asked to store them.
#include <windows.h>

#include <string>

#include "controls/LinkStatic.h"
#include "dialogs/CameraAngleValues.h"
#include "dialogs/SettingsValues.h"
#include "dialogs/ImageEditor.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

class CCameraAngleDlg : public CDialog {
  public:
    explicit CCameraAngleDlg(CWnd* parent = nullptr);
    ~CCameraAngleDlg() override;

    // Where the picture comes from (the view's window and its left picture
    // buffer) and where the requests go (the view).
    void SetImageSource(HWND viewWnd, const BITMAPINFO* header, const void* bits);
    void SetLanguageFile(const std::string& path) { m_languageFile = path; }
    const std::string& LanguageFile() const { return m_languageFile; }

    // The host's result: shown at once, not stored until Update.
    void ShowResult(const angle::CameraAngles& angles);
    // The host answered with angles no camera can have: the user is told and
    // the dialog keeps its values.
    void ShowUnusableAnswer();

    CImageEditor& Picture() { return m_picture; }
    CLinkStatic& Warning() { return m_warning; }

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The values (centimetres, radians): filled by the view before each
    // showing; after Update they hold what is to be stored.
    CameraAngleValues& Values() { return m_values; }

  protected:
    void DoDataExchange(CDataExchange* dx) override;

    void OnPaint();
    void OnDestroy();
    void OnPictureReady(WPARAM, LPARAM);
    void OnCalculate();
    void OnClearSelection();
    void OnUpdate();
    void OnExit();
    void OnHeightChanged();

    DECLARE_MESSAGE_MAP()

  private:
    void ApplyTexts();
    void SetUnitLabels(const std::string& name);
    void PlaceSeparators();
    // Puts the three texts into their controls without counting it as an edit.
    void PushTexts();
    void ShowWarning(bool show);
    void EnableUpdate(bool enable);
    std::string UnitName() const;

    std::string m_languageFile;
    HWND m_viewWnd = nullptr;
    const BITMAPINFO* m_header = nullptr;
    const void* m_bits = nullptr;

    CImageEditor m_picture;
    CLinkStatic m_warning;
    std::string m_unitNames[2] = {"cm", "inch"};

    std::string m_angleText;
    std::string m_heightText;  // follows every edit of the box
    std::string m_templateText;
    std::string m_shownHeightText;  // what the dialog itself last put into the height box
    bool m_pushing = false;         // texts are being put into the controls

    POINT m_firstFrom{0, 0}, m_firstTo{0, 0};
    POINT m_secondFrom{0, 0}, m_secondTo{0, 0};
    PenHandle m_separatorPen;
    CameraAngleValues m_values;
};
