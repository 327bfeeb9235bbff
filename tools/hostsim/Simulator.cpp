#include "tools/hostsim/Simulator.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numbers>

#include "hostlink/BlockLayouts.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "tools/hostsim/CalibrationFile.h"
#include "tools/hostsim/CornerRefiner.h"

namespace hostsim {

namespace {

constexpr DWORD kFrameSendTimeoutMs = 2000;

std::string IniText(const char* section, const char* key, const std::string& file) {
    char value[260] = {};
    ::GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return value;
}

int IniInt(const char* section, const char* key, int fallback, const std::string& file) {
    return static_cast<int>(::GetPrivateProfileIntA(section, key, fallback, file.c_str()));
}

// The settings program's "number from text" rule.
float IniNumber(const char* section, const char* key, float fallback, const std::string& file) {
    const std::string text = IniText(section, key, file);
    if (text.empty()) return fallback;
    const double value = std::strtod(text.c_str(), nullptr);
    // Beyond the float range the narrowing is undefined: saturate instead.
    if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(value) > std::numeric_limits<float>::max())
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

double Degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

std::string Format(const char* format, auto... values) {
    char text[512];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

HostSettings ReadHostSettings(const std::string& file) {
    HostSettings s;
    s.calibrationPath = IniText("Calibration Data", "Path", file);
    s.cameraAngleSetted = IniInt("Camera Angle", "Setted", 0, file);
    s.templateDimension =
        static_cast<float>(IniInt("Camera Angle", "Template Dimension", 100, file));
    s.angles.angleXY = IniNumber("Camera Angle", "Angle XY", 0.0f, file);
    s.angles.angleYZ = IniNumber("Camera Angle", "Angle YZ", -0.785398f, file);
    s.angles.angleXZ = IniNumber("Camera Angle", "Angle XZ", 0.0f, file);
    s.height = IniNumber("Camera Angle", "Height", 240.0f, file);
    s.counterSetted = IniInt("Counter Settings", "Setted", 0, file);
    s.imageLine = {IniInt("Counter Settings", "Image Cnt Line Pt1 x", -1, file),
                   IniInt("Counter Settings", "Image Cnt Line Pt1 y", -1, file),
                   IniInt("Counter Settings", "Image Cnt Line Pt2 x", -1, file),
                   IniInt("Counter Settings", "Image Cnt Line Pt2 y", -1, file)};
    s.displayTrackingFrame = IniInt("Counter Settings", "Display Tracking Frame", 0, file);
    s.cutX1 = IniInt("Common", "Cut X1", 10, file);
    s.cutX2 = IniInt("Common", "Cut X2", 310, file);
    return s;
}

std::optional<CameraModel> ReadCalibrationFile(const std::string& path, std::string* error) {
    const auto fail = [&](const std::string& why) -> std::optional<CameraModel> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (path.empty()) return fail("no calibration file named");
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return fail("cannot open " + path);
    CalibrationBytes bytes{};
    DWORD got = 0;
    unsigned char extra = 0;
    DWORD more = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
        got != bytes.size() || (::ReadFile(file.get(), &extra, 1, &more, nullptr) && more != 0))
        return fail(path + " is not 272 bytes");
    const CalibrationRead read = DecodeCalibration(bytes.data(), bytes.size());
    if (!read.model) return fail(path + ": " + read.error);
    return read.model;
}

bool WriteCalibrationFile(const std::string& path, const CameraModel& model) {
    const CalibrationBytes bytes = EncodeCalibration(model);
    return WriteWholeFile(path, bytes.data(), bytes.size());
}

Simulator::Simulator(HostWindow& host, std::string settingsFile, const Scene& scene,
                     const std::string& blockSuffix)
    : m_host(host),
      m_settingsFile(std::move(settingsFile)),
      m_blocks(blockSuffix),
      m_scene(scene),
      m_left(kPictureBytes),
      m_right(kPictureBytes) {
    m_state.settings = ReadHostSettings(m_settingsFile);
    if (auto model = ReadCalibrationFile(m_state.settings.calibrationPath, nullptr))
        m_scene.model = *model;
    m_renderer = std::make_unique<StereoRenderer>(m_scene);
    m_host.SetHandler([this](const HostMessage& message) { OnHostMessage(message); });
}

Simulator::~Simulator() {
    StopStreaming();
    m_host.SetHandler(nullptr);
}

CameraModel Simulator::model() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_scene.model;
}

void Simulator::Event(const std::string& text) {
    std::function<void(const std::string&)> sink;
    {
        std::lock_guard<std::mutex> lock(m_eventMutex);
        m_events.push_back(text);
        sink = m_onEvent;
    }
    if (sink) sink(text);
}

std::vector<std::string> Simulator::Events() const {
    std::lock_guard<std::mutex> lock(m_eventMutex);
    return m_events;
}

void Simulator::SetEventSink(std::function<void(const std::string&)> onEvent) {
    std::lock_guard<std::mutex> lock(m_eventMutex);
    m_onEvent = std::move(onEvent);
}

TemplateCorners Simulator::TemplateInPicture() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_renderer->TemplateInPicture();
}

