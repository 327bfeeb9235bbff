// Any command line: no crash, no overrun, and the language name never
// outgrows its buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CommandLineValues values;
    ParseCommandLine(std::string_view(reinterpret_cast<const char*>(data), size), values);
    if (values.languageIni.size() > kMaxLanguageIni) std::abort();
    if (values.settingFolder && values.settingFolder->size() > size) std::abort();
    return 0;
}
