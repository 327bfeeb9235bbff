#include "tools/hostsim/HostFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "tools/hostsim/HostCommandLine.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"

namespace hostsim {

namespace {

constexpr char kHostClassName[] = "TallyscopeHostSimWindow";
constexpr UINT kFirstRecorded = WM_APP;  // 0x8000
constexpr UINT kLastRecorded = 0xBFFF;   // end of the WM_APP range
// Posted to the window by Drain, below the recorded range.
constexpr UINT kDrainMessage = WM_USER + 0x7F0;

using Clock = std::chrono::steady_clock;

Clock::time_point DeadlineAfter(DWORD timeoutMs) {
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

// Polls `found` every 20 ms until it succeeds or the time is up (one last try
// at the deadline, so a zero timeout still looks once).
template <typename F>
auto PollUntil(DWORD timeoutMs, F found) -> decltype(found()) {
    const auto deadline = DeadlineAfter(timeoutMs);
    for (;;) {
        auto result = found();
        if (result || Clock::now() >= deadline) return result;
        ::Sleep(20);
    }
}

bool ContainsText(const std::string& haystack, const std::string& needle) {
    return needle.empty() || haystack.find(needle) != std::string::npos;
}

std::string ClassNameOf(HWND hwnd) {
    char name[256] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

bool SameTextNoCase(const std::string& a, const char* b) {
    return ::lstrcmpiA(a.c_str(), b) == 0;
}

}  // namespace

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                          nullptr, nullptr);
    return out;
}

COLORREF Capture::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const std::uint32_t p = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                   static_cast<std::size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// ---------------------------------------------------------------- HostWindow

HostWindow::HostWindow() {
    KernelHandle ready(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE readyEvent = ready.get();
    m_thread = std::thread([this, readyEvent] { Run(readyEvent); });
    // The thread signals once the window exists (or creation failed).
    ::WaitForSingleObject(readyEvent, 10000);
}

HostWindow::~HostWindow() {
    if (m_hwnd) ::PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
    if (m_threadId) ::PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    if (m_thread.joinable()) m_thread.join();
}

void HostWindow::Run(HANDLE ready) {
    m_threadId = ::GetCurrentThreadId();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &HostWindow::WindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClassName;
    ::RegisterClassExA(&wc);  // a second fixture finds the class already there
    HWND hwnd =
        ::CreateWindowExA(0, kHostClassName, "Tallyscope Host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 200, 100, nullptr, nullptr, wc.hInstance, this);
    m_hwnd = hwnd;
    ::SetEvent(ready);
    if (!hwnd) return;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg >= kFirstRecorded && msg <= kLastRecorded) {
        self->Record(msg, wParam, lParam);
        return 0;
    }
    switch (msg) {
        case kDrainMessage:
            if (self) {
                {
                    std::lock_guard<std::mutex> lock(self->m_mutex);
                    self->m_drainsDone =
                        std::max(self->m_drainsDone, static_cast<unsigned>(wParam));
                }
                self->m_changed.notify_all();
            }
            return 0;
        case WM_CLOSE:
            ::DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

bool HostWindow::Drain(DWORD timeoutMs) const {
    unsigned asked = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        asked = ++m_drainsAsked;
    }
    // Posted messages queue up in order: once this one is handled, all
    // posted before it have been recorded.
    if (!::PostMessageA(m_hwnd, kDrainMessage, asked, 0)) return false;
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_drainsDone >= asked; });
}

void HostWindow::Record(UINT msg, WPARAM wParam, LPARAM lParam) {
    HostMessage entry;
    entry.msg = msg;
    entry.wParam = static_cast<std::uint64_t>(wParam);
    entry.lParam = static_cast<std::uint64_t>(lParam);
    entry.time = Clock::now();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_messages.push_back(entry);
    }
    m_changed.notify_all();
    std::lock_guard<std::mutex> lock(m_handlerMutex);
    if (m_handler) m_handler(entry);
}

std::vector<HostMessage> HostWindow::Messages() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

std::size_t HostWindow::MessageCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages.size();
}

std::size_t HostWindow::Count(UINT msg) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::size_t count = 0;
    for (const auto& m : m_messages) count += (m.msg == msg);
    return count;
}

std::optional<HostMessage> HostWindow::WaitForMessage(UINT msg, DWORD timeoutMs,
                                                      std::size_t from) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    std::optional<HostMessage> found;
    m_changed.wait_until(lock, DeadlineAfter(timeoutMs), [&] {
        for (std::size_t i = from; i < m_messages.size(); ++i) {
            if (m_messages[i].msg == msg) {
                found = m_messages[i];
                return true;
            }
        }
        return false;
    });
    return found;
}

bool HostWindow::WaitForCount(UINT msg, std::size_t count, DWORD timeoutMs) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_until(lock, DeadlineAfter(timeoutMs), [&] {
        std::size_t n = 0;
        for (const auto& m : m_messages) n += (m.msg == msg);
        return n >= count;
    });
}

void HostWindow::ClearMessages() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_messages.clear();
}

