#include "protocol/ReplyJudgement.h"

#include <algorithm>

namespace {

// Removes every occurrence of what (one left-to-right pass); true if any was found.
bool RemoveAll(std::string& text, const std::string& what) {
    std::string result;
    bool found = false;
    size_t from = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
        result.append(text, from, at - from);
        from = at + what.size();
        found = true;
    }
    result.append(text, from, std::string::npos);
    text.swap(result);
    return found;
}

void RemoveChar(std::string& text, char c) {
    std::erase(text, c);
}

// Every carriage return, then every line feed.
std::string StripLineEnds(std::string text) {
    RemoveChar(text, '\r');
    RemoveChar(text, '\n');
    return text;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

std::string CReplyJudgement::Text(const Bytes& reply) {
    const auto zero = std::find(reply.begin(), reply.end(), uint8_t{0});
    return std::string(reply.begin(), zero);
}

bool CReplyJudgement::ReadClock(const Bytes& reply, std::string& text) {
    if (reply.size() < 16) {
        return false;
    }
    text = StripLineEnds(Text(reply));
    return true;
}

bool CReplyJudgement::SetClock(const Bytes& reply, const std::string& digits) {
    if (reply.size() < 16) {
        return false;
    }
    // The reader echoes the time it set, with separators between the fields.
    std::string echo = Text(reply);
    for (char c : {'.', ':', ' ', '\r', '\n'}) {
        RemoveChar(echo, c);
    }
    return echo.starts_with(digits);
}

bool CReplyJudgement::ReadRecords(const Bytes& reply, std::string& text) {
    text = Text(reply);
    return text.ends_with("END\r\n");
}

bool CReplyJudgement::EndsWithOk(const Bytes& reply) {
    // Judged on the raw bytes, so a zero byte in the progress stream does not matter.
    const size_t n = reply.size();
    return n > 4 && reply[n - 4] == 'O' && reply[n - 3] == 'K';
}

bool CReplyJudgement::ClearBuffer(const Bytes& reply) {
    return EndsWithOk(reply);
}

bool CReplyJudgement::MemoryTest(const Bytes& reply) {
    return EndsWithOk(reply);
}

bool CReplyJudgement::ReadParameters(const Bytes& reply, std::string& text) {
    text = Text(reply);
    return text.size() > 16;
}

bool CReplyJudgement::SetEchoed(const Bytes& reply, const std::string& arg, size_t minRaw,
                                const std::string& prefix, size_t tailLength) {
    if (reply.size() < minRaw) {
        return false;
    }
    const std::string text = StripLineEnds(Text(reply));
    // The whole argument is compared with a fixed-size tail, so a longer
    // argument is sent but never confirmed.
    const size_t tail = std::min(tailLength, text.size());
    return text.starts_with(prefix) && text.compare(text.size() - tail, tail, arg) == 0;
}

bool CReplyJudgement::SetId(const Bytes& reply, const std::string& id) {
    return SetEchoed(reply, id, 5, "ID:", 2);
}

bool CReplyJudgement::SetMode(const Bytes& reply, const std::string& digit) {
    return SetEchoed(reply, digit, 3, "M:", 1);
}

bool CReplyJudgement::SetNumberFormat(const Bytes& reply, const std::string& digit) {
    return SetEchoed(reply, digit, 3, "F:", 1);
}

bool CReplyJudgement::SetTimeFormat(const Bytes& reply, const std::string& digit) {
    return SetEchoed(reply, digit, 3, "U:", 1);
}

bool CReplyJudgement::SetTimingValue(const Bytes& reply, const std::string& prefix,
                                     const std::string& value) {
    if (reply.size() < 5) {
        return false;
    }
    const std::string text = StripLineEnds(Text(reply));
    return text.starts_with(prefix) && text.ends_with(value);
}

bool CReplyJudgement::ResetParameters(const Bytes& reply) {
    const std::string text = Text(reply);
    return text.find("V:003") != std::string::npos && text.find("Z:005") != std::string::npos &&
           text.find("H:010") != std::string::npos;
}

bool CReplyJudgement::ReadKeys(const Bytes& reply, std::string& text) {
    text = Text(reply);
    return UnframeKeyList(text);
}

bool CReplyJudgement::WriteKeys(const Bytes& reply) {
    std::string text = Text(reply);
    while (!text.empty() && IsLineEnd(text.back())) {
        text.pop_back();
    }
    const size_t start = text.find_first_not_of("\r\n");
    return start != std::string::npos && text.compare(start, std::string::npos, "OK") == 0;
}

std::string CReplyJudgement::KeyListRequest(std::string keyList) {
    while (!keyList.empty() && IsLineEnd(keyList.back())) {
        keyList.pop_back();
    }
    return "W\r\n" + keyList + "\r\nX";
}

bool CReplyJudgement::UnframeKeyList(std::string& text) {
    // The reader frames its list with an "S" line and an "X".
    const bool framedStart = RemoveAll(text, "S\r\n");
    const bool framedEnd = RemoveAll(text, "X");
    return framedStart && framedEnd;
}
