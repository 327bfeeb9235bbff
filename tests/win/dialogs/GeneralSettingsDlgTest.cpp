// General Settings with the local addresses it is given (the machine's own
// differ from machine to machine): what the list offers and selects, when
// remote access can be switched, and what OK hands back.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/GeneralSettingsDlg.h"
#include "res/Resource.h"
#include "tests/win/support/MessageBoxWatcher.h"
#include "tests/win/support/UiTest.h"

namespace {

using Addresses = std::vector<std::string>;
constexpr int kOn = CGeneralSettingsDlg::kOn, kOff = CGeneralSettingsDlg::kOff;

struct Values {
    int remoteAccess, index;
    std::string address;
    bool operator==(const Values&) const = default;
};

struct Shown {
    std::unique_ptr<CGeneralSettingsDlg> dialog;
    HWND Item(int id) const { return ::GetDlgItem(dialog->m_hWnd, id); }
    Addresses Listed() const {
        Addresses items(
            static_cast<size_t>(::SendMessageA(Item(IDC_GS_ADDRESS), CB_GETCOUNT, 0, 0)));
        for (size_t i = 0; i < items.size(); ++i) {
            char text[64] = "";
            ::SendMessageA(Item(IDC_GS_ADDRESS), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items[i] = text;
        }
        return items;
    }
    int Selected() const {
        return static_cast<int>(::SendMessageA(Item(IDC_GS_ADDRESS), CB_GETCURSEL, 0, 0));
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    Values Ok() const {
        dialog->SendMessage(WM_COMMAND, IDC_GS_OK, 0);
        return {dialog->Values().remoteAccess, dialog->Values().ipAddrIndex,
                dialog->Values().ipAddr};
    }
};

Shown Open(const Addresses& lookedUp, const Values& stored, int port = 700) {
    Shown shown{std::make_unique<CGeneralSettingsDlg>(&uitest::HostWindow())};
    shown.dialog->SetAddressSource([lookedUp] { return lookedUp; });
    shown.dialog->Values().port = port;
    shown.dialog->Values().remoteAccess = stored.remoteAccess;
    shown.dialog->Values().ipAddrIndex = stored.index;
    shown.dialog->Values().ipAddr = stored.address;
    EXPECT_TRUE(shown.dialog->Create(IDD_GENERAL_SETTINGS, &uitest::HostWindow()));
    ::ShowWindow(shown.dialog->m_hWnd, SW_SHOWNA);  // OK hides it: something to see
    return shown;
}

const Addresses kLookedUp{"127.0.0.1", "192.0.2.2", "10.0.0.5", "192.0.2.2", "127.0.1.1"};
const Addresses kOffered{"192.0.2.2", "10.0.0.5"};

TEST(GeneralSettingsDlg, LocalAddressesDecideTheListAndWhetherRemoteAccessCanBeOn) {
    const struct {
        Addresses lookedUp;
        Values stored;
        int selected;       // -1: an empty list
        bool radios, site;  // enabled
        Values afterOk;
    } cases[] = {
        // Only loopback (or no answer): Off, locked, the stored address kept.
        {{"127.0.0.1"}, {kOn, 2, "10.1.1.1"}, -1, false, false, {kOff, 2, "10.1.1.1"}},
        {{}, {kOn, 0, ""}, -1, false, false, {kOff, 0, ""}},
        // A stored index of -1 or beyond the list selects the first address.
        {kLookedUp, {kOn, -1, ""}, 0, true, true, {kOn, 0, "192.0.2.2"}},
        {kLookedUp, {kOn, 9, "10.9.9.9"}, 0, true, true, {kOn, 0, "192.0.2.2"}},
        {kLookedUp, {kOn, 1, ""}, 1, true, true, {kOn, 1, "10.0.0.5"}},
        // Off keeps the stored address; a value that is no choice shows as Off.
        {kLookedUp, {kOff, 7, "10.9.9.9"}, 0, true, false, {kOff, 7, "10.9.9.9"}},
        {kLookedUp, {5, 1, "10.0.0.5"}, 1, true, false, {kOff, 1, "10.0.0.5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored.remoteAccess << "/" << c.stored.index);
        const Shown shown = Open(c.lookedUp, c.stored);
        EXPECT_EQ(shown.Listed(), c.selected < 0 ? Addresses{} : kOffered);
        EXPECT_EQ(shown.Selected(), c.selected);
        EXPECT_EQ(shown.Enabled(IDC_GS_REMOTE_ON) && shown.Enabled(IDC_GS_REMOTE_OFF), c.radios);
        EXPECT_EQ(shown.Enabled(IDC_GS_ADDRESS) && shown.Enabled(IDC_GS_PORT), c.site);
        EXPECT_EQ(shown.Ok(), c.afterOk);
    }

    // Off and On several times: each address once, the one picked still picked.
    const Shown shown = Open(kLookedUp, {kOff, 0, ""});
    ::SendMessageA(shown.Item(IDC_GS_ADDRESS), CB_SETCURSEL, 1, 0);
    for (int id : {IDC_GS_REMOTE_ON, IDC_GS_REMOTE_OFF, IDC_GS_REMOTE_ON, IDC_GS_REMOTE_OFF,
                   IDC_GS_REMOTE_ON}) {
        ::SendMessageA(shown.Item(id), BM_CLICK, 0, 0);
        EXPECT_EQ(shown.Enabled(IDC_GS_SITE_NAME), id == IDC_GS_REMOTE_ON);
    }
    EXPECT_EQ(shown.Listed(), kOffered);
    EXPECT_EQ(shown.Ok(), (Values{kOn, 1, "10.0.0.5"}));
}

// With remote access On a port beyond the range is refused and the dialog
// stays (with it Off the port is not checked: SettingsDialogs end to end).
TEST(GeneralSettingsDlg, ThePortIsCheckedWhereItCanBeEdited) {
    MessageBoxWatcher boxes;
    const Shown shown = Open(kLookedUp, {kOn, 0, ""}, 0);
    shown.dialog->SendMessage(WM_COMMAND, IDC_GS_OK, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Please enter an integer between 1 and 65535.");
    EXPECT_TRUE(::IsWindowVisible(shown.dialog->m_hWnd));
}

}  // namespace
