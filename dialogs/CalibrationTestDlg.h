#pragma once
// Calibration Test: the left and right rectified pictures side by side. In
// Point mode a click on either picture shows its pixel under it, so the
// installer sees whether a feature lies on the same row in both; in Region
// mode a region dragged on the left picture goes to the host, which matches
// it in the right picture: the matched region is outlined there and its
// distance added to the result list. The dialog only picks and shows; the
// view carries the request and writes the host's answer into it.
#include <windows.h>

#include <array>
#include <string>

#include "dialogs/ImageEditor.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

class CCalibrationTestDlg : public CDialog {
  public:
    explicit CCalibrationTestDlg(CWnd* parent = nullptr);
    ~CCalibrationTestDlg() override;

    // The view's window (where region requests go) and its two picture buffers.
    void SetImageSource(HWND viewWnd, const BITMAPINFO* header, const void* leftBits,
                        const void* rightBits);
    void SetLanguageFile(const std::string& path) { m_languageFile = path; }
    // The "Unit" setting distances are shown in (1 = inch, else cm).
    void SetUnit(int32_t unit) { m_unit = unit; }
    int32_t Unit() const { return m_unit; }

    // The host's answer for `chosenRegion` of the left picture: on a match
    // the right picture outlines the region shifted by the disparity and the
    // distance line is added, else the failure text; the new line is selected.
    void ShowRegionResult(const RECT& chosenRegion, float disparity, float distanceCm);

    CImageEditor& LeftPicture() { return m_leftPicture; }
    CImageEditor& RightPicture() { return m_rightPicture; }
    int TestMethod() const { return m_testMethod; }

    BOOL OnInitDialog() override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;

    void OnPaint();
    void OnDestroy();
    void OnPictureReady(WPARAM, LPARAM);
    void OnSelectionChanged(WPARAM kind, LPARAM mode);
    void OnTestMethod(UINT id);
    void OnExit() { EndDialog(IDCANCEL); }

    DECLARE_MESSAGE_MAP()

  private:
    void ApplyTexts();
    void PlaceSeparator();
    void PassTestMethod();
    void AddResultLine(const std::string& line);

    HWND m_viewWnd = nullptr;
    std::string m_languageFile;
    std::array<std::string, 2> m_unitNames;
    std::string m_failureText;
    std::string m_distanceLabel;
    const BITMAPINFO* m_header = nullptr;
    const void* m_leftBits = nullptr;
    const void* m_rightBits = nullptr;
    int32_t m_unit = 0;
    PenHandle m_separatorPen;
    POINT m_separatorFrom{0, 0};
    POINT m_separatorTo{0, 0};
    CListBox m_results;
    CImageEditor m_rightPicture;
    CImageEditor m_leftPicture;
    int m_testMethod = PickTest::kPoint;  // kept between showings
};
