#include "tools/emulator/ReplyFaults.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace {

std::size_t TotalBytes(const Reply& reply) {
    std::size_t total = 0;
    for (const ReplyChunk& chunk : reply) {
        total += chunk.bytes.size();
    }
    return total;
}

// Stops the reply half-way: the second half follows after `pause`.
Reply PauseInTheMiddle(Reply reply, std::chrono::microseconds pause) {
    const std::size_t cut = TotalBytes(reply) / 2;  // bytes before the pause
    Reply result;
    std::size_t sent = 0;
    bool paused = false;
    for (ReplyChunk& chunk : reply) {
        const std::size_t size = chunk.bytes.size();
        if (!paused && sent + size > cut) {
            const std::size_t head = cut - sent;
            if (head > 0) {
                result.push_back(ReplyChunk{chunk.delay, chunk.bytes.substr(0, head)});
                result.push_back(ReplyChunk{pause, chunk.bytes.substr(head)});
            } else {
                chunk.delay += pause;
                result.push_back(std::move(chunk));
            }
            paused = true;
        } else {
            result.push_back(std::move(chunk));
        }
        sent += size;
    }
    return result;
}

// Changes the last digit of the first line that has one (the echoed value of a setting, the
// second of a clock echo, the first of the factory values); without digits, the first letter.
Reply WrongEcho(Reply reply) {
    char* target = nullptr;
    for (ReplyChunk& chunk : reply) {
        for (char& c : chunk.bytes) {
            if (c == '\n' && target != nullptr) {
                break;
            }
            if (std::isdigit(static_cast<unsigned char>(c))) {
                target = &c;
            }
        }
        if (target != nullptr) {
            break;
        }
    }
    if (target != nullptr) {
        *target = static_cast<char>(*target == '9' ? '0' : *target + 1);
        return reply;
    }
    for (ReplyChunk& chunk : reply) {
        for (char& c : chunk.bytes) {
            if (std::isalpha(static_cast<unsigned char>(c))) {
                c = static_cast<char>(c == 'Z' ? 'A' : c == 'z' ? 'a' : c + 1);
                return reply;
            }
        }
    }
    return reply;
}

// The same number of bytes and the same timing, but meaningless: zero bytes, line ends at the
// wrong places and bytes above 0x7F included.
Reply Garbage(Reply reply) {
    std::uint32_t state = 0x1F2E3D4Cu;
    for (ReplyChunk& chunk : reply) {
        for (char& c : chunk.bytes) {
            state = state * 1103515245u + 12345u;
            c = static_cast<char>(state >> 23);
        }
    }
    return reply;
}

}  // namespace

Reply ApplyFault(EmulatorFault fault, Reply reply, std::chrono::microseconds pause) {
    switch (fault) {
        case EmulatorFault::NoAnswer:
            return {};
        case EmulatorFault::PauseMidReply:
            return PauseInTheMiddle(std::move(reply), pause);
        case EmulatorFault::WrongEcho:
            return WrongEcho(std::move(reply));
        case EmulatorFault::MissingEnd:
            // Replies are built with their closing line as the last piece.
            if (!reply.empty()) {
                reply.pop_back();
            }
            return reply;
        case EmulatorFault::Garbage:
            return Garbage(std::move(reply));
        case EmulatorFault::None:
        case EmulatorFault::HangUp:
            break;
    }
    return reply;
}
