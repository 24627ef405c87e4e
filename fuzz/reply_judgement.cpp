// Reply judgements of every reader command on arbitrary replies: no crash or
// undefined behaviour, and each verdict and out text agrees with what the
// reply holds.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "protocol/ReplyJudgement.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kUntouched = "untouched";

enum Command {
    kReadClock,
    kSetClock,
    kReadRecords,
    kClearBuffer,
    kMemoryTest,
    kReadParameters,
    kSetId,
    kSetMode,
    kSetNumberFormat,
    kSetTimeFormat,
    kSetTimingValue,
    kResetParameters,
    kReadKeys,
    kWriteKeys,
    kCommandCount
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string WithoutLineEnds(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c != '\r' && c != '\n') {
            result += c;
        }
    }
    return result;
}

// True when part appears in text in order, possibly with other characters between.
bool IsSubsequence(const std::string& part, const std::string& text) {
    size_t at = 0;
    for (char c : text) {
        if (at < part.size() && part[at] == c) {
            ++at;
        }
    }
    return at == part.size();
}

// The echo family: the verdict needs the prefix, the raw length, and the
// argument (no longer than the compared tail) at the end of the text.
void CheckEchoed(bool verdict, const Bytes& reply, const std::string& text, const std::string& arg,
                 size_t minRaw, const std::string& prefix, size_t tailLength) {
    if (!verdict) {
        return;
    }
    const std::string stripped = WithoutLineEnds(text);
    FuzzCheck(reply.size() >= minRaw);
    FuzzCheck(stripped.starts_with(prefix));
    FuzzCheck(!arg.empty() && arg.size() <= tailLength && stripped.ends_with(arg));
}

}  // namespace

// Byte 0 picks the command, byte 1 the length of its argument, which follows;
// the rest is the reply.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const int command = data[0] % kCommandCount;
    const size_t argLength = std::min<size_t>(data[1] % 16, size - 2);
    const std::string arg(reinterpret_cast<const char*>(data + 2), argLength);
    const Bytes reply(data + 2 + argLength, data + size);

    const std::string text(reply.begin(), std::find(reply.begin(), reply.end(), uint8_t{0}));
    FuzzCheck(CReplyJudgement::Text(reply) == text);

    std::string out = kUntouched;
    bool verdict = false;
    switch (command) {
        case kReadClock:
            verdict = CReplyJudgement::ReadClock(reply, out);
            FuzzCheck(verdict == (reply.size() >= 16));
            FuzzCheck(verdict ? out == WithoutLineEnds(text) : out == kUntouched);
            break;
        case kSetClock:
            verdict = CReplyJudgement::SetClock(reply, arg);
            if (verdict) {
                // The echo holds the digits in order; separators are never part of them.
                FuzzCheck(reply.size() >= 16 && IsSubsequence(arg, text));
                FuzzCheck(arg.find_first_of(".: \r\n") == std::string::npos);
            }
            break;
        case kReadRecords:
            verdict = CReplyJudgement::ReadRecords(reply, out);
            FuzzCheck(out == text && verdict == text.ends_with("END\r\n"));
            break;
        case kClearBuffer:
        case kMemoryTest:
            verdict = command == kClearBuffer ? CReplyJudgement::ClearBuffer(reply)
                                              : CReplyJudgement::MemoryTest(reply);
            FuzzCheck(!verdict || (reply.size() > 4 &&
                                   Contains(std::string(reply.end() - 4, reply.end()), "OK")));
            break;
        case kReadParameters:
            verdict = CReplyJudgement::ReadParameters(reply, out);
            FuzzCheck(out == text && verdict == (text.size() > 16));
            break;
        case kSetId:
            verdict = CReplyJudgement::SetId(reply, arg);
            CheckEchoed(verdict, reply, text, arg, 5, "ID:", 2);
            break;
        case kSetMode:
            verdict = CReplyJudgement::SetMode(reply, arg);
            CheckEchoed(verdict, reply, text, arg, 3, "M:", 1);
            break;
        case kSetNumberFormat:
            verdict = CReplyJudgement::SetNumberFormat(reply, arg);
            CheckEchoed(verdict, reply, text, arg, 3, "F:", 1);
            break;
        case kSetTimeFormat:
            verdict = CReplyJudgement::SetTimeFormat(reply, arg);
            CheckEchoed(verdict, reply, text, arg, 3, "U:", 1);
            break;
        case kSetTimingValue: {
            const std::string prefix = arg.substr(0, 1);
            const std::string value = arg.substr(prefix.size());
            verdict = CReplyJudgement::SetTimingValue(reply, prefix, value);
            const std::string stripped = WithoutLineEnds(text);
            FuzzCheck(!verdict || (reply.size() >= 5 && stripped.starts_with(prefix) &&
                                   stripped.ends_with(value)));
            break;
        }
        case kResetParameters:
            verdict = CReplyJudgement::ResetParameters(reply);
            FuzzCheck(verdict == (Contains(text, "V:003") && Contains(text, "Z:005") &&
                                  Contains(text, "H:010")));
            break;
        case kReadKeys:
            verdict = CReplyJudgement::ReadKeys(reply, out);
            FuzzCheck(out.find('X') == std::string::npos && out.size() <= text.size());
            FuzzCheck(!verdict || (Contains(text, "S\r\n") && Contains(text, "X")));
            break;
        case kWriteKeys: {
            verdict = CReplyJudgement::WriteKeys(reply);
            const size_t first = text.find_first_not_of("\r\n");
            const size_t last = text.find_last_not_of("\r\n");
            const bool okLine =
                first != std::string::npos && text.substr(first, last - first + 1) == "OK";
            FuzzCheck(verdict == okLine);
            break;
        }
    }
    FuzzCheck(out.find('\0') == std::string::npos);
    return 0;
}
