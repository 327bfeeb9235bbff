#pragma once
// What the settings commands work on: the view's settings, settings file,
// host link and picture feed, lent to them for the view's life, and the
// dialog that host answers and rectified pictures go to.
#include <cstdint>
#include <string>

#include "framework/Dialog.h"
#include "hostlink/HostLink.h"
#include "settings/CameraSettings.h"
#include "settings/SettingsFile.h"
#include "view/PictureFeed.h"

// The settings dialog that runs modally now, if it is a picture dialog.
class ActiveDialog {
  public:
    // For as long as it lives, `dialog` is the active dialog: the host is told
    // when it opens (WM_HOST_DIALOG_STATE 1, the pictures it shows) and when
    // it has closed (0, 1) - after whatever was done with what it confirmed.
    class Bracket {
      public:
        Bracket(ActiveDialog& active, CDialog& dialog, uint32_t pictures);
        ~Bracket();
        Bracket(const Bracket&) = delete;
        Bracket& operator=(const Bracket&) = delete;

      private:
        ActiveDialog& m_active;
    };

    explicit ActiveDialog(const hostlink::HostLink& host) : m_host(host) {}
    // The active dialog whose window exists, null when none: answers for a
    // dialog that is not open (any more) are dropped.
    CDialog* Get() const;
    bool Is(const CDialog& dialog) const { return Get() == &dialog; }

  private:
    const hostlink::HostLink& m_host;
    CDialog* m_dialog = nullptr;
};

struct ViewContext {
    CWnd& view;  // the dialogs' parent, where their requests go
    CameraSettings& settings;
    settings::SettingsFile& settingsFile;
    hostlink::HostLink& host;
    PictureFeed& feed;
    ActiveDialog& activeDialog;
    // The settings folder and camera of the command line.
    const std::string& settingFolder;
    const int& cameraId;
};