void HostWindow::SetHandler(std::function<void(const HostMessage&)> handler) {
    std::lock_guard<std::mutex> lock(m_handlerMutex);
    m_handler = std::move(handler);
}

// --------------------------------------------------------------- HostFixture

HostFixture::HostFixture() {
    m_ownFolder.emplace("TallyscopeHost-");
    m_folder = m_ownFolder->path();
}

HostFixture::HostFixture(std::string settingsFolder) : m_folder(std::move(settingsFolder)) {
    ::CreateDirectoryA(m_folder.c_str(), nullptr);
}

HostFixture::~HostFixture() {
    Kill();  // before the folder goes
}

HWND HostFixture::WaitForAttach(DWORD timeoutMs) {
    auto attach = m_host.WaitForMessage(WM_HOST_ATTACH, timeoutMs);
    if (!attach) return nullptr;
    m_view = reinterpret_cast<HWND>(hostlink::HandleValue(attach->wParam));
    return m_view;
}

HWND HostFixture::FindView(DWORD timeoutMs) {
    const HWND frame = FindTopWindow("Varanis - Tallyscope", "", timeoutMs);
    if (!frame) return nullptr;
    m_view = PollUntil(timeoutMs, [&] { return ::GetWindow(frame, GW_CHILD); });
    return m_view;
}

bool HostFixture::PostToView(UINT msg, std::uint32_t wParam, std::uint32_t lParam) const {
    if (!m_view) return false;
    return ::PostMessageA(m_view, msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) !=
           FALSE;
}

bool HostFixture::SendToView(UINT msg, std::uint32_t wParam, std::uint32_t lParam,
                             DWORD timeoutMs) const {
    if (!m_view) return false;
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(m_view, msg, static_cast<WPARAM>(wParam),
                                 static_cast<LPARAM>(lParam), SMTO_ABORTIFHUNG, timeoutMs,
                                 &result) != 0;
}

std::string HostFixture::PathOf(const std::string& name) const {
    return m_folder + "\\" + name;
}

std::string HostFixture::SettingsFile(int camera) const {
    char name[32];
    std::snprintf(name, sizeof name, "Setting%02d.ini", camera);
    return PathOf(name);
}

bool HostFixture::WriteFile(const std::string& name, const std::string& bytes) const {
    return WriteWholeFile(PathOf(name), bytes.data(), bytes.size());
}

std::optional<std::string> HostFixture::ReadFile(const std::string& name) const {
    return ReadWholeFile(PathOf(name));
}

bool HostFixture::FileExists(const std::string& name) const {
    const DWORD attributes = ::GetFileAttributesA(PathOf(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string HostFixture::ReadIni(const std::string& name, const std::string& section,
                                 const std::string& key, const std::string& fallback) const {
    char value[4096] = {};
    ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), value, sizeof value,
                               PathOf(name).c_str());
    return value;
}

bool HostFixture::WriteIni(const std::string& name, const std::string& section,
                           const std::string& key, const std::string& value) const {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        PathOf(name).c_str()) != FALSE;
}

bool HostFixture::Launch(const std::string& programPath, int camera, const std::string& language) {
    const auto hostWindow =
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(m_host.hwnd()));
    return Start(
        FullCommandLine(programPath, ProgramArguments(m_folder, camera, hostWindow, language)));
}

bool HostFixture::LaunchRaw(const std::string& programPath, const std::string& arguments) {
    return Start(FullCommandLine(programPath, arguments));
}

