#include "tools/tracer/TraceAssembler.h"

#include "protocol/Trace.h"

std::string CTraceAssembler::Feed(const void* data, std::size_t size) {
    if (size == kTraceMarkerSize) {
        return LossLine(static_cast<const unsigned char*>(data));
    }
    if (size != 4) {
        ++m_nIgnored;
        return {};
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    const std::uint32_t piece =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return Feed(piece);
}

std::string CTraceAssembler::Feed(std::uint32_t piece) {
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const auto b = static_cast<unsigned char>(piece >> (8 * i));
        if (b == 0) {
            ++m_nTexts;
            break;
        }
        if (b == '\n' || b == '\t' || (b >= 0x20 && b < 0x7F)) {
            text += static_cast<char>(b);
        } else {
            text += '<';
            text += kHex[b >> 4];
            text += kHex[b & 0x0F];
            text += '>';
        }
    }
    if (!text.empty()) {
        m_bLineStart = text.back() == '\n';
    }
    return text;
}

std::string CTraceAssembler::LossLine(const unsigned char* marker) {
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < kTraceMarkerSize; ++i) {
        count |= static_cast<std::uint64_t>(marker[i]) << (8 * i);
    }
    std::string line = m_bLineStart ? "" : "\n";
    line += "[" + std::to_string(count) + " Bytes verworfen]\n";
    m_bLineStart = true;
    return line;
}
