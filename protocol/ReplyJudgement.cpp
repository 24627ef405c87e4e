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
    return CJudgedReply(reply).TakeText();
}

bool CReplyJudgement::ReadClock(const CJudgedReply& reply, std::string& text) {
    if (reply.RawLength() < 16) {
        return false;
    }
    text = StripLineEnds(reply.TakeText());
    return true;
}

bool CReplyJudgement::SetClock(const CJudgedReply& reply, const std::string& digits) {
    if (reply.RawLength() < 16) {
        return false;
    }
    // The reader echoes the time it set, with separators between the fields.
    std::string echo = reply.TakeText();
    for (char c : {'.', ':', ' ', '\r', '\n'}) {
        RemoveChar(echo, c);
    }
    return echo.starts_with(digits);
}

bool CReplyJudgement::ReadRecords(const CJudgedReply& reply, std::string& text) {
    text = reply.TakeText();
    return text.ends_with("END\r\n");
}

bool CReplyJudgement::EndsWithOk(const CJudgedReply& reply) {
    // Judged on the raw bytes, so a zero byte in the progress stream does not matter.
    const std::vector<uint8_t>& raw = reply.Raw();
    const size_t n = raw.size();
    return n > 4 && raw[n - 4] == 'O' && raw[n - 3] == 'K';
}

bool CReplyJudgement::ClearBuffer(const CJudgedReply& reply) {
    return EndsWithOk(reply);
}

bool CReplyJudgement::MemoryTest(const CJudgedReply& reply) {
    return EndsWithOk(reply);
}

bool CReplyJudgement::ReadParameters(const CJudgedReply& reply, std::string& text) {
    text = reply.TakeText();
    return text.size() > 16;
}

bool CReplyJudgement::SetEchoed(const CJudgedReply& reply, const std::string& arg, size_t minRaw,
                                const std::string& prefix, size_t tailLength) {
    if (reply.RawLength() < minRaw) {
        return false;
    }
    const std::string text = StripLineEnds(reply.TakeText());
    // The whole argument is compared with a fixed-size tail, so a longer
    // argument is sent but never confirmed.
    const size_t tail = std::min(tailLength, text.size());
    return text.starts_with(prefix) && text.compare(text.size() - tail, tail, arg) == 0;
}

bool CReplyJudgement::SetId(const CJudgedReply& reply, const std::string& id) {
    return SetEchoed(reply, id, 5, "ID:", 2);
}

bool CReplyJudgement::SetMode(const CJudgedReply& reply, const std::string& digit) {
    return SetEchoed(reply, digit, 3, "M:", 1);
}

bool CReplyJudgement::SetNumberFormat(const CJudgedReply& reply, const std::string& digit) {
    return SetEchoed(reply, digit, 3, "F:", 1);
}

bool CReplyJudgement::SetTimeFormat(const CJudgedReply& reply, const std::string& digit) {
    return SetEchoed(reply, digit, 3, "U:", 1);
}

bool CReplyJudgement::SetTimingValue(const CJudgedReply& reply, const std::string& prefix,
                                     const std::string& value) {
    if (reply.RawLength() < 5) {
        return false;
    }
    const std::string text = StripLineEnds(reply.TakeText());
    return text.starts_with(prefix) && text.ends_with(value);
}

bool CReplyJudgement::ResetParameters(const CJudgedReply& reply) {
    const std::string text = reply.TakeText();
    return text.find("V:003") != std::string::npos && text.find("Z:005") != std::string::npos &&
           text.find("H:010") != std::string::npos;
}

bool CReplyJudgement::ReadKeys(const CJudgedReply& reply, std::string& text) {
    text = reply.TakeText();
    return UnframeKeyList(text);
}

bool CReplyJudgement::WriteKeys(const CJudgedReply& reply) {
    std::string text = reply.TakeText();
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
