// packzip FOLDER ARCHIVE: writes the folder's files as a reproducible zip.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/packzip/PackZip.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: packzip FOLDER ARCHIVE.zip\n");
        return 2;
    }
    std::vector<packzip::Entry> entries;
    std::string error;
    if (!packzip::ReadFolder(argv[1], entries, error)) {
        std::fprintf(stderr, "packzip: %s\n", error.c_str());
        return 1;
    }
    const std::vector<unsigned char> archive = packzip::BuildArchive(entries);
    if (archive.empty()) {
        std::fprintf(stderr, "packzip: %s is too large for a plain zip\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(archive.data()),
              static_cast<std::streamsize>(archive.size()));
    if (!out) {
        std::fprintf(stderr, "packzip: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("packzip: %s (%zu files, %zu bytes)\n", argv[2], entries.size(), archive.size());
    return 0;
}
