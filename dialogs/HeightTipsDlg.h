#pragma once
// Setup Tips for Height Detection: a bold heading, four numbered tips and an
// illustration, all from the current language (the picture file lives in the
// language folder beside the language files).
#include <string>

#include "controls/LinkStatic.h"
#include "controls/PictureStatic.h"
#include "framework/Dialog.h"

class CHeightTipsDlg : public CDialog {
  public:
    explicit CHeightTipsDlg(CWnd* parent = nullptr);
    ~CHeightTipsDlg() override;

    void SetLanguageFile(const std::string& path) { m_languageFile = path; }
    const std::string& PictureFile() const { return m_pictureFile; }
    CLinkStatic& Heading() { return m_heading; }
    CPictureStatic& Picture() { return m_picture; }

    BOOL OnInitDialog() override;

  protected:
    void DoDataExchange(CDataExchange* dx) override;

  private:
    void ApplyTexts();
    void ShowPicture();

    CLinkStatic m_heading;
    CPictureStatic m_picture;
    std::string m_languageFile;
    std::string m_pictureFile;
};

// Backslash followed by the letter n becomes a line feed (how the language
// files write line breaks in a tip).
std::string ExpandLineBreaks(const std::string& text);
