#include "framework/WinApp.h"

#include <winsock2.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/ModalLoop.h"
#include "framework/Wnd.h"

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "") {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() {
    return g_app;
}

HWND AfxGetMainWnd() {
    return (g_app && g_app->m_pMainWnd) ? g_app->m_pMainWnd->m_hWnd : nullptr;
}

int AfxMessageBox(const char* text, UINT type) {
    HWND owner = ::GetActiveWindow();
    if (!owner) owner = AfxGetMainWnd();
    const char* caption = g_app ? g_app->m_pszAppName.c_str() : "";
    const std::string shown = text ? text : "";
    static std::vector<std::string> open;  // the texts of the boxes on the screen
    if (std::find(open.begin(), open.end(), shown) != open.end()) return IDCANCEL;
    int result = IDCANCEL;
    open.push_back(shown);
    fw::RunSystemDialog([&] { result = ::MessageBoxA(owner, shown.c_str(), caption, type); });
    open.erase(std::find(open.begin(), open.end(), shown));
    return result;
}

BOOL AfxWalkPreTranslateTree(HWND stopAt, MSG* msg) {
    for (HWND wnd = msg->hwnd; wnd; wnd = ::GetParent(wnd)) {
        CWnd* object = CWnd::FromHandlePermanent(wnd);
        if (object && object->PreTranslateMessage(msg)) return TRUE;
        if (wnd == stopAt) break;
    }
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    return AfxWalkPreTranslateTree(nullptr, msg);
}

int CWinApp::Run() {
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got < 0) break;  // an invalid window filter: nothing sensible left to do
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

void CWinApp::SetRegistryKey(const char* key) {
    m_pszRegistryKey = key ? key : "";
}

HKEY CWinApp::OpenSectionKey(const char* section, bool create) const {
    if (m_pszRegistryKey.empty()) return nullptr;
    const std::string path =
        "Software\\" + m_pszRegistryKey + "\\" + m_pszAppName + "\\" + (section ? section : "");
    HKEY key = nullptr;
    LONG rc = create ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                         KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                     : ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

std::string CWinApp::GetProfileString(const char* section, const char* entry,
                                      const char* defaultValue) const {
    std::string result = defaultValue ? defaultValue : "";
    HKEY key = OpenSectionKey(section, false);
    if (!key) return result;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ && size < 64 * 1024) {
        std::vector<char> buffer(size + 1, '\0');
        if (::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                               &size) == ERROR_SUCCESS) {
            buffer[std::min<size_t>(size, buffer.size() - 1)] = '\0';
            result = buffer.data();
        }
    }
    ::RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
    HKEY key = OpenSectionKey(section, true);
    if (!key) return FALSE;
    LONG rc;
    if (value) {
        rc = ::RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                              static_cast<DWORD>(strlen(value) + 1));
    } else {
        rc = ::RegDeleteValueA(key, entry);
    }
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

BOOL AfxSocketInit() {
    WSADATA data{};
    return ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

int AfxWinMain(HINSTANCE instance, const char* cmdLine) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    AfxSetInstanceHandle(instance);
    app->m_lpCmdLine = cmdLine ? cmdLine : "";
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        app->m_exitCode = 1;  // a refused start-up is an error for whoever started us
        return app->ExitInstance();
    }
    return app->Run();
}
