// The main view's side of Counter Settings: what it copies into the dialog,
// the counting line it asks the host for, the host's answer, and what it
// stores and tells the host after OK.
#include "hostlink/BlockLayouts.h"
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "settings/FileReplace.h"
#include "settings/MaskFile.h"
#include "framework/WinApp.h"
#include "view/ChildView.h"

namespace {
constexpr char kMaskNotStoredText[] =
    "The mask could not be stored. The previous mask stays in force.";
constexpr char kCounterSettingsNotStoredText[] = "The counter settings could not be stored.";
}  // namespace

void CChildView::RunCounterSettings() {
    CCounterSettingsDlg& dialog = m_counterSettingsDlg;
    CountingLineRecord line;  // no line: picture points -1, floor points 0xFFFF, angle 0
    if (m_settings.counterSetted) {
        line.imageX1 = m_settings.imageLine[0].x;
        line.imageY1 = m_settings.imageLine[0].y;
        line.imageX2 = m_settings.imageLine[1].x;
        line.imageY2 = m_settings.imageLine[1].y;
        line.worldX1 = static_cast<int16_t>(m_settings.worldLine[0].x);
        line.worldY1 = static_cast<int16_t>(m_settings.worldLine[0].y);
        line.worldX2 = static_cast<int16_t>(m_settings.worldLine[1].x);
        line.worldY2 = static_cast<int16_t>(m_settings.worldLine[1].y);
        line.angleIn = m_settings.angleIn;
    }
    dialog.m_displayCounterLine = m_settings.displayCounterLine;
    dialog.m_displayTrackingFrame = m_settings.displayTrackingFrame;
    dialog.m_displayObjectHeight = m_settings.displayObjectHeight;
    dialog.m_displayMask = m_settings.displayMask;
    dialog.m_ioDirection = m_settings.countingIODirection;
    dialog.m_countingMode = m_settings.countingIOMode;
    dialog.m_heightDetection = m_settings.heightDetection;
    dialog.m_autoBackgroundUpdate = m_settings.autoBackgroundUpdate;
    const counter::IntervalFields interval = counter::SplitInterval(m_settings.updateInterval);
    dialog.m_intervalFirst = interval.first;
    dialog.m_intervalSecond = interval.second;
    dialog.m_operationTime = m_settings.counterOperationTime;
    dialog.m_startTime = m_settings.operationStartTime;
    dialog.m_stopTime = m_settings.operationStopTime;
    dialog.Picture().m_counterRect = m_counterRect;
    dialog.SetCommittedMask(m_maskRegion.get());
    dialog.m_maskColor = static_cast<COLORREF>(m_settings.maskColor);
    dialog.SetCountingLine(line);

    if (RunPictureDialog(dialog, hostlink::kDialogShowsLeftPicture) == IDOK) {
        const CountingLineRecord& edited = dialog.CountingLine();
        m_settings.imageLine[0] = {edited.imageX1, edited.imageY1};
        m_settings.imageLine[1] = {edited.imageX2, edited.imageY2};
        m_settings.worldLine[0] = {static_cast<uint16_t>(edited.worldX1),
                                   static_cast<uint16_t>(edited.worldY1)};
        m_settings.worldLine[1] = {static_cast<uint16_t>(edited.worldX2),
                                   static_cast<uint16_t>(edited.worldY2)};
        m_settings.angleIn = edited.angleIn;
        m_settings.countingIODirection = dialog.m_ioDirection;
        m_settings.countingIOMode = dialog.m_countingMode;
        m_settings.displayCounterLine = dialog.m_displayCounterLine;
        m_settings.displayTrackingFrame = dialog.m_displayTrackingFrame;
        m_settings.displayObjectHeight = dialog.m_displayObjectHeight;
        m_settings.displayMask = dialog.m_displayMask;
        m_settings.heightDetection = dialog.m_heightDetection;
        m_settings.autoBackgroundUpdate = dialog.m_autoBackgroundUpdate;
        m_settings.updateInterval =
            counter::JoinInterval(dialog.m_intervalFirst, dialog.m_intervalSecond);
        m_settings.counterOperationTime = dialog.m_operationTime;
        if (counter::StartBeforeStop(dialog.m_startTime, dialog.m_stopTime)) {
            m_settings.operationStartTime = dialog.m_startTime;
            m_settings.operationStopTime = dialog.m_stopTime;
        }
        m_settings.maskColor = static_cast<int32_t>(dialog.m_maskColor);
        m_settings.counterSetted = edited.HasLine() ? 1 : 0;
        const bool stored = StoreCounterSettings(dialog.CommittedMask());
        RebuildOverlayTransforms();  // the in angle may have turned
        if (stored) {
            if (m_settings.counterSetted) {
                m_host.SetCountingLine({edited.imageX1, edited.imageY1},
                                       {edited.imageX2, edited.imageY2});
            }
            m_host.CounterSettingsSaved();
        }
    }
    m_host.DialogClosed();
    m_activeDialog = nullptr;
}

