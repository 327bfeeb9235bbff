#pragma once
// The application object: serialises start-ups of the per-camera copies,
// brings up sockets, COM and GDI+, reads the host's command line and creates
// the main frame; holds the command-line values for the whole run.
#include <memory>
#include <string>

#include "framework/Handles.h"
#include "framework/WinApp.h"

class CMyTallyscopeApp : public CWinApp {
  public:
    CMyTallyscopeApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    BOOL MyParseCmdLine();
    // Drive and directory of path, or of the running program when path is empty.
    void GetModuleFolder(const std::string& path);
    // The frame's rectangle from the profile, or (0, 0, 850, 600).
    void LoadWindowRect(RECT& rect) const;

    // The settings folder, or an empty text when the command line named none.
    const char* HostSettingFolder() const { return m_pszHostSetting ? m_pszHostSetting.get() : ""; }

    ULONG_PTR m_gdiplusToken = 0;
    std::string m_strModuleFolder;
    HWND m_hHostWnd = nullptr;
    int m_nCameraID = 0;
    std::unique_ptr<char[]> m_pszHostSetting;
    std::string m_strLanguageIni;

  private:
    KernelHandle m_startupMutex;
};

// The one application object of the process.
inline CMyTallyscopeApp* TallyscopeApp() {
    return static_cast<CMyTallyscopeApp*>(AfxGetApp());
}
