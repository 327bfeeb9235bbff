#include "view/CounterSettingsCommand.h"

#include "framework/WinApp.h"
#include "hostlink/BlockLayouts.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "settings/FileReplace.h"
#include "settings/MaskFile.h"
#include "settings/SettingsPaths.h"

namespace {
constexpr char kMaskNotStoredText[] =
    "The mask could not be stored. The previous mask stays in force.";
constexpr char kCounterSettingsNotStoredText[] = "The counter settings could not be stored.";
}  // namespace

void CounterSettingsCommand::SetUp(const std::string& languageFile) {
    PictureFeed& feed = m_context.feed;
    m_dialog.SetImageSource(m_context.view.m_hWnd, feed.RectifiedHeader(), feed.Left());
    m_dialog.SetLanguageFile(languageFile);
    m_maskFilePath = settings::MaskFilePath(m_context.settingFolder, m_context.cameraId);
    if (m_context.settings.maskSize != 0)
        settings::LoadMask(m_maskFilePath, m_mask, m_context.settings.maskSize);
}

bool CounterSettingsCommand::Run() {
    CameraSettings& settings = m_context.settings;
    m_dialog.Values() = CounterValuesFrom(settings);
    m_dialog.Picture().Drawing().SetCounterRect(m_counterRect);
    m_dialog.SetCommittedMask(m_mask.get());
    m_dialog.SetCountingLine(m_dialog.Values().line);

    ActiveDialog::Bracket bracket(m_context.activeDialog, m_dialog,
                                  hostlink::kDialogShowsLeftPicture);
    if (m_dialog.DoModal() != IDOK) return false;
    ApplyCounterValues(m_dialog.Values(), settings);
    if (!Store(m_dialog.CommittedMask())) return false;
    if (settings.counterSetted) {
        m_context.host.SetCountingLine({settings.imageLine[0].x, settings.imageLine[0].y},
                                       {settings.imageLine[1].x, settings.imageLine[1].y});
    }
    m_context.host.CounterSettingsSaved();
    return true;
}

bool CounterSettingsCommand::Store(HRGN mask) {
    CameraSettings& settings = m_context.settings;
    RegionHandle previousMask = CopyRegion(m_mask.get());
    const int32_t previousSize = settings.maskSize;
    settings::FileChange change;
    const bool maskStaged =
        settings::StoreMask(mask, m_mask, settings.maskSize, m_maskFilePath, &change) != FALSE;
    const bool written =
        m_context.settingsFile.SaveSettingIni(settings, {kCounterSettings}, &change) != FALSE;
    const bool committed = change.Commit() != FALSE;
    if (maskStaged && written && committed) return true;

    // Whatever failed, the settings file, the mask file and the mask the view
    // draws agree again: the previous mask stays in force.
    const bool maskFileChanged =
        maskStaged && mask && (committed || change.FailedPath() != m_maskFilePath);
    m_mask = std::move(previousMask);
    settings.maskSize = previousSize;
    if (maskFileChanged && previousSize != 0) {
        RegionHandle restored;
        int32_t restoredSize = 0;
        settings::StoreMask(m_mask.get(), restored, restoredSize, m_maskFilePath);
    }
    // Settings written with the previous mask already stand; otherwise they
    // are written again with it.
    const bool settingsStored =
        (!maskStaged && written && committed) ||
        m_context.settingsFile.SaveSettingIni(settings, kCounterSettings) != FALSE;
    AfxMessageBox(settingsStored ? kMaskNotStoredText : kCounterSettingsNotStoredText,
                  MB_OK | MB_ICONEXCLAMATION);
    return settingsStored;
}

void CounterSettingsCommand::RequestCountingLine() {
    // Only the open dialog's own request is forwarded: a request arriving
    // with no dialog, or for another dialog, has nothing to send.
    if (!m_context.activeDialog.Is(m_dialog)) return;
    const auto [start, end] = m_dialog.Picture().Drawing().DrawnLine();
    m_lineSentToHost = CountingLineRecord{};
    m_lineSentToHost.imageX1 = static_cast<int32_t>(start.x);
    m_lineSentToHost.imageY1 = static_cast<int32_t>(start.y);
    m_lineSentToHost.imageX2 = static_cast<int32_t>(end.x);
    m_lineSentToHost.imageY2 = static_cast<int32_t>(end.y);
    m_context.host.EditCountingLine({m_lineSentToHost.imageX1, m_lineSentToHost.imageY1},
                                    {m_lineSentToHost.imageX2, m_lineSentToHost.imageY2});
}

void CounterSettingsCommand::OnCountingLine3D(WPARAM wp) {
    if (hostlink::ParamBits(wp) == 0) return;
    if (!m_context.activeDialog.Is(m_dialog)) return;
    const unsigned char* bytes = m_countingLineBlock.Open(hostlink::kCountingLineBlockBytes);
    if (!bytes) return;
    const hostlink::CountingLineBlock answer = hostlink::ReadCountingLine(bytes);
    CountingLineRecord line = m_lineSentToHost;
    line.worldX1 = answer.worldPt1x;
    line.worldY1 = answer.worldPt1y;
    line.worldX2 = answer.worldPt2x;
    line.worldY2 = answer.worldPt2y;
    line.angleIn = answer.angleIn;
    m_dialog.SetCountingLine(line);
}
