#pragma once
// Files for the stand-in host and the tests: a new, empty folder of its own
// under the temporary folder, removed with everything in it when it goes, and
// whole-file reads and writes.
#include <optional>
#include <string>
#include <vector>

namespace hostsim {

class ScratchFolder {
  public:
    // Windows process ids are reused quickly (and tests run side by side), so
    // the name also carries a counter and a clock reading, and a folder that
    // already exists is never taken. path() is empty when none could be made.
    explicit ScratchFolder(const char* prefix = "tallyscope-test-");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return m_path; }  // without a trailing backslash
    std::string File(const std::string& relative) const { return m_path + "\\" + relative; }
    // Writes a file below the folder, creating its folders; returns its path.
    std::string Write(const std::string& relative, const std::string& bytes) const;
    void Keep() { m_keep = true; }  // for looking at a failure afterwards

    // Names of everything below `folder`, relative to it, sorted.
    static std::vector<std::string> List(const std::string& folder);
    static void RemoveTree(const std::string& folder);

  private:
    std::string m_path;
    bool m_keep = false;
};

// Creates or replaces the file at path with exactly these bytes.
bool WriteWholeFile(const std::string& path, const void* data, std::size_t size);
// The file's bytes; nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace hostsim