bool HostFixture::Start(const std::string& commandLine) {
    if (Running()) return false;  // one program per fixture at a time
    m_process.reset();
    m_processId = 0;
    m_view = nullptr;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          nullptr, &startup, &info))
        return false;
    KernelHandle thread(info.hThread);
    m_process.reset(info.hProcess);
    m_processId = info.dwProcessId;
    // The program goes into a job that ends it when this host goes, even
    // when the host is ended by force: a test run never leaves it behind.
    if (!m_job) {
        m_job.reset(::CreateJobObjectA(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (m_job && !::SetInformationJobObject(m_job.get(), JobObjectExtendedLimitInformation,
                                                &limits, sizeof limits))
            m_job.reset();
    }
    if (m_job) ::AssignProcessToJobObject(m_job.get(), m_process.get());
    ::ResumeThread(thread.get());
    return true;
}

bool HostFixture::Running() const {
    return m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> HostFixture::WaitForExit(DWORD timeoutMs) const {
    if (!m_process) return std::nullopt;
    if (::WaitForSingleObject(m_process.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    m_host.Drain(timeoutMs);  // what the program posted before it ended is in the log
    DWORD code = 0;
    if (!::GetExitCodeProcess(m_process.get(), &code)) return std::nullopt;
    return code;
}

void HostFixture::Kill() {
    if (!Running()) return;
    ::TerminateProcess(m_process.get(), 0xDEAD);
    ::WaitForSingleObject(m_process.get(), 10000);
}

std::optional<DWORD> HostFixture::Close(DWORD timeoutMs) {
    if (!PostToView(WM_VIEW_CLOSE, 0, 0)) return std::nullopt;
    return WaitForExit(timeoutMs);
}

// ------------------------------------------------ windows of another process

std::string HostFixture::WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, 2000, &copied))
        return {};
    text.resize(std::wcslen(text.c_str()));
    return ToUtf8(text);
}

namespace {

struct TopWindowSearch {
    DWORD processId;
    const std::string* title;
    const std::string* className;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<TopWindowSearch*>(context);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId || !::IsWindowVisible(hwnd)) return TRUE;
    if (!ContainsText(ClassNameOf(hwnd), *search->className)) return TRUE;
    if (!search->title->empty() && !ContainsText(HostFixture::WindowText(hwnd), *search->title))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

struct ChildSurvey {
    bool onlyButtonsAndStatics = true;
    HWND text = nullptr;
    HWND firstButton = nullptr;
};

BOOL CALLBACK SurveyChild(HWND child, LPARAM context) {
    auto* survey = reinterpret_cast<ChildSurvey*>(context);
    const std::string cls = ClassNameOf(child);
    const bool isButton = SameTextNoCase(cls, "Button");
    const bool isStatic = SameTextNoCase(cls, "Static");
    if (!isButton && !isStatic) survey->onlyButtonsAndStatics = false;
    if (isStatic && (::GetDlgCtrlID(child) & 0xFFFF) == 0xFFFF) survey->text = child;
    if (isButton && !survey->firstButton) survey->firstButton = child;
    return TRUE;
}

struct BoxSearch {
    DWORD processId;
    HWND found = nullptr;
    HWND text = nullptr;
};

BOOL CALLBACK MatchMessageBox(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId || !::IsWindowVisible(hwnd)) return TRUE;
    if (ClassNameOf(hwnd) != "#32770") return TRUE;
    ChildSurvey survey;
    ::EnumChildWindows(hwnd, &SurveyChild, reinterpret_cast<LPARAM>(&survey));
    if (!survey.onlyButtonsAndStatics || !survey.text || !survey.firstButton) return TRUE;
    search->found = hwnd;
    search->text = survey.text;
    return FALSE;
}

}  // namespace

HWND HostFixture::FindTopWindow(DWORD processId, const std::string& title,
                                const std::string& className, DWORD timeoutMs) {
    if (processId == 0) return nullptr;
    return PollUntil(timeoutMs, [&]() -> HWND {
        TopWindowSearch search{processId, &title, &className};
        ::EnumWindows(&MatchTopWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    });
}

std::optional<MessageBoxInfo> HostFixture::FindMessageBox(DWORD processId, DWORD timeoutMs) {
    if (processId == 0) return std::nullopt;
    // A box can be found before its text is set: wait for the text too, and
    // give a box that never gets one as it is.
    const auto look = [&](bool needText) -> std::optional<MessageBoxInfo> {
        BoxSearch search{processId};
        ::EnumWindows(&MatchMessageBox, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return std::nullopt;
        MessageBoxInfo info;
        info.hwnd = search.found;
        info.caption = WindowText(search.found);
        info.text = WindowText(search.text);
        if (needText && info.text.empty()) return std::nullopt;
        return info;
    };
    if (auto box = PollUntil(timeoutMs, [&] { return look(true); })) return box;
    return look(false);
}

bool HostFixture::DismissMessageBox(HWND box, DWORD timeoutMs) {
    if (!::IsWindow(box)) return false;
    HWND button = nullptr;
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        button = ::GetDlgItem(box, id);
        if (button) break;
    }
    if (!button) {
        ChildSurvey survey;
        ::EnumChildWindows(box, &SurveyChild, reinterpret_cast<LPARAM>(&survey));
        button = survey.firstButton;
    }
    if (!button) return false;
    const int id = ::GetDlgCtrlID(button);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    const auto gone = [&] { return !::IsWindow(box) || !::IsWindowVisible(box); };
    if (PollUntil(timeoutMs / 2, gone)) return true;
    // A click that did not land: tell the box directly which button was chosen.
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return PollUntil(timeoutMs - timeoutMs / 2, gone);
}

Capture HostFixture::CaptureWindow(HWND hwnd) {
    RECT rect{};
    if (!::IsWindow(hwnd) || !::GetWindowRect(hwnd, &rect)) return {};
    return CaptureScreenRect(rect);
}

Capture HostFixture::CaptureScreenRect(const RECT& rect) {
    Capture capture;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return capture;
    WindowDc screen(nullptr);
    if (!screen.get()) return capture;
    MemoryDc memory(::CreateCompatibleDC(screen.get()));
    if (!memory) return capture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle bitmap(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return capture;
    {
        SelectObjectScope select(memory.get(), bitmap.get());
        if (!::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top,
                      SRCCOPY))
            return capture;
        ::GdiFlush();
    }
    capture.width = width;
    capture.height = height;
    const auto* source = static_cast<const std::uint32_t*>(bits);
    capture.pixels.assign(source, source + static_cast<std::size_t>(width) * height);
    for (auto& p : capture.pixels) p &= 0x00FFFFFFu;
    return capture;
}

}  // namespace hostsim
