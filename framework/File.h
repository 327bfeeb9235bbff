#pragma once
// Raw file access in the framework's style: open flags, read/write, status and
// an error text for failures.
#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Handles.h"

// Error of a failed CFile::Open: the system error code and its text.
struct CFileException {
    DWORD m_lOsError = 0;
    // The system's text for the failure (at most maxChars characters).
    std::string GetErrorMessage(size_t maxChars = 1024) const;
};

struct CFileStatus {
    int64_t m_size = 0;
    DWORD m_attribute = 0;
};

class CFile {
  public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,  // create, or truncate an existing file
        typeBinary = 0x8000,  // accepted for readability; every file is binary
        shareDenyNone = 0x0040,
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    ~CFile() = default;

    // Opens the file; on failure fills error (if given) and returns FALSE.
    BOOL Open(const std::string& path, unsigned flags, CFileException* error = nullptr);
    // Reads up to count bytes; returns the number read (0 at the end or on error).
    UINT Read(void* buffer, UINT count);
    // Writes count bytes; returns FALSE if not all of them were written.
    BOOL Write(const void* buffer, UINT count);
    void Close() { m_file.reset(); }
    bool IsOpen() const { return m_file.valid(); }
    int64_t GetLength() const;

    // Status of the file at path (size, attributes); FALSE when there is none.
    static BOOL GetStatus(const std::string& path, CFileStatus& status);

  private:
    FileHandle m_file;
};

// The common file-open dialog; filter in the framework's "Text (*.x)|*.x||" form.
class CFileDialog {
  public:
    CFileDialog(BOOL openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                const char* filter, HWND owner);
    INT_PTR DoModal();  // IDOK or IDCANCEL
    std::string GetPathName() const { return m_path; }

  private:
    BOOL m_open;
    std::string m_defaultExt;
    std::string m_fileName;
    DWORD m_flags;
    std::string m_filter;  // with '|' replaced by NUL characters
    HWND m_owner;
    std::string m_path;
};
