// The main view's side of Camera Angle and Camera Angle Verification: what it
// copies into the dialog, the four corners it passes to the host, the host's
// angles it puts into the dialog, what it stores when the user accepts them,
// and the menu it enables once an angle has been accepted.
#include <cstring>
#include <vector>

#include "hostlink/BlockLayouts.h"
#include "hostlink/HostMessages.h"
#include "hostlink/PatternCorners.h"
#include "settings/FileReplace.h"
#include "settings/ReferencePictureFile.h"
#include "view/ChildView.h"

void CChildView::RunCameraAngle() {
    CCameraAngleDlg& dialog = m_cameraAngleDlg;
    dialog.m_templateDimension = m_settings.templateDimension;
    dialog.m_angleXY = m_settings.angleXY;
    dialog.m_angleYZ = m_settings.angleYZ;
    dialog.m_angleXZ = m_settings.angleXZ;
    dialog.m_height = m_settings.cameraHeight;
    dialog.m_unit = m_settings.unit;

    RunPictureDialog(dialog, hostlink::kDialogShowsLeftPicture);
    m_host.DialogClosed();
    // The host may have written the file too: everything is read again, and
    // an accepted angle makes the rest of the settings available.
    LoadSettingIni(kAllSections);
    RebuildOverlayTransforms();
    if (m_settings.cameraAngleSetted) EnableCommands({150, 151, 152, 153, 154}, true);
    m_activeDialog = nullptr;
}

void CChildView::RunVerification() {
    RunPictureDialog(m_verifyDlg, hostlink::kDialogShowsLeftPicture);
    m_host.DialogClosed();
    m_activeDialog = nullptr;
}

bool CChildView::CameraAngleDialogOpen() const {
    return m_activeDialog == &m_cameraAngleDlg && m_cameraAngleDlg.IsWindow();
}

void CChildView::RequestPatternFeatures() {
    // Only the open Camera Angle dialog has corners to send.
    if (!CameraAngleDialogOpen()) return;
    unsigned char* block = m_patternBlock.Open(hostlink::kPatternFeatureBlockBytes);
    if (!block) return;  // the block said so; nothing is sent
    std::vector<hostlink::HostPoint> points;
    for (const POINT& p : m_cameraAngleDlg.Picture().m_points)
        points.push_back({static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)});
    hostlink::WritePatternCorners(block, hostlink::OrderPatternCorners(points));
    m_host.PatternFeatures();
}

void CChildView::OnCameraAngle(WPARAM, LPARAM) {
    // An answer for a dialog that is not open (any more) is dropped.
    if (!CameraAngleDialogOpen()) return;
    const unsigned char* block = m_cameraAngleBlock.Open(hostlink::kCameraAngleBlockBytes);
    if (!block) return;  // the dialog keeps its values
    const hostlink::CameraAngleBlock answer = hostlink::ReadCameraAngle(block);
    const angle::CameraAngles result{answer.angleXY, answer.angleYZ, answer.angleXZ};
    if (!angle::AnglesUsable(result)) {
        m_cameraAngleDlg.ShowUnusableAnswer();  // the dialog keeps its values
        return;
    }
    m_cameraAngleDlg.ShowResult(result);
}

void CChildView::OnCameraAngleAccepted(WPARAM, LPARAM) {
    if (!CameraAngleDialogOpen()) return;
    const CCameraAngleDlg& dialog = m_cameraAngleDlg;
    // The template box is read-only: its stored centimetres come back as they went in.
    m_settings.templateDimension = dialog.m_templateDimension;
    const angle::CameraAngles stored{m_settings.angleXY, m_settings.angleYZ, m_settings.angleXZ};
    // A counting line belongs to the angle it was drawn for.
    const bool lineDropped = angle::AnglesChanged(stored, dialog.Angles());
    if (lineDropped) m_settings.counterSetted = 0;
    m_settings.angleXY = dialog.m_angleXY;
    m_settings.angleYZ = dialog.m_angleYZ;
    m_settings.angleXZ = dialog.m_angleXZ;
    m_settings.cameraHeight = dialog.m_height;
    m_settings.cameraAngleSetted = 1;
    // The reference picture: the buffer always, the file when it can be written.
    std::memcpy(m_referencePicture.data(), m_leftPicture.data(), settings::kReferencePixelBytes);
    // The picture, the new angle and a dropped line go to disk as one change.
    settings::FileChange change;
    settings::StoreReferencePicture(
        m_referencePicturePath,
        settings::ConstReferencePixels(m_referencePicture.data(), settings::kReferencePixelBytes),
        &change);
    if (lineDropped) {
        m_settingsFile.SaveSettingIni(m_settings, {kCounterSettings, kCameraAngle}, &change);
    } else {
        m_settingsFile.SaveSettingIni(m_settings, {kCameraAngle}, &change);
    }
    change.Commit();
    m_host.CameraAngleSaved();
}
