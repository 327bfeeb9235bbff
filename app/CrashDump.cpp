#include "app/CrashDump.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace crashdump {
namespace {

// Filled during static initialisation (and by start-up); read by the filter,
// which may run on any thread and uses nothing else but its own stack.
char g_dumpName[MAX_PATH] = "TallyscopeSettingAppEXE";
char g_dumpFolder[MAX_PATH] = "";

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, int, void*, void*, void*);

// Same layout as MINIDUMP_EXCEPTION_INFORMATION (packed to 4 bytes like dbghelp's).
#pragma pack(push, 4)
struct DumpExceptionInformation {
    DWORD threadId;
    EXCEPTION_POINTERS* exceptionPointers;
    BOOL clientPointers;
};
#pragma pack(pop)

void CopyText(char* to, size_t size, const char* from) {
    if (!from || size == 0) return;
    std::snprintf(to, size, "%s", from);
}

HMODULE LoadDebugHelp() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        char* slash = std::strrchr(path, '\\');
        if (slash && static_cast<size_t>(slash + 1 - path) + sizeof("DBGHELP.DLL") <= MAX_PATH) {
            std::strcpy(slash + 1, "DBGHELP.DLL");
            if (HMODULE module = ::LoadLibraryA(path)) return module;
        }
    }
    return ::LoadLibraryA("DBGHELP.DLL");
}

// A C++ exception nobody caught ends up here (so does anything else that
// calls std::terminate): it is written down like any other crash.
[[noreturn]] void OnTerminate() {
    CONTEXT context{};
    ::RtlCaptureContext(&context);
    EXCEPTION_RECORD record{};
    record.ExceptionCode = kUncaughtCppException;
    record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
#ifdef _WIN64
    record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
#else
    record.ExceptionAddress = reinterpret_cast<void*>(context.Eip);
#endif
    EXCEPTION_POINTERS pointers{&record, &context};
    crashdump::UnhandledExceptionFilter(&pointers);
    ::TerminateProcess(::GetCurrentProcess(), kUncaughtCppException);
    ::ExitProcess(kUncaughtCppException);
}

}  // namespace

void FormatTimeSuffix(const SYSTEMTIME& time, char* out, size_t size) {
    std::snprintf(out, size, "-%04d%02d%02d-%02d%02d%02d", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond);
}

void SetFolder(const char* folder) {
    if (folder && *folder) CopyText(g_dumpFolder, sizeof g_dumpFolder, folder);
}

void Arm() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = (length > 0 && length < MAX_PATH) ? std::strrchr(path, '\\') : nullptr;
    if (slash) {
        slash[1] = '\0';
        CopyText(g_dumpFolder, sizeof g_dumpFolder, path);
    } else {
        ::GetTempPathA(MAX_PATH, g_dumpFolder);
    }
    ::SetUnhandledExceptionFilter(&UnhandledExceptionFilter);
    std::set_terminate(&OnTerminate);
}

LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS* exception) {
    HMODULE debugHelp = LoadDebugHelp();  // never freed: the process is ending

    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char suffix[32];
    FormatTimeSuffix(now, suffix, sizeof suffix);
    char dumpPath[MAX_PATH * 2];
    std::snprintf(dumpPath, sizeof dumpPath, "%s%s%s.dmp", g_dumpFolder, g_dumpName, suffix);

    HANDLE file = ::CreateFileA(dumpPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    char message[MAX_PATH * 3];
    message[0] = '\0';
    if (!debugHelp) {
        CopyText(message, sizeof message, "DBGHELP.DLL not found");
    } else {
        auto writeDump = reinterpret_cast<MiniDumpWriteDumpFn>(
            reinterpret_cast<void*>(::GetProcAddress(debugHelp, "MiniDumpWriteDump")));
        if (!writeDump) {
            CopyText(message, sizeof message, "DBGHELP.DLL too old");
        } else if (file == INVALID_HANDLE_VALUE) {
            std::snprintf(message, sizeof message, "Failed to create dump file '%s' (error %lu)",
                          dumpPath, ::GetLastError());
        } else {
            DumpExceptionInformation info{::GetCurrentThreadId(), exception, FALSE};
            if (writeDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file,
                          0 /* MiniDumpNormal */, &info, nullptr, nullptr)) {
                ::CloseHandle(file);
                return EXCEPTION_EXECUTE_HANDLER;
            }
            std::snprintf(message, sizeof message, "Failed to save dump file to '%s' (error %lu)",
                          dumpPath, ::GetLastError());
        }
    }
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, message, static_cast<DWORD>(std::strlen(message)), &written, nullptr);
        ::CloseHandle(file);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace crashdump
