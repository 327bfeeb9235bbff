#pragma once
// Writes a minidump of the process next to the executable when an exception
// nobody handles ends it - a system exception or a C++ exception nobody
// caught: TallyscopeSettingAppEXE-YYYYMMDD-HHMMSS.dmp. When no dump can be
// written, the reason is left as text inside that file.
#include <windows.h>

namespace crashdump {

// The exception code a dump of an uncaught C++ exception carries, and the
// exit code of the process it ended.
constexpr DWORD kUncaughtCppException = 0xE0435050;  // 'CPP'

// Fills the name and folder buffers and installs the unhandled-exception
// filter and the C++ terminate handler. The program calls it from a static
// initialiser, before start-up.
void Arm();
// Copies folder (ending with a backslash) into the dump-folder buffer; null
// or an empty text keeps the folder it has (the dump would otherwise land in
// whatever the current folder is).
void SetFolder(const char* folder);
// The filter itself: 1 (handled, process ends) when a dump was written, else 0.
LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS* exception);

// Formats the dump file name suffix "-YYYYMMDD-HHMMSS" of a local time.
void FormatTimeSuffix(const SYSTEMTIME& time, char* out, size_t size);

}  // namespace crashdump
