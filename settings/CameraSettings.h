#pragma once
// The in-memory record of one camera's settings file, one field per key.
// The default member values are the values a load takes for absent keys, so
// a default-constructed record is what a missing file reads as.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Texts are read through a 260-character buffer: at most 259 characters.
inline constexpr std::size_t kMaxSettingsText = 259;

struct CameraSettings {
    // Counting-line end point in pixels of the 320 x 240 picture; -1 = no line.
    struct ImagePoint {
        int32_t x = -1;
        int32_t y = -1;
        bool operator==(const ImagePoint&) const = default;
    };
    // The host's floor coordinates of a line end, 16 bits each; 0xFFFF = none.
    struct WorldPoint {
        uint16_t x = 0xFFFF;
        uint16_t y = 0xFFFF;
        bool operator==(const WorldPoint&) const = default;
    };

    // "Calibration Data"
    std::string calibrationPath;  // *.coe file last accepted
    // "General Settings"
    int32_t generalSetted = 0;  // carried unchanged for the host
    std::string siteName;
    int32_t remoteAccess = 1;  // 0 = On, 1 = Off
    int32_t ipAddrIndex = -1;
    std::string ipAddr;
    int32_t port = 700;
    int32_t autoRecycleDaysIndex = 0;  // index in "30", "45", "60"
    int32_t autoRecycleDays = 30;
    int32_t unit = 0;  // 0 = "cm", 1 = "inch"
    // "Camera Angle"
    int32_t cameraAngleSetted = 0;
    float templateDimension = 100.0f;  // centimetres
    float angleXY = 0.0f;              // radians
    float angleYZ = -0.785398f;        // radians; minus 45 degrees
    float angleXZ = 0.0f;              // radians
    float cameraHeight = 240.0f;       // centimetres
    // "Counter Settings"
    int32_t counterSetted = 0;
    std::array<ImagePoint, 2> imageLine{};
    std::array<WorldPoint, 2> worldLine{};
    float angleIn = 0.0f;              // radians
    int32_t maskSize = 0;              // bytes of region data in the mask file; 0 = no mask
    int32_t maskColor = 255;           // COLORREF 0x00BBGGRR
    int32_t displayCounterLine = 0;    // 0 = On, 1 = Off
    int32_t displayTrackingFrame = 0;  // 0 = On, 1 = Off
    int32_t displayObjectHeight = 0;   // 0 = On, 1 = Off
    int32_t displayMask = 0;           // 0 = On, 1 = Off
    int32_t countingIODirection = 0;   // which side is "In": 0 or 1
    int32_t countingIOMode = 0;        // 0 "In & Out", 1 "In Only", 2 "Out Only"
    int32_t heightDetection = 0;       // 0 = On, 1 = Off
    int32_t autoBackgroundUpdate = 0;  // 0 = On, 1 = Off
    int32_t updateInterval = 30;
    int32_t counterOperationTime = 0;    // 0 = all day, 1 = start to stop time
    int32_t operationStartTime = 80000;  // hour x 10000 + minute x 100 + second
    int32_t operationStopTime = 180000;  // same packing
    // "Common": carried for the host
    int32_t cutX1 = 10;
    int32_t cutX2 = 310;
    int32_t varTh = 0;

    bool operator==(const CameraSettings&) const = default;
};

// Which sections LoadSettingIni and SaveSettingIni handle. Any other value
// handles nothing; "Common" is handled only with kAllSections.
enum SettingsSelector : int32_t {
    kAllSections = 0,      // every section, "Common" included
    kGeneralSettings = 1,  // "General Settings"
    kCameraAngle = 2,      // "Camera Angle"
    kCounterSettings = 3,  // "Counter Settings"
    kCalibrationData = 4,  // "Calibration Data"
};