bool CChildView::StoreCounterSettings(HRGN mask) {
    // The mask and the size the settings give it go to disk as one change.
    RegionHandle previousMask = CopyRegion(m_maskRegion.get());
    const int32_t previousSize = m_settings.maskSize;
    settings::FileChange change;
    const bool maskStaged = settings::StoreMask(mask, m_maskRegion, m_settings.maskSize,
                                                m_maskFilePath, &change) != FALSE;
    const bool written = m_settingsFile.SaveSettingIni(m_settings, {kCounterSettings}, &change);
    const bool committed = change.Commit() != FALSE;
    if (maskStaged && written && committed) return true;

    // Whatever failed, the settings file, the mask file and the mask the view
    // draws agree again: the previous mask stays in force.
    const bool maskFileChanged =
        maskStaged && mask && (committed || change.FailedPath() != m_maskFilePath);
    m_maskRegion = std::move(previousMask);
    m_settings.maskSize = previousSize;
    if (maskFileChanged && previousSize != 0) {
        RegionHandle restored;
        int32_t restoredSize = 0;
        settings::StoreMask(m_maskRegion.get(), restored, restoredSize, m_maskFilePath);
    }
    // Settings written with the previous mask already stand; otherwise they
    // are written again with it.
    const bool settingsStored = (!maskStaged && written && committed) ||
                                m_settingsFile.SaveSettingIni(m_settings, kCounterSettings);
    AfxMessageBox(settingsStored ? kMaskNotStoredText : kCounterSettingsNotStoredText,
                  MB_OK | MB_ICONEXCLAMATION);
    return settingsStored;
}

void CChildView::RequestCountingLine() {
    // Only the open dialog's own request is forwarded: a request arriving
    // with no dialog, or for another dialog, has nothing to send.
    if (m_activeDialog != &m_counterSettingsDlg || !m_counterSettingsDlg.IsWindow()) return;
    const CImageEditor& picture = m_counterSettingsDlg.Picture();
    m_lineSentToHost.imageX1 = picture.m_dragStart.x;
    m_lineSentToHost.imageY1 = picture.m_dragStart.y;
    m_lineSentToHost.imageX2 = picture.m_dragEnd.x;
    m_lineSentToHost.imageY2 = picture.m_dragEnd.y;
    m_host.EditCountingLine({m_lineSentToHost.imageX1, m_lineSentToHost.imageY1},
                            {m_lineSentToHost.imageX2, m_lineSentToHost.imageY2});
}

void CChildView::OnCountingLine3D(WPARAM wp, LPARAM) {
    if (hostlink::ParamBits(wp) == 0) return;
    if (m_activeDialog != &m_counterSettingsDlg || !m_counterSettingsDlg.IsWindow()) return;
    const unsigned char* bytes = m_countingLineBlock.Open(hostlink::kCountingLineBlockBytes);
    if (!bytes) return;
    const hostlink::CountingLineBlock answer = hostlink::ReadCountingLine(bytes);
    CountingLineRecord line = m_lineSentToHost;
    line.worldX1 = answer.worldPt1x;
    line.worldY1 = answer.worldPt1y;
    line.worldX2 = answer.worldPt2x;
    line.worldY2 = answer.worldPt2y;
    line.angleIn = answer.angleIn;
    m_counterSettingsDlg.SetCountingLine(line);
}
