#include "framework/Instance.h"

namespace {
HINSTANCE g_instance = nullptr;
}  // namespace

HINSTANCE AfxGetInstanceHandle() {
    return g_instance ? g_instance : ::GetModuleHandleA(nullptr);
}

void AfxSetInstanceHandle(HINSTANCE instance) {
    g_instance = instance;
}
