#include "framework/LateImports.h"

namespace fw {
namespace {

// The function from the system's DLL (loaded once, kept for the process's life).
template <typename Function>
Function Find(const char* dll, const char* name) {
    const HMODULE module = ::LoadLibraryA(dll);
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

BOOL GetOpenFileNameLate(OPENFILENAMEA* ofn) {
    static const auto call =
        Find<BOOL(WINAPI*)(OPENFILENAMEA*)>("comdlg32.dll", "GetOpenFileNameA");
    return call ? call(ofn) : FALSE;
}

BOOL GetSaveFileNameLate(OPENFILENAMEA* ofn) {
    static const auto call =
        Find<BOOL(WINAPI*)(OPENFILENAMEA*)>("comdlg32.dll", "GetSaveFileNameA");
    return call ? call(ofn) : FALSE;
}

BOOL ChooseColorLate(CHOOSECOLORA* choose) {
    static const auto call = Find<BOOL(WINAPI*)(CHOOSECOLORA*)>("comdlg32.dll", "ChooseColorA");
    return call ? call(choose) : FALSE;
}

HINSTANCE ShellExecuteLate(HWND owner, const char* verb, const char* file, const char* parameters,
                           const char* folder, int show) {
    using Function = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const auto call = Find<Function>("shell32.dll", "ShellExecuteA");
    // SE_ERR_DLLNOTFOUND, as ShellExecute says when a DLL it needs is missing.
    return call ? call(owner, verb, file, parameters, folder, show)
                : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(32));
}

}  // namespace fw