double Simulator::SceneTime() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sceneTime;
}

std::array<int, 4> Simulator::WalkerBoxNow(std::size_t index) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index >= m_scene.people.size()) return {0, 0, 0, 0};
    return m_renderer->WalkerBox(index, m_lastFrameTime);
}

Simulator::State Simulator::Snapshot() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state;
}

bool Simulator::WaitForDetach(DWORD timeoutMs) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_state.detached; });
}

bool Simulator::PostToView(UINT msg, std::uint32_t wParam, std::uint32_t lParam) const {
    HWND view;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        view = m_state.detached ? nullptr : m_state.view;
    }
    return view && ::PostMessageA(view, msg, wParam, static_cast<LPARAM>(lParam));
}

// ------------------------------------------------------------------ streaming

void Simulator::StartStreaming(double fps) {
    StopStreaming();
    m_fps = std::clamp(fps, 1.0, 60.0);
    m_streaming = true;
    m_streamer = std::thread([this] { StreamLoop(m_fps); });
}

void Simulator::StopStreaming() {
    {
        std::lock_guard<std::mutex> lock(m_streamMutex);
        m_streaming = false;
    }
    m_streamWake.notify_all();
    if (m_streamer.joinable()) m_streamer.join();
}

void Simulator::StreamLoop(double fps) {
    const auto period = std::chrono::duration<double>(1.0 / fps);
    auto next = std::chrono::steady_clock::now();
    while (m_streaming) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_state.detached) break;
            if (m_state.view) SendFrameLocked();
        }
        next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
        const auto now = std::chrono::steady_clock::now();
        if (next < now) next = now;  // fell behind: do not try to catch up
        std::unique_lock<std::mutex> lock(m_streamMutex);
        m_streamWake.wait_until(lock, next, [&] { return !m_streaming; });
    }
}

bool Simulator::SendFrame() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return SendFrameLocked();
}

bool Simulator::SendFrameLocked() {
    HWND view = m_state.view;
    if (!view || m_state.detached || !m_blocks.ok()) return false;
    m_renderer->Render(m_sceneTime, m_left.data(), m_right.data());
    const double now = m_sceneTime;
    m_lastFrameTime = now;
    m_sceneTime += 1.0 / m_fps;

    const HostSettings& s = m_state.settings;
    const auto box = m_scene.people.empty() ? std::array<int, 4>{} : m_renderer->WalkerBox(0, now);
    if (s.counterSetted != 0 && s.displayTrackingFrame == 0 && box[2] > box[0]) {
        ::PostMessageA(view, WM_VIEW_MARKER_RECT, hostlink::PackPoint(box[0], box[1]),
                       static_cast<LPARAM>(hostlink::PackPoint(box[2] - 1, box[3] - 1)));
    }

    const std::uint32_t size = hostlink::PackFrameSize(kPictureWidth, kPictureHeight);
    std::memcpy(m_blocks.data(SharedBlocks::kImage), m_left.data(), kPictureBytes);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(view, WM_VIEW_NEW_FRAME, hostlink::PackFrameKind(hostlink::kFrameLive, 0),
                          static_cast<LPARAM>(size), SMTO_ABORTIFHUNG, kFrameSendTimeoutMs,
                          &result);
    ++m_state.liveFrames;
    if (m_state.dialogPictures != 0) {
        unsigned char* rect = m_blocks.data(SharedBlocks::kRectImage);
        std::memcpy(rect, m_left.data(), kPictureBytes);
        std::memcpy(rect + kPictureBytes, m_right.data(), kPictureBytes);
        ::SendMessageTimeoutA(
            view, WM_VIEW_NEW_FRAME,
            hostlink::PackFrameKind(hostlink::kFrameRectified, m_state.dialogPictures),
            static_cast<LPARAM>(size), SMTO_ABORTIFHUNG, kFrameSendTimeoutMs, &result);
        ++m_state.rectifiedFrames;
    }
    return true;
}

// ------------------------------------------------------------------- requests

