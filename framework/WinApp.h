#pragma once
// The application object, its message loop, its registry profile and the
// message boxes captioned with the application title.
#include <windows.h>

#include <string>

#include "framework/Instance.h"

class CWnd;

class CWinApp {
  public:
    explicit CWinApp(const char* appName);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return m_exitCode; }
    // Runs the message loop until WM_QUIT; returns ExitInstance's result.
    virtual int Run();
    // Offers a message to the windows it is bound for, innermost first.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Registry profile: HKCU\Software\<key>\<app name>\<section>\<entry>.
    void SetRegistryKey(const char* key);
    std::string GetProfileString(const char* section, const char* entry,
                                 const char* defaultValue = "") const;
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);

    std::string m_pszAppName;
    std::string m_pszRegistryKey;
    HINSTANCE m_hInstance = nullptr;
    std::string m_lpCmdLine;  // the command line after the program name
    CWnd* m_pMainWnd = nullptr;
    int m_exitCode = 0;  // the exit code when the loop ends with WM_QUIT's own code

  private:
    HKEY OpenSectionKey(const char* section, bool create) const;
};

CWinApp* AfxGetApp();
HWND AfxGetMainWnd();

// Message box captioned with the application title, owned by the active
// window. Gives IDCANCEL without showing anything while the program closes,
// and while a box with the same text is open: what arrives inside a box's own
// loop (the host keeps sending) would otherwise stack one box on another.
int AfxMessageBox(const char* text, UINT type = MB_OK);
inline int AfxMessageBox(const std::string& text, UINT type = MB_OK) {
    return AfxMessageBox(text.c_str(), type);
}

// Walks from msg->hwnd up to (and including) stopAt, offering the message to
// each attached CWnd's PreTranslateMessage; TRUE when one took it.
BOOL AfxWalkPreTranslateTree(HWND stopAt, MSG* msg);

// Windows Sockets start-up (version 1.1 or later); FALSE on failure.
BOOL AfxSocketInit();

// Entry used by WinMain: sets up the application object, runs InitInstance,
// the message loop and ExitInstance.
int AfxWinMain(HINSTANCE instance, const char* cmdLine);
