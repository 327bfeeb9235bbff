#include "framework/File.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "framework/LateImports.h"
#include "framework/ModalLoop.h"

std::string CFileException::GetErrorMessage(size_t maxChars) const {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, m_lOsError, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message;
    if (length && text) message.assign(text, length);
    if (text) ::LocalFree(text);
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) message = "Unknown error " + std::to_string(m_lOsError) + ".";
    if (message.size() > maxChars) message.resize(maxChars);
    return message;
}

BOOL CFile::Open(const std::string& path, unsigned flags, CFileException* error) {
    Close();
    DWORD access = GENERIC_READ;
    if (flags & modeWrite) access = GENERIC_WRITE;
    if (flags & modeReadWrite) access = GENERIC_READ | GENERIC_WRITE;
    const DWORD share =
        (flags & shareDenyNone) ? (FILE_SHARE_READ | FILE_SHARE_WRITE) : FILE_SHARE_READ;
    const DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE file = ::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) error->m_lOsError = ::GetLastError();
        return FALSE;
    }
    m_file.reset(file);
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (!m_file || !buffer) return 0;
    DWORD read = 0;
    if (!::ReadFile(m_file.get(), buffer, count, &read, nullptr)) return 0;
    return read;
}

BOOL CFile::Write(const void* buffer, UINT count) {
    if (!m_file || (!buffer && count)) return FALSE;
    DWORD written = 0;
    return ::WriteFile(m_file.get(), buffer, count, &written, nullptr) && written == count;
}

int64_t CFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!m_file || !::GetFileSizeEx(m_file.get(), &size)) return 0;
    return size.QuadPart;
}

BOOL CFile::GetStatus(const std::string& path, CFileStatus& status) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return FALSE;
    status.m_attribute = data.dwFileAttributes;
    status.m_size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return TRUE;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName,
                         DWORD flags, const char* filter, HWND owner)
    : m_open(openFileDialog),
      m_defaultExt(defaultExt ? defaultExt : ""),
      m_fileName(fileName ? fileName : ""),
      m_flags(flags),
      m_filter(filter ? filter : ""),
      m_owner(owner) {
    std::replace(m_filter.begin(), m_filter.end(), '|', '\0');
    m_filter.push_back('\0');
}

INT_PTR CFileDialog::DoModal() {
    std::vector<char> file(MAX_PATH * 4, '\0');
    m_fileName.copy(file.data(), file.size() - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_owner;
    ofn.lpstrFilter = m_filter.size() > 1 ? m_filter.c_str() : nullptr;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = m_defaultExt.empty() ? nullptr : m_defaultExt.c_str();
    ofn.Flags = m_flags | OFN_EXPLORER | OFN_ENABLESIZING;
    BOOL ok = FALSE;
    fw::RunSystemDialog(
        [&] { ok = m_open ? fw::GetOpenFileNameLate(&ofn) : fw::GetSaveFileNameLate(&ofn); });
    if (!ok) return IDCANCEL;
    m_path = file.data();
    return IDOK;
}
