#include "view/CameraAngleCommand.h"

#include <cstring>
#include <vector>

#include "hostlink/BlockLayouts.h"
#include "hostlink/HostMessages.h"
#include "hostlink/PatternCorners.h"
#include "settings/FileReplace.h"
#include "settings/ReferencePictureFile.h"
#include "settings/SettingsPaths.h"

void CameraAngleCommand::SetUp(const std::string& languageFile) {
    PictureFeed& feed = m_context.feed;
    HWND view = m_context.view.m_hWnd;
    m_dialog.SetImageSource(view, feed.RectifiedHeader(), feed.Left());
    m_verifyDialog.SetImageSource(view, feed.RectifiedHeader(), feed.Left(), feed.Reference());
    m_dialog.SetLanguageFile(languageFile);
    m_verifyDialog.SetLanguageFile(languageFile);
    m_referencePicturePath =
        settings::ReferencePicturePath(m_context.settingFolder, m_context.cameraId);
    settings::LoadReferencePicture(
        m_referencePicturePath, settings::ReferencePixels(feed.Reference(), feed.RectifiedBytes()));
}

bool CameraAngleCommand::Run() {
    m_dialog.Values() = AngleValuesFrom(m_context.settings);
    {
        ActiveDialog::Bracket bracket(m_context.activeDialog, m_dialog,
                                      hostlink::kDialogShowsLeftPicture);
        m_dialog.DoModal();
    }
    // The host may have written the file too: everything is read again.
    m_context.settingsFile.LoadSettingIni(m_context.settings, kAllSections);
    return m_context.settings.cameraAngleSetted != 0;
}

void CameraAngleCommand::RunVerification() {
    ActiveDialog::Bracket bracket(m_context.activeDialog, m_verifyDialog,
                                  hostlink::kDialogShowsLeftPicture);
    m_verifyDialog.DoModal();
}

void CameraAngleCommand::RequestPatternFeatures() {
    // Only the open Camera Angle dialog has corners to send.
    if (!m_context.activeDialog.Is(m_dialog)) return;
    unsigned char* block = m_patternBlock.Open(hostlink::kPatternFeatureBlockBytes);
    if (!block) return;  // the block said so; nothing is sent
    std::vector<hostlink::HostPoint> points;
    for (const POINT& p : m_dialog.Picture().Corners().Points())
        points.push_back({static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)});
    hostlink::WritePatternCorners(block, hostlink::OrderPatternCorners(points));
    m_context.host.PatternFeatures();
}

void CameraAngleCommand::OnCameraAngle() {
    // An answer for a dialog that is not open (any more) is dropped.
    if (!m_context.activeDialog.Is(m_dialog)) return;
    const unsigned char* block = m_cameraAngleBlock.Open(hostlink::kCameraAngleBlockBytes);
    if (!block) return;  // the dialog keeps its values
    const hostlink::CameraAngleBlock answer = hostlink::ReadCameraAngle(block);
    const angle::CameraAngles result{answer.angleXY, answer.angleYZ, answer.angleXZ};
    if (!angle::AnglesUsable(result)) {
        m_dialog.ShowUnusableAnswer();  // the dialog keeps its values
        return;
    }
    m_dialog.ShowResult(result);
}

void CameraAngleCommand::OnCameraAngleAccepted() {
    if (!m_context.activeDialog.Is(m_dialog)) return;
    CameraSettings& settings = m_context.settings;
    const bool lineDropped = AcceptAngleValues(m_dialog.Values(), settings);
    // The reference picture: the buffer always, the file when it can be written.
    PictureFeed& feed = m_context.feed;
    std::memcpy(feed.Reference(), feed.Left(), settings::kReferencePixelBytes);
    // The picture, the new angle and a dropped line go to disk as one change.
    settings::FileChange change;
    settings::StoreReferencePicture(
        m_referencePicturePath,
        settings::ConstReferencePixels(feed.Reference(), settings::kReferencePixelBytes), &change);
    if (lineDropped) {
        m_context.settingsFile.SaveSettingIni(settings, {kCounterSettings, kCameraAngle}, &change);
    } else {
        m_context.settingsFile.SaveSettingIni(settings, {kCameraAngle}, &change);
    }
    change.Commit();
    m_context.host.CameraAngleSaved();
}
