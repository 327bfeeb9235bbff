#include "tools/packzip/PackZip.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace packzip {

namespace {

// 2000-01-01 00:00:00 in MS-DOS date and time fields.
constexpr uint16_t kDosTime = 0;
constexpr uint16_t kDosDate = ((2000 - 1980) << 9) | (1 << 5) | 1;
constexpr uint16_t kVersion = 20;  // 2.0: stored entries in folders

void Put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32(std::vector<unsigned char>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

uint32_t Crc32(const unsigned char* data, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::vector<unsigned char> BuildArchive(const std::vector<Entry>& entries) {
    constexpr uint64_t kLimit = std::numeric_limits<uint32_t>::max();
    if (entries.size() >= 0xFFFF) return {};
    std::vector<unsigned char> out;
    std::vector<unsigned char> directory;
    for (const Entry& entry : entries) {
        if (entry.name.empty() || entry.name.size() >= 0xFFFF || entry.bytes.size() >= kLimit ||
            out.size() >= kLimit)
            return {};
        const uint32_t crc = Crc32(entry.bytes.data(), entry.bytes.size());
        const uint32_t size = static_cast<uint32_t>(entry.bytes.size());
        const uint32_t offset = static_cast<uint32_t>(out.size());
        auto header = [&](std::vector<unsigned char>& to, bool central) {
            Put32(to, central ? 0x02014b50 : 0x04034b50);
            if (central) Put16(to, kVersion);  // made by: MS-DOS attributes
            Put16(to, kVersion);               // needed to extract
            Put16(to, 0);                      // flags
            Put16(to, 0);                      // stored
            Put16(to, kDosTime);
            Put16(to, kDosDate);
            Put32(to, crc);
            Put32(to, size);
            Put32(to, size);
            Put16(to, static_cast<uint32_t>(entry.name.size()));
            Put16(to, 0);  // no extra fields: no owners, no access times
            if (central) {
                Put16(to, 0);  // comment
                Put16(to, 0);  // disk
                Put16(to, 0);  // internal attributes
                Put32(to, 0);  // external attributes
                Put32(to, offset);
            }
            to.insert(to.end(), entry.name.begin(), entry.name.end());
        };
        header(out, false);
        out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());
        header(directory, true);
    }
    if (out.size() + directory.size() >= kLimit) return {};
    const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}

bool ReadFolder(const std::string& folder, std::vector<Entry>& entries, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path root(folder);
    if (!fs::is_directory(root, ec)) {
        error = "not a folder: " + folder;
        return false;
    }
    entries.clear();
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::ifstream in(it->path(), std::ios::binary);
        if (!in) {
            error = "cannot read " + it->path().string();
            return false;
        }
        Entry entry;
        entry.name = fs::relative(it->path(), root, ec).generic_string();
        entry.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        entries.push_back(std::move(entry));
    }
    if (ec) {
        error = "cannot list " + folder + ": " + ec.message();
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return true;
}

}  // namespace packzip
