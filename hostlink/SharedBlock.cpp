#include "hostlink/SharedBlock.h"

#include <limits>

#include "framework/WinApp.h"
#include "hostlink/HostMessages.h"

namespace hostlink {

namespace {

BlockFailureSink g_failureSink = nullptr;

struct BlockNames {
    const char* name;
    const char* failureText;
};

BlockNames NamesOf(HostBlock which) {
    switch (which) {
        case HostBlock::Image:
            return {kImageBlockName, kImageBlockFailedText};
        case HostBlock::RectImage:
            return {kRectImageBlockName, kImageBlockFailedText};
        case HostBlock::PatternFeature:
            return {kPatternFeatureBlockName, kPatternFeatureBlockFailedText};
        case HostBlock::CountingLine:
            return {kCountingLineBlockName, kCountingLineBlockFailedText};
        case HostBlock::CameraAngle:
            break;
    }
    return {kCameraAngleBlockName, kCameraAngleBlockFailedText};
}

}  // namespace

void SetBlockFailureSink(BlockFailureSink sink) {
    g_failureSink = sink;
}

SharedBlock::SharedBlock(HostBlock which)
    : SharedBlock(NamesOf(which).name, NamesOf(which).failureText) {}

SharedBlock::SharedBlock(const char* name, const char* failureText)
    : m_name(name), m_failureText(failureText) {}

unsigned char* SharedBlock::Open(uint64_t bytes) {
    if (IsOpen()) return Data();

    if (bytes == 0 || bytes > std::numeric_limits<SIZE_T>::max()) {
        ReportFailure();
        return nullptr;
    }
    KernelHandle mapping(::OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, m_name));
    if (!mapping) {
        ReportFailure();
        return nullptr;
    }
    MappedView view(
        ::MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, static_cast<SIZE_T>(bytes)));
    if (!view) {
        // Opened but not mapped counts as not opened: `mapping` closes here
        // and the next attempt starts from scratch.
        ReportFailure();
        return nullptr;
    }
    m_mapping = std::move(mapping);
    m_view = std::move(view);
    m_mappedBytes = static_cast<std::size_t>(bytes);
    return Data();
}

std::size_t SharedBlock::RegionBytes() const {
    if (!IsOpen()) return 0;
    MEMORY_BASIC_INFORMATION info{};
    if (::VirtualQuery(m_view.get(), &info, sizeof info) != sizeof info) return m_mappedBytes;
    return info.RegionSize;
}

void SharedBlock::Release() {
    m_view.reset();     // UnmapViewOfFile first,
    m_mapping.reset();  // then CloseHandle.
    m_mappedBytes = 0;
}

void SharedBlock::ReportFailure() const {
    if (g_failureSink) {
        g_failureSink(m_failureText);
    } else {
        AfxMessageBox(m_failureText, MB_OK);
    }
}

}  // namespace hostlink
