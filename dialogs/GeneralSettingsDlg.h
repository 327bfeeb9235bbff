#pragma once
// General Settings: the site name, remote access with the local address and
// port the counter is reached on, the auto-recycle period and the unit of
// lengths. The dialog edits only its own copy: the view fills the values
// before each showing and takes them back after OK.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/LinkStatic.h"
#include "dialogs/SettingsValues.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class CGeneralSettingsDlg : public CDialog {
  public:
    // This computer's IPv4 addresses as dotted text, in lookup order.
    using AddressSource = std::function<std::vector<std::string>()>;

    explicit CGeneralSettingsDlg(CWnd* parent = nullptr);
    ~CGeneralSettingsDlg() override;

    void SetLanguageFile(const std::string& path) { m_languageFile = path; }
    // The host-name lookup unless replaced (the answers differ from machine
    // to machine).
    void SetAddressSource(AddressSource source) { m_addressSource = std::move(source); }

    BOOL OnInitDialog() override;
    void OnOK() override;

    // The edited values: filled by the view before each showing, taken back after OK.
    GeneralSettingsValues& Values() { return m_values; }

    static constexpr int kOn = 0;
    static constexpr int kOff = 1;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnRemoteAccess(UINT id);
    void OnRecycleChosen();
    void OnOkButton() { OnOK(); }
    void OnCancelButton() { OnCancel(); }

    DECLARE_MESSAGE_MAP()

  private:
    void HideCameraRows();
    void MoveRowsUp();
    void ApplyTexts();
    void FillRecycleList();
    // Empties and refills the address list; true when it holds an address.
    bool BuildAddressList(int indexToSelect);
    void EnableSiteControls(bool enable);
    void EnableRemoteRadios(bool enable);
    bool ReadRecycleDays();

    std::string m_languageFile;
    AddressSource m_addressSource;
    std::vector<std::string> m_addresses;  // what the address list holds
    CComboBox m_addressList;
    CComboBox m_recycleList;
    CLinkStatic m_link;
    GeneralSettingsValues m_values;
};
