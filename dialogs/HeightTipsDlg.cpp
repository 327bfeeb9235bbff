#include "dialogs/HeightTipsDlg.h"

#include "dialogs/DialogText.h"
#include "framework/WinApp.h"
#include "res/Resource.h"

namespace {
constexpr int kTipsSection = IDD_HEIGHT_TIPS;

// The program's folder, ending with a backslash.
std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}
}  // namespace

std::string ExpandLineBreaks(const std::string& text) {
    std::string expanded;
    expanded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            expanded += '\n';
            ++i;
        } else {
            expanded += text[i];
        }
    }
    return expanded;
}

CHeightTipsDlg::CHeightTipsDlg(CWnd* parent) : CDialog(IDD_HEIGHT_TIPS, parent) {}

CHeightTipsDlg::~CHeightTipsDlg() = default;

void CHeightTipsDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_TIPS_HEADING, m_heading);
    DDX_Control(dx, IDC_TIPS_PICTURE, m_picture);
}

BOOL CHeightTipsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ApplyTexts();
    ShowPicture();
    return TRUE;
}

void CHeightTipsDlg::ApplyTexts() {
    ApplyDialogTexts(*this, m_languageFile, kTipsSection,
                     {{IDC_TIPS_HEADING, "Setup Tips for Height Detection"}},
                     "Setup Tips for Height Detection");
    for (int id : {IDC_TIPS_FIRST, IDC_TIPS_SECOND, IDC_TIPS_THIRD, IDC_TIPS_FOURTH}) {
        const std::string tip = ExpandLineBreaks(LookupText(m_languageFile, kTipsSection, id, ""));
        ::SetDlgItemTextA(m_hWnd, id, tip.c_str());
    }
    const std::string name = LookupText(m_languageFile, kTipsSection, IDC_TIPS_PICTURE, "");
    m_pictureFile = ModuleFolder() + "Resources\\Lang\\" + name;

    m_heading.ResizeNormalFont(-LookupFontSize(m_languageFile), FW_BOLD);
    m_heading.SetLink(0);
    m_heading.SetColor(RGB(0, 0, 0));
}

void CHeightTipsDlg::ShowPicture() {
    // A missing or unreadable picture (or a name that is no file) shows
    // nothing: the item shrinks to nothing and the tips still open.
    const bool named = m_pictureFile.back() != '\\';
    BitmapPtr picture = named ? LoadBitmapFile(m_pictureFile) : nullptr;
    const int width = picture ? static_cast<int>(picture->GetWidth()) : 0;
    const int height = picture ? static_cast<int>(picture->GetHeight()) : 0;

    RECT client{}, item{};
    GetClientRect(&client);
    ::GetWindowRect(m_picture.m_hWnd, &item);
    ScreenToClient(&item);
    const int left = ((client.right - client.left) - width) / 2;
    ::MoveWindow(m_picture.m_hWnd, left, item.top, width, height, TRUE);

    m_picture.SetImage(ImagePtr(picture.release()));
    m_picture.SetRotationAbout(0.0f, static_cast<float>(width) * 0.5f,
                               static_cast<float>(height) * 0.5f);
    m_picture.Invalidate();
}
