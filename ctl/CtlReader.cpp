#include "ctl/CtlReader.h"

#include "ctl/CtlSignals.h"
#include "link/PortBackend.h"

namespace {
constexpr uint64_t kBitsPerByte = 10;
constexpr uint32_t kCeilingMarginMs = 60000;
}  // namespace

void CCtlReader::SetCeiling(unsigned baudRate) {
    const uint64_t wireMs = kMaxReplyBytes * kBitsPerByte * 1000 / (baudRate > 0 ? baudRate : 1);
    const uint64_t ceiling = wireMs + wireMs / 10 + m_timeoutMs.load() + kCeilingMarginMs;
    m_ceilingMs = static_cast<uint32_t>(std::min<uint64_t>(ceiling, UINT32_MAX / 2));
}

void CCtlReader::OnLineError(uint32_t errors) {
    CReaderProtocol::OnLineError(errors);
    if (errors != kErrDeviceGone) {
        m_lineErrors.fetch_add(1);
    }
}

void CCtlReader::OnRequest() {
    m_lineErrors.store(0);
    m_stop = Stop::None;
}

bool CCtlReader::StopWait(size_t bytes, uint32_t elapsedMs) {
    if (CCtlSignals::Caught() != 0) {
        m_stop = Stop::Signal;
    } else if (bytes > kMaxReplyBytes || (m_ceilingMs != 0 && elapsedMs > m_ceilingMs)) {
        m_stop = Stop::Ceiling;
    } else {
        return false;
    }
    m_stoppedBytes = bytes;
    m_stoppedMs = elapsedMs;
    return true;
}
