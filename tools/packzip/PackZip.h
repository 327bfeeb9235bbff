#pragma once
// Packs a program folder into a zip archive whose bytes depend only on the
// folder's contents: entries stored (not compressed) in sorted order with one
// fixed time stamp and no owner or access times, so two builds of the same
// tree give the same archive.
#include <cstdint>
#include <string>
#include <vector>

namespace packzip {

struct Entry {
    std::string name;  // relative path with '/' separators
    std::vector<unsigned char> bytes;
};

// The CRC-32 of the zip format.
uint32_t Crc32(const unsigned char* data, size_t size);

// The whole archive for these entries (in the order given); empty when an
// entry or the archive is too large for a zip without the 64-bit extension.
std::vector<unsigned char> BuildArchive(const std::vector<Entry>& entries);

// Every file below `folder`, sorted by name; false with a reason on failure.
bool ReadFolder(const std::string& folder, std::vector<Entry>& entries, std::string& error);

}  // namespace packzip