void Simulator::OnHostMessage(const HostMessage& message) {
    const std::uint32_t w = hostlink::ParamBits(message.wParam);
    const std::uint32_t l = hostlink::ParamBits(message.lParam);
    switch (message.msg) {
        case WM_HOST_ATTACH: {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_state.view = reinterpret_cast<HWND>(hostlink::HandleValue(message.wParam));
                m_state.mainWindow = reinterpret_cast<HWND>(hostlink::HandleValue(message.lParam));
                m_state.attached = true;
                m_state.detached = false;
                ReloadSettings();
                SendDisplayState();
            }
            Event(Format("attached: view %08x, main window %08x", w, l));
            if (!m_calibrationToProvide.empty()) ProvideCalibration();
            break;
        }
        case WM_HOST_DIALOG_STATE: {
            std::lock_guard<std::mutex> lock(m_mutex);
            // Only 1 or 2 pictures exist; anything else is cut to that range.
            m_state.dialogPictures = w == hostlink::kDialogOpening ? std::clamp(l, 1u, 2u) : 0;
            Event(w == hostlink::kDialogOpening
                      ? Format("dialog opened: %u rectified picture(s)", m_state.dialogPictures)
                      : std::string("dialog closed"));
            break;
        }
        case WM_HOST_PATTERN_FEATURES:
            AnswerPatternFeatures();
            break;
        case WM_HOST_EDIT_COUNTING_LINE:
            AnswerCountingLine(message.wParam, message.lParam);
            break;
        case WM_HOST_MEASURE_REGION:
            AnswerRegion(message.wParam, message.lParam);
            break;
        case WM_HOST_SET_COUNTING_LINE: {
            const hostlink::HostPoint p1 = hostlink::UnpackPoint(w), p2 = hostlink::UnpackPoint(l);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_state.settings.imageLine = {p1.x, p1.y, p2.x, p2.y};
            }
            PostToView(WM_VIEW_COUNTING_LINE, w, l);
            Event(Format("counting line set: (%d, %d) - (%d, %d)", p1.x, p1.y, p2.x, p2.y));
            break;
        }
        case WM_HOST_COUNTER_SETTINGS_SAVED: {
            std::lock_guard<std::mutex> lock(m_mutex);
            ReloadSettings();
            SendDisplayState();
            Event(Format("counter settings saved: counting line %s",
                         m_state.settings.counterSetted ? "set" : "not set"));
            break;
        }
        case WM_HOST_CAMERA_ANGLE_SAVED: {
            std::lock_guard<std::mutex> lock(m_mutex);
            ReloadSettings();
            Event(Format("camera angle saved: tilt %.1f degrees, height %.1f cm",
                         Degrees(m_state.settings.angles.angleYZ) + 90.0,
                         static_cast<double>(m_state.settings.height)));
            break;
        }
        case WM_HOST_CALIBRATION_CHANGED: {
            std::lock_guard<std::mutex> lock(m_mutex);
            ReloadSettings();
            ReloadCalibration();
            break;
        }
        case WM_HOST_DETACH: {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_state.detached = true;
            }
            m_changed.notify_all();
            m_streamWake.notify_all();
            Event("detached");
            break;
        }
        default:
            Event(Format("ignored message %04x (%08x, %08x)", message.msg, w, l));
            break;
    }
}

void Simulator::ReloadSettings() {
    m_state.settings = ReadHostSettings(m_settingsFile);
}

void Simulator::SendDisplayState() {
    HWND view = m_state.detached ? nullptr : m_state.view;
    if (!view) return;
    const HostSettings& s = m_state.settings;
    if (s.counterSetted != 0 && s.HasLine())
        ::PostMessageA(view, WM_VIEW_COUNTING_LINE,
                       hostlink::PackPoint(s.imageLine[0], s.imageLine[1]),
                       static_cast<LPARAM>(hostlink::PackPoint(s.imageLine[2], s.imageLine[3])));
    // The counting area: the columns between "Cut X1" and "Cut X2".
    const int left = std::clamp(std::min(s.cutX1, s.cutX2), 0, kPictureWidth - 1);
    const int right = std::clamp(std::max(s.cutX1, s.cutX2), 0, kPictureWidth - 1);
    ::PostMessageA(view, WM_VIEW_COUNTER_RECT, hostlink::PackPoint(left, 0),
                   static_cast<LPARAM>(hostlink::PackPoint(right, kPictureHeight - 1)));
    if (s.counterSetted == 0 || s.displayTrackingFrame != 0)
        ::PostMessageA(view, WM_VIEW_MARKER_RECT, 0, 0);
}

