#pragma once
// One named shared-memory block of the host link. The host creates the file
// mapping; this program opens it by name on first use, maps it and keeps the
// view until Release() or destruction. A block that cannot be opened - or
// that opens but cannot be mapped - tells the user with the block's own
// message on every attempt (unless that message is still on the screen), and
// the next attempt tries again.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "framework/Handles.h"

namespace hostlink {

enum class HostBlock { Image, RectImage, PatternFeature, CountingLine, CameraAngle };

class SharedBlock {
  public:
    explicit SharedBlock(HostBlock which);
    // Any named mapping with its own failure text.
    SharedBlock(const char* name, const char* failureText);
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;
    ~SharedBlock() { Release(); }

    // The mapped bytes; on first use opens the mapping (all access, not
    // inherited) and maps `bytes` from offset 0. Once open, returns the same
    // view whatever `bytes` says: callers check later sizes against
    // MappedBytes(). Returns null after showing the failure text when the
    // block is missing or cannot be mapped; a request for 0 bytes (which
    // would map the whole object) or more than the address space holds is
    // treated as a mapping that cannot be made.
    unsigned char* Open(uint64_t bytes);

    bool IsOpen() const { return m_view.valid(); }
    unsigned char* Data() const { return static_cast<unsigned char*>(m_view.get()); }
    // Bytes asked for when the view was mapped (0 while closed).
    std::size_t MappedBytes() const { return m_mappedBytes; }
    // Bytes actually readable at Data(): the region VirtualQuery reports for
    // the view (page-rounded, at least MappedBytes()); 0 while closed.
    std::size_t RegionBytes() const;

    // Unmaps the view, then closes the mapping handle. Safe to call twice.
    void Release();

    const char* Name() const { return m_name; }
    const char* FailureText() const { return m_failureText; }

  private:
    void ReportFailure() const;

    const char* m_name;
    const char* m_failureText;
    KernelHandle m_mapping;  // declared before the view: destroyed after it
    MappedView m_view;
    std::size_t m_mappedBytes = 0;
};

// Test seam: where open failures are reported. The default (or nullptr)
// shows AfxMessageBox(text, MB_OK), which shows no second box of a text that
// is on the screen already; Windows tests capture the texts instead.
using BlockFailureSink = void (*)(const char* text);
void SetBlockFailureSink(BlockFailureSink sink);

}  // namespace hostlink
