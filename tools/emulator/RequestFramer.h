#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

// Cuts the byte stream from the program into requests by the reader's grammar: a command
// character followed by a fixed number of argument characters, or the key block
// "W\r\n" ... "\r\nX". A byte that starts no known request is a request of its own.
// Arguments may arrive in several reads; a request that stays incomplete for longer than the
// inter-byte time-out is abandoned. Not thread-safe: one owner feeds it.
class CRequestFramer {
public:
    using Clock = std::chrono::steady_clock;

    // Longest key block taken; a longer one is swallowed up to its end and dropped, so that a
    // runaway sender cannot make the emulator grow without bound.
    static constexpr std::size_t kMaxKeyBlock = 64 * 1024;

    explicit CRequestFramer(std::chrono::milliseconds interByteTimeout);

    // Takes one byte; returns the request it completes, if any.
    std::optional<std::string> Feed(char byte, Clock::time_point now);

    // Drops an incomplete request whose last byte is older than the time-out; returns the
    // abandoned bytes (empty optional when nothing was dropped).
    std::optional<std::string> Expire(Clock::time_point now);

    // When Expire will next have something to drop; nullopt while no request is pending.
    std::optional<Clock::time_point> Deadline() const;

    bool Pending() const { return !m_strPending.empty(); }

private:
    // Argument characters that follow a command character; -1 for the key block.
    static int ArgumentCount(unsigned char command);

    std::chrono::milliseconds m_interByteTimeout;
    std::string m_strPending;
    int m_nExpected = 0;       // bytes still missing; -1 inside a key block
    bool m_bOverflow = false;  // the pending key block outgrew kMaxKeyBlock
    Clock::time_point m_lastByte{};
};
