#include "app/TallyscopeApp.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <cstring>

#include "app/CommandLine.h"
#include "app/CrashDump.h"
#include "app/MainFrame.h"
#include "app/WindowRect.h"
#include "framework/GdiPlus.h"
#include "framework/StartupTrace.h"
#include "hostlink/HostPacking.h"
#include "res/Resource.h"
#include "settings/IniFile.h"

namespace {
constexpr char kStartupMutexName[] = "Tallyscope_Instance_Protection";
constexpr char kFrameTitle[] = "Varanis - Tallyscope";
}  // namespace

CMyTallyscopeApp::CMyTallyscopeApp() : CWinApp("Tallyscope") {}

BOOL CMyTallyscopeApp::InitInstance() {
    // Copies started together set up one after the other; the mutex guards
    // start-up only. A failed start-up leaves it to the system to abandon.
    m_startupMutex.reset(::CreateMutexA(nullptr, FALSE, kStartupMutexName));
    if (m_startupMutex) ::WaitForSingleObject(m_startupMutex.get(), INFINITE);
    StartupStep("start-up mutex");

    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    StartupStep("common controls");

    SetRegistryKey("Norlacy\\Varanix");

    if (!AfxSocketInit()) {
        AfxMessageBox("Initial Socket Failed!", MB_OK);
        return FALSE;
    }
    StartupStep("Windows Sockets");
    if (FAILED(::CoInitialize(nullptr))) AfxMessageBox("CoInitialize Failed!", MB_OK | MB_ICONSTOP);
    StartupStep("COM");

    m_gdiplusToken = StartGdiplus();
    StartupStep("GDI+");

    GetModuleFolder("");
    crashdump::SetFolder(m_strModuleFolder.c_str());

    if (!MyParseCmdLine()) {
        AfxMessageBox("Invalidate Command!", MB_OK | MB_ICONSTOP);
        return FALSE;
    }

    RECT rect{};
    LoadWindowRect(rect);
    StartupStep("command line, window place");

    // Until its window exists the frame is ours; from then on the window owns it.
    auto frame = std::make_unique<CMainFrame>();
    m_pMainWnd = frame.get();
    if (!frame->Create(nullptr, kFrameTitle, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_SYSMENU,
                       rect)) {
        // Without a window there is nothing to run: end with an error exit code.
        m_pMainWnd = nullptr;
        return FALSE;
    }
    CMainFrame* created = frame.release();
    HICON icon = ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    ::SendMessageA(created->m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

    ::ReleaseMutex(m_startupMutex.get());
    m_startupMutex.reset();
    StartupTraceWrite();
    return TRUE;
}

int CMyTallyscopeApp::ExitInstance() {
    m_pszHostSetting.reset();
    ::CoUninitialize();
    ShutdownGdiplus(m_gdiplusToken);
    m_gdiplusToken = 0;
    return CWinApp::ExitInstance();
}

BOOL CMyTallyscopeApp::MyParseCmdLine() {
    CommandLineValues values;
    values.cameraId = m_nCameraID;
    values.hostWnd = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(m_hHostWnd));
    values.languageIni = m_strLanguageIni;
    const bool accepted = ParseCommandLine(m_lpCmdLine, values);

    // What was read before a refusal is kept, as the parser fills the members in order.
    m_nCameraID = values.cameraId;
    m_hHostWnd = reinterpret_cast<HWND>(hostlink::HandleValue(values.hostWnd));
    m_strLanguageIni = values.languageIni;
    if (values.settingFolder) {
        m_pszHostSetting = std::make_unique<char[]>(values.settingFolder->size() + 1);
        std::memcpy(m_pszHostSetting.get(), values.settingFolder->c_str(),
                    values.settingFolder->size() + 1);
    }
    return accepted ? TRUE : FALSE;
}

void CMyTallyscopeApp::GetModuleFolder(const std::string& path) {
    char full[MAX_PATH] = "";
    if (path.empty()) {
        const DWORD length = ::GetModuleFileNameA(nullptr, full, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) full[0] = '\0';
    } else {
        std::snprintf(full, sizeof full, "%s", path.c_str());
    }
    char drive[_MAX_DRIVE] = "";
    char directory[_MAX_DIR] = "";
    _splitpath_s(full, drive, sizeof drive, directory, sizeof directory, nullptr, 0, nullptr, 0);
    m_strModuleFolder = std::string(drive) + directory;
}

void CMyTallyscopeApp::LoadWindowRect(RECT& rect) const {
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    const ScreenRect chosen =
        WindowRectFromProfile(GetProfileString("Setting", "WindowRect", ""),
                              {desktop.left, desktop.top, desktop.right, desktop.bottom});
    rect = {chosen.left, chosen.top, chosen.right, chosen.bottom};
}