void Simulator::AnswerPatternFeatures() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_blocks.ok()) return;
    const hostlink::PatternCorners slots =
        hostlink::ReadPatternCorners(m_blocks.data(SharedBlocks::kPatternFeature));
    TemplateCorners clicked;
    for (std::size_t i = 0; i < 4; ++i) clicked[i] = {double(slots[i].x), double(slots[i].y)};
    for (const auto& p : slots) {
        if (p.x < 0 || p.y < 0) {
            Event("pattern corners incomplete: no camera angle sent");
            return;
        }
    }
    if (m_state.liveFrames == 0) m_renderer->Render(m_sceneTime, m_left.data(), m_right.data());
    const TemplateCorners refined = RefineCorners(m_left.data(), clicked);
    const auto angles = AnglesFromCorners(m_scene.model, refined);
    if (!angles) {
        Event("pattern corners are not a square on the floor: no camera angle sent");
        return;
    }
    hostlink::WriteCameraAngle(m_blocks.data(SharedBlocks::kCameraAngle),
                               {angles->angleXY, angles->angleYZ, angles->angleXZ});
    m_state.lastAngles = angles;
    if (m_state.view && !m_state.detached) ::PostMessageA(m_state.view, WM_VIEW_CAMERA_ANGLE, 0, 0);
    Event(Format("camera angle: tilt %.2f, roll %.2f, pan %.2f degrees",
                 Degrees(angles->angleYZ) + 90.0, Degrees(angles->angleXY),
                 Degrees(angles->angleXZ)));
}

void Simulator::AnswerCountingLine(std::uint64_t point1, std::uint64_t point2) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_blocks.ok()) return;
    ReloadSettings();  // the angles and height the program stored
    const hostlink::HostPoint p1 = hostlink::UnpackPoint(point1),
                              p2 = hostlink::UnpackPoint(point2);
    const HostSettings& s = m_state.settings;
    const FloorLine line = FloorLineOf(m_scene.model, s.angles, s.height, p1.x, p1.y, p2.x, p2.y);
    hostlink::WriteCountingLine(m_blocks.data(SharedBlocks::kCountingLine),
                                {line.x1, line.y1, line.x2, line.y2, line.angleIn});
    m_state.lastFloorLine = line;
    if (m_state.view && !m_state.detached)
        ::PostMessageA(m_state.view, WM_VIEW_COUNTING_LINE_3D, 1, 0);
    Event(Format("counting line (%d, %d) - (%d, %d): floor (%d, %d) - (%d, %d) cm, in %.1f degrees",
                 p1.x, p1.y, p2.x, p2.y, line.x1, line.y1, line.x2, line.y2,
                 Degrees(line.angleIn)));
}

void Simulator::AnswerRegion(std::uint64_t topLeft, std::uint64_t bottomRight) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const hostlink::HostRect r = hostlink::UnpackRect(topLeft, bottomRight);
    if (m_state.liveFrames == 0) m_renderer->Render(m_sceneTime, m_left.data(), m_right.data());
    const RegionMatch match =
        MatchRegion(m_left.data(), m_right.data(), m_scene.model, r.left, r.top, r.right, r.bottom);
    m_state.lastRegion = match;
    if (m_state.view && !m_state.detached)
        ::PostMessageA(m_state.view, WM_VIEW_REGION_RESULT, hostlink::PackFloat(match.disparity),
                       static_cast<LPARAM>(hostlink::PackFloat(match.distance)));
    Event(match.matched
              ? Format("region (%d, %d, %d, %d): disparity %.2f px, distance %.1f cm", r.left,
                       r.top, r.right, r.bottom, static_cast<double>(match.disparity),
                       static_cast<double>(match.distance))
              : Format("region (%d, %d, %d, %d): no match", r.left, r.top, r.right, r.bottom));
}

void Simulator::ReloadCalibration() {
    std::string error;
    const auto model = ReadCalibrationFile(m_state.settings.calibrationPath, &error);
    if (!model) {
        Event("calibration changed, but not usable here (" + error + "): camera model kept");
        return;
    }
    m_scene.model = *model;
    m_renderer = std::make_unique<StereoRenderer>(m_scene);
    Event(Format("calibration loaded: f %.1f px, baseline %.1f cm",
                 static_cast<double>(model->focalLength), static_cast<double>(model->baseline)));
}

void Simulator::ProvideCalibration() {
    std::string path;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (ReadCalibrationFile(m_state.settings.calibrationPath, nullptr)) return;
        path = m_calibrationToProvide;
        if (!WriteCalibrationFile(path, m_scene.model)) {
            Event("cannot write the sample calibration file " + path);
            return;
        }
        ::WritePrivateProfileStringA("Calibration Data", "Path", path.c_str(),
                                     m_settingsFile.c_str());
        ReloadSettings();
    }
    PostToView(WM_VIEW_CALIBRATION_CHANGED, 0, 0);
    Event("calibration provided: " + path);
}

}  // namespace hostsim
