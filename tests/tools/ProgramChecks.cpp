#include "ProgramChecks.h"

namespace checks {

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool StartsWith(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}

std::string Without(std::string text, const std::string& what, bool& found) {
    found = false;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what)) {
        text.erase(pos, what.size());
        found = true;
    }
    return text;
}

std::string RemoveChars(std::string text, const std::string& chars) {
    std::string result;
    for (char c : text) {
        if (chars.find(c) == std::string::npos) {
            result += c;
        }
    }
    return result;
}

}  // namespace

std::string StripLineEnds(std::string text) {
    return RemoveChars(std::move(text), "\r\n");
}

std::string Text(const std::string& raw) {
    return raw.substr(0, raw.find('\0'));
}

bool ClockRead(const std::string& raw) {
    return raw.size() >= 16;
}

bool ClockSet(const std::string& raw, const std::string& digits) {
    return raw.size() >= 16 && StartsWith(RemoveChars(Text(raw), ".: \r\n"), digits);
}

bool RecordsRead(const std::string& raw) {
    return EndsWith(Text(raw), "END\r\n");
}

bool ProgressDone(const std::string& raw) {
    const std::size_t n = raw.size();
    return n > 4 && raw[n - 4] == 'O' && raw[n - 3] == 'K';
}

bool ParametersRead(const std::string& raw) {
    return Text(raw).size() > 16;
}

bool IdSet(const std::string& raw, const std::string& id) {
    const std::string text = StripLineEnds(Text(raw));
    return raw.size() >= 5 && StartsWith(text, "ID:") && text.size() >= 2 &&
           text.substr(text.size() - 2) == id;
}

bool DigitSet(const std::string& raw, const std::string& prefix, const std::string& digit) {
    const std::string text = StripLineEnds(Text(raw));
    return raw.size() >= 3 && StartsWith(text, prefix) && !text.empty() &&
           text.substr(text.size() - 1) == digit;
}

bool TimingSet(const std::string& raw, const std::string& prefix, const std::string& value) {
    const std::string text = StripLineEnds(Text(raw));
    return raw.size() >= 5 && StartsWith(text, prefix) && EndsWith(text, value);
}

bool ResetDone(const std::string& raw, std::size_t seen) {
    const std::string text = Text(raw.substr(0, seen));
    return raw.size() >= 20 && text.find("V:003") != std::string::npos &&
           text.find("Z:005") != std::string::npos && text.find("H:010") != std::string::npos;
}

bool KeysRead(const std::string& raw, std::string& keys) {
    bool foundStart = false;
    bool foundEnd = false;
    keys = Without(Without(Text(raw), "S\r\n", foundStart), "X", foundEnd);
    return foundStart && foundEnd;
}

bool KeysWritten(const std::string& raw) {
    std::string text = Text(raw.substr(0, 4));
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
        text.pop_back();
    }
    while (!text.empty() && (text.front() == '\r' || text.front() == '\n')) {
        text.erase(0, 1);
    }
    return text == "OK";
}

}  // namespace checks
