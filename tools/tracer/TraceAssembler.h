#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Puts the trace texts back together from the 4-byte pieces the program posts: each piece is
// a little-endian 32-bit value holding four characters, first character in the low byte; a
// zero byte ends a text, and the bytes after it in that piece mean nothing. A text whose
// length is a multiple of four simply goes on in the next piece. Where the program's pieces
// were refused by a full socket queue, a marker datagram tells how many bytes were lost.
class CTraceAssembler {
public:
    // Takes one datagram; returns the characters to show now, made safe for a terminal:
    // line feeds and tabs pass, other control bytes and bytes above 0x7E show as "<xx>".
    // A loss marker becomes a line of its own, "[N Bytes verworfen]". Any other datagram
    // that is not exactly four bytes long is ignored and counted.
    std::string Feed(const void* data, std::size_t size);
    std::string Feed(std::uint32_t piece);

    std::size_t TextsEnded() const { return m_nTexts; }
    std::size_t Ignored() const { return m_nIgnored; }

private:
    std::string LossLine(const unsigned char* marker);

    std::size_t m_nTexts = 0;
    std::size_t m_nIgnored = 0;
    bool m_bLineStart = true;  // the last character shown ended a line
};
