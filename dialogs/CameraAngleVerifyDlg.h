#pragma once
// Camera Angle Verification: the current left picture beside the reference
// picture stored when the camera angle was last accepted, so that the
// installer sees whether the camera has moved. A click on either picture
// marks that spot with a green cross on both. Stores and sends nothing.
#include <windows.h>

#include <string>

#include "dialogs/ImageEditor.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

class CCameraAngleVerifyDlg : public CDialog {
  public:
    explicit CCameraAngleVerifyDlg(CWnd* parent = nullptr);
    ~CCameraAngleVerifyDlg() override;

    // The view's window, the picture header, its left picture buffer and its
    // reference buffer (which lives as long as the view).
    void SetImageSource(HWND viewWnd, const BITMAPINFO* header, const void* currentBits,
                        const void* oldBits);
    void SetLanguageFile(const std::string& path) { m_languageFile = path; }
    const std::string& LanguageFile() const { return m_languageFile; }

    CImageEditor& CurrentPicture() { return m_current; }
    CImageEditor& OldPicture() { return m_old; }

    BOOL OnInitDialog() override;

    // The old picture sits this far right of the current one.
    static constexpr int kOldPictureOffset = 325;

  protected:
    void DoDataExchange(CDataExchange* dx) override;

    void OnPaint();
    void OnPictureReady(WPARAM, LPARAM);
    void OnMarkPoint(WPARAM tag, LPARAM);
    void OnExit() { EndDialog(IDOK); }

    DECLARE_MESSAGE_MAP()

  private:
    void ApplyTexts();

    CImageEditor m_old;      // 1086, tag 1
    CImageEditor m_current;  // 1001, tag 0
    std::string m_languageFile;
    HWND m_viewWnd = nullptr;
    const BITMAPINFO* m_header = nullptr;
    const void* m_currentBits = nullptr;
    const void* m_oldBits = nullptr;
    PenHandle m_separatorPen;  // made once, with the dialog object
    POINT m_separatorFrom{0, 0};
    POINT m_separatorTo{0, 0};
};
