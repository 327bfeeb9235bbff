// artgen: draws the shipped skin pictures, Layout.ini, the height-tips picture and the program's
// resource pictures (arrows, tool buttons, cursors, icon). The output is committed, so the
// program's build never runs this; run it after changing the art, from the repository root:
//
//     cmake -S tools/artgen -B build/artgen -G Ninja && cmake --build build/artgen
//     build/artgen/artgen .            # rewrites resources/... and res/...
//     build/artgen/artgen_check        # checks the committed files (also part of ctest)
//
// The language files in resources/Lang are kept by hand (Windows-1252); artgen_check verifies them.
#include <cstdio>
#include <string>

#include "tools/artgen/Artwork.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <repository root>\n", argv[0]);
        return 2;
    }
    const auto files = artgen::GenerateAll();
    std::string error;
    if (!artgen::WriteAll(argv[1], files, error)) {
        std::fprintf(stderr, "artgen: %s\n", error.c_str());
        return 1;
    }
    for (const auto& file : files)
        std::printf("%s (%zu bytes)\n", file.path.c_str(), file.bytes.size());
    return 0;
}
