// The main view's side of the Calibration Test: the bracketed showing with
// both rectified pictures, the region it asks the host to match, and the
// host's answer written into the dialog.
#include "hostlink/HostMessages.h"
#include "hostlink/HostPacking.h"
#include "view/ChildView.h"

void CChildView::RunCalibrationTest() {
    RunPictureDialog(m_calibrationTestDlg, hostlink::kDialogShowsBothPictures);
    m_host.DialogClosed();
    m_activeDialog = nullptr;
}

void CChildView::RequestRegionMeasure() {
    // Only the open dialog's own request is forwarded.
    if (m_activeDialog != &m_calibrationTestDlg || !m_calibrationTestDlg.IsWindow()) return;
    m_regionSentToHost = m_calibrationTestDlg.LeftPicture().m_testRegion;
    const RECT& r = m_regionSentToHost;
    m_host.MeasureRegion({r.left, r.top, r.right, r.bottom});
}

void CChildView::OnRegionResult(WPARAM wp, LPARAM lp) {
    if (m_activeDialog != &m_calibrationTestDlg || !m_calibrationTestDlg.IsWindow()) return;
    m_calibrationTestDlg.ShowRegionResult(m_regionSentToHost,
                                          hostlink::UnpackFloat(static_cast<uint64_t>(wp)),
                                          hostlink::UnpackFloat(static_cast<uint64_t>(lp)));
}
