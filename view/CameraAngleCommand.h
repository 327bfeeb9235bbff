#pragma once
// Menu commands 152 and 153: Camera Angle - the four corners it passes to the
// host, the host's angles put into it, and what Update stores - and Camera
// Angle Verification, which shows the reference picture Update stored.
#include <windows.h>

#include <string>

#include "dialogs/CameraAngleDlg.h"
#include "dialogs/CameraAngleVerifyDlg.h"
#include "hostlink/SharedBlock.h"
#include "view/ViewContext.h"

class CameraAngleCommand {
  public:
    explicit CameraAngleCommand(ViewContext& context)
        : m_context(context), m_dialog(&context.view), m_verifyDialog(&context.view) {}
    // The pictures, the language file and the stored reference picture, at
    // the view's set-up.
    void SetUp(const std::string& languageFile);
    // True when an angle is set once the dialog has closed (read back from
    // the file: the host may have written it too).
    bool Run();
    void RunVerification();
    // WM_UI_HOST_REQUEST 2 of the open dialog: its corners go to the host.
    void RequestPatternFeatures();
    // WM_VIEW_CAMERA_ANGLE: the host's angles.
    void OnCameraAngle();
    // WM_UI_CAMERA_ANGLE_ACCEPTED: Update pressed.
    void OnCameraAngleAccepted();

  private:
    ViewContext& m_context;
    CCameraAngleDlg m_dialog;
    CCameraAngleVerifyDlg m_verifyDialog;
    std::string m_referencePicturePath;
    hostlink::SharedBlock m_patternBlock{hostlink::HostBlock::PatternFeature};
    hostlink::SharedBlock m_cameraAngleBlock{hostlink::HostBlock::CameraAngle};
};
