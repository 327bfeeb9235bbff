// Saves one camera's files over and over, alternating between two samples,
// until it is killed (or a minute has passed, so that it never outlives a
// test that died). Signals the named event after its first complete save.
// Usage: win_settings_probe <folder> <event name>
#include <windows.h>

#include "tests/win/settings/SaveSamples.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const CameraFiles files(argv[1]);
    KernelHandle started(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]));
    const ULONGLONG end = ::GetTickCount64() + 60000;
    for (unsigned i = 0; ::GetTickCount64() < end; ++i) {
        SaveCamera(files, i % 2 == 0 ? SampleNew() : SampleOld());
        if (i == 0 && started) ::SetEvent(started.get());
    }
    return 0;
}
