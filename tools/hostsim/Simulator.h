#pragma once
// The stand-in counting engine: owns the five shared blocks and the simulated
// stereo camera, streams pictures to the settings program's view and answers
// its requests with real geometry. It listens on a HostWindow (whose thread
// calls OnHostMessage) and streams from a thread of its own.
#include <windows.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/hostsim/CameraGeometry.h"
#include "tools/hostsim/HostFixture.h"
#include "tools/hostsim/HostSettings.h"
#include "tools/hostsim/RegionMatcher.h"
#include "tools/hostsim/SharedBlocks.h"
#include "tools/hostsim/StereoRenderer.h"

namespace hostsim {

// Reads what the host needs from a settings file with the private-profile
// functions (missing keys read as the program's load defaults).
HostSettings ReadHostSettings(const std::string& settingsFile);

// Reads and checks a calibration file; nothing when it is not a usable
// stand-in calibration (the reason in `error`).
std::optional<CameraModel> ReadCalibrationFile(const std::string& path, std::string* error);
bool WriteCalibrationFile(const std::string& path, const CameraModel& model);

class Simulator {
  public:
    // `settingsFile`: the camera's Setting%02d.ini. The scene's camera model
    // is replaced by the calibration file's once one is named in the settings.
    // `blockSuffix`: see SharedBlocks (empty for the program's own blocks).
    Simulator(HostWindow& host, std::string settingsFile, const Scene& scene,
              const std::string& blockSuffix = "");
    ~Simulator();  // stops streaming and stops listening
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    bool BlocksReady() const { return m_blocks.ok(); }

    // Streams live pictures (and rectified ones while a dialog is open) at
    // `fps` until StopStreaming or the program detaches.
    void StartStreaming(double fps);
    void StopStreaming();
    // Draws and sends one picture set now; false without an attached view.
    bool SendFrame();

    // When the settings name no usable calibration file once the program has
    // attached, write `path` as a sample, store it as "Calibration Data" /
    // "Path" and tell the view (WM_VIEW_CALIBRATION_CHANGED), as a host does
    // whose calibration changed.
    void ProvideCalibrationOnAttach(std::string path) { m_calibrationToProvide = std::move(path); }

    // Called for each message the program posts to the host window.
    void OnHostMessage(const HostMessage& message);

    // Messages to the view; false without an attached view.
    bool PostToView(UINT msg, std::uint32_t wParam, std::uint32_t lParam) const;

    struct State {
        HWND view = nullptr;
        HWND mainWindow = nullptr;
        bool attached = false;
        bool detached = false;
        std::uint32_t dialogPictures = 0;  // rectified pictures a frame while a dialog is open
        std::uint64_t liveFrames = 0;
        std::uint64_t rectifiedFrames = 0;
        std::optional<CameraAngles> lastAngles;
        std::optional<FloorLine> lastFloorLine;
        std::optional<RegionMatch> lastRegion;
        HostSettings settings;  // as last read
    };
    State Snapshot() const;
    // Waits until the program has detached (or the timeout passes).
    bool WaitForDetach(DWORD timeoutMs) const;

    // Every notable event as one line of text; also passed to `onEvent`.
    std::vector<std::string> Events() const;
    void SetEventSink(std::function<void(const std::string&)> onEvent);

    CameraModel model() const;
    // Where the template's corners lie in the left picture, in the program's
    // slot order (lower-left, lower-right, upper-left, upper-right).
    TemplateCorners TemplateInPicture() const;
    double SceneTime() const;  // seconds; advances with each picture set sent
    // Bounding box of a walker in the last picture sent (left, top, right,
    // bottom exclusive); all zero when there is no such walker or it is out of view.
    std::array<int, 4> WalkerBoxNow(std::size_t index) const;

  private:
    void Event(const std::string& text);
    void StreamLoop(double fps);
    bool SendFrameLocked();
    void ReloadSettings();
    void SendDisplayState();
    void AnswerPatternFeatures();
    void AnswerCountingLine(std::uint64_t point1, std::uint64_t point2);
    void AnswerRegion(std::uint64_t topLeft, std::uint64_t bottomRight);
    void ReloadCalibration();
    void ProvideCalibration();

    HostWindow& m_host;
    std::string m_settingsFile;
    SharedBlocks m_blocks;
    Scene m_scene;
    std::unique_ptr<StereoRenderer> m_renderer;
    std::vector<unsigned char> m_left, m_right;  // the last pair sent
    double m_sceneTime = 0;                      // of the next picture set
    double m_lastFrameTime = 0;                  // of the last one sent
    double m_fps = 15;
    std::string m_calibrationToProvide;

    mutable std::mutex m_mutex;  // state, renderer, blocks
    mutable std::condition_variable m_changed;
    State m_state;
    mutable std::mutex m_eventMutex;
    std::vector<std::string> m_events;
    std::function<void(const std::string&)> m_onEvent;

    std::thread m_streamer;
    std::atomic<bool> m_streaming{false};
    std::mutex m_streamMutex;
    std::condition_variable m_streamWake;
};

}  // namespace hostsim
