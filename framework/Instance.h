#pragma once
// The module whose resources and window classes the program uses: the
// program file itself unless start-up names another.
#include <windows.h>

HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE instance);
