#pragma once
// Writes a minidump of the process next to the executable when an exception
// nobody handles ends it: TallyscopeSettingAppEXE-YYYYMMDD-HHMMSS.dmp. When no
// dump can be written, the reason is left as text inside that file.
#include <windows.h>

namespace crashdump {

// Fills the name and folder buffers and installs the unhandled-exception
// filter. The program calls it from a static initialiser, before start-up.
void Arm();
// Copies folder (ending with a backslash) into the dump-folder buffer; null keeps it.
void SetFolder(const char* folder);
// The filter itself: 1 (handled, process ends) when a dump was written, else 0.
LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS* exception);

// Formats the dump file name suffix "-YYYYMMDD-HHMMSS" of a local time.
void FormatTimeSuffix(const SYSTEMTIME& time, char* out, size_t size);

}  // namespace crashdump
