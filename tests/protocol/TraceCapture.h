#pragma once

#include <string>
#include <vector>

// While an object of this class lives, every datagram the trace sends is
// recorded whole and counts as delivered, so that a text longer than the
// viewer's socket queue can be seen entire. The test program's own sendto
// stands in for the C library's to do this; it hands everything else on.
class CTraceCapture {
public:
    CTraceCapture();
    ~CTraceCapture();
    CTraceCapture(const CTraceCapture&) = delete;
    CTraceCapture& operator=(const CTraceCapture&) = delete;

    // Each datagram as its bytes, in the order sent.
    std::vector<std::string> Pieces() const;
};
