#include "settings/CalibrationCheck.h"

#include <cstdint>
#include <span>

#include "framework/File.h"
#include "framework/WinApp.h"
#include "settings/CalibrationFormat.h"

namespace settings {
namespace {

int ShowWithAfxMessageBox(const char* text, UINT type) {
    return ::AfxMessageBox(text, type);
}

}  // namespace

BOOL CheckCalibrationData(const std::string& path) {
    return CheckCalibrationData(path, ShowWithAfxMessageBox);
}

BOOL CheckCalibrationData(const std::string& path, MessageBoxFunction showMessage) {
    CFileStatus status;
    if (!CFile::GetStatus(path, status) || status.m_size < 0) return FALSE;
    if (CheckCalibrationSize(static_cast<uint64_t>(status.m_size)) != CalibrationVerdict::Valid) {
        return FALSE;
    }
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error)) {
        const std::string text = kCantOpenFileText + error.GetErrorMessage(1024);
        showMessage(text.c_str(), MB_OK | MB_ICONERROR);
        return FALSE;
    }
    uint8_t head[kCalibrationVersionBytes] = {};
    const UINT read = file.Read(head, sizeof head);
    switch (CheckCalibrationVersion(std::span<const uint8_t>(head, read))) {
        case CalibrationVerdict::Valid:
            return TRUE;
        case CalibrationVerdict::WrongVersion:
            showMessage(kVersionErrorText, MB_OK | MB_ICONERROR);
            return FALSE;
        case CalibrationVerdict::WrongSize:
        case CalibrationVerdict::ShortRead:  // the file shrank since its status was taken
            return FALSE;
    }
    return FALSE;
}

}  // namespace settings
