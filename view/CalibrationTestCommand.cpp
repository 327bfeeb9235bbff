#include "view/CalibrationTestCommand.h"

#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"

void CalibrationTestCommand::SetUp(const std::string& languageFile) {
    PictureFeed& feed = m_context.feed;
    m_dialog.SetImageSource(m_context.view.m_hWnd, feed.RectifiedHeader(), feed.Left(),
                            feed.Right());
    m_dialog.SetUnit(m_context.settings.unit);
    m_dialog.SetLanguageFile(languageFile);
}

void CalibrationTestCommand::Run() {
    ActiveDialog::Bracket bracket(m_context.activeDialog, m_dialog,
                                  hostlink::kDialogShowsBothPictures);
    m_dialog.DoModal();
}

void CalibrationTestCommand::RequestRegionMeasure() {
    // Only the open dialog's own request is forwarded.
    if (!m_context.activeDialog.Is(m_dialog)) return;
    m_regionSentToHost = m_dialog.LeftPicture().Test().Region();
    const RECT& r = m_regionSentToHost;
    m_context.host.MeasureRegion({r.left, r.top, r.right, r.bottom});
}

void CalibrationTestCommand::OnRegionResult(WPARAM wp, LPARAM lp) {
    if (!m_context.activeDialog.Is(m_dialog)) return;
    m_dialog.ShowRegionResult(m_regionSentToHost, hostlink::UnpackFloat(static_cast<uint64_t>(wp)),
                              hostlink::UnpackFloat(static_cast<uint64_t>(lp)));
}
