#include "protocol/ReaderProtocol.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "protocol/Tick.h"
#include "protocol/Trace.h"
#include "protocol/UserInterface.h"

namespace {
// During this long after a guarded request the silence rule cannot end the wait.
constexpr uint32_t kAnswerGraceMs = 6000;
constexpr size_t kResetReplyBytes = 20;
constexpr size_t kWriteKeysReplyBytes = 4;

void SleepStep() {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

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

CReaderProtocol::CReaderProtocol() = default;

CReaderProtocol::~CReaderProtocol() {
    // Stop the monitor thread while every member still exists: no byte may
    // reach OnByteReceived of a half-destroyed object.
    Close();
}

void CReaderProtocol::ClearReply() {
    std::lock_guard lock(m_replyMutex);
    m_reply.clear();
    m_replyCount.store(0);
}

void CReaderProtocol::MarkActivity() {
    m_lastActivity.store(GetTickCount());
}

bool CReaderProtocol::ReplyComplete() {
    const uint32_t now = GetTickCount();
    // Unsigned difference: the wrap-around of the tick counter is harmless.
    if (static_cast<uint32_t>(now - m_lastActivity.load()) > m_timeoutMs.load()) {
        return true;
    }
    SleepStep();
    PumpMessages();
    return false;
}

std::vector<uint8_t> CReaderProtocol::Reply() const {
    std::lock_guard lock(m_replyMutex);
    return m_reply;
}

size_t CReaderProtocol::ReplySize() const {
    return m_replyCount.load();
}

std::string CReaderProtocol::ReplyText() const {
    std::lock_guard lock(m_replyMutex);
    std::string text(m_reply.begin(), m_reply.end());
    const size_t zero = text.find('\0');
    if (zero != std::string::npos) {
        text.resize(zero);
    }
    return text;
}

void CReaderProtocol::OnByteReceived(uint8_t byte) {
    // Trace and hook run without the buffer lock: a hook may wait for the UI
    // thread, which may itself be waiting for the lock in ClearReply.
    if (m_replyCount.load() == 0) {
        Trace("\nRead: ");
    }
    if (byte >= 0x20 && byte <= 0x7F) {
        Trace("%c", byte);
    } else {
        Trace("<%02x>", byte);
        if (byte == 0x0A) {
            Trace("%c", byte);
        }
    }
    if (ByteHook hook = m_pfnByteHook.load(); hook != nullptr) {
        hook(byte);
    }
    m_lastActivity.store(GetTickCount());
    std::lock_guard lock(m_replyMutex);
    m_reply.push_back(byte);
    m_replyCount.store(m_reply.size());
}

bool CReaderProtocol::Send(const std::string& request, Cursor cursor) {
    if (cursor == Cursor::Busy) {
        UserInterface().BeginWaitCursor();
    }
    ClearReply();
    if (!Write(request.c_str(), kWholeText)) {
        if (cursor == Cursor::Busy) {
            UserInterface().EndWaitCursor();
        }
        return false;
    }
    SleepStep();
    return true;
}

void CReaderProtocol::WaitPlain(Cursor cursor) {
    MarkActivity();
    while (!ReplyComplete()) {
        if (cursor == Cursor::Busy) {
            UserInterface().RestoreWaitCursor();
        }
    }
}

void CReaderProtocol::WaitGuarded(size_t minBytes) {
    const uint32_t start = GetTickCount();
    MarkActivity();
    if (ReplyComplete()) {
        return;
    }
    for (;;) {
        if (static_cast<uint32_t>(GetTickCount() - start) < kAnswerGraceMs) {
            MarkActivity();
        }
        UserInterface().RestoreWaitCursor();
        if (ReplySize() >= minBytes || ReplyComplete()) {
            return;
        }
    }
}

bool CReaderProtocol::Transact(const std::string& request, Cursor cursor) {
    if (!Send(request, cursor)) {
        return false;
    }
    WaitPlain(cursor);
    return true;
}

bool CReaderProtocol::ReadClock(std::string& text) {
    if (!Transact("R", Cursor::None)) {
        return false;
    }
    if (ReplySize() < 16) {
        return false;
    }
    text = StripLineEnds(ReplyText());
    return true;
}

bool CReaderProtocol::SetClock(const std::string& digits) {
    if (digits.size() < 12) {
        return false;
    }
    if (!Transact("S" + digits, Cursor::Busy)) {
        return false;
    }
    bool ok = false;
    if (ReplySize() >= 16) {
        // The reader echoes the time it set, with separators between the fields.
        std::string echo = ReplyText();
        for (char c : {'.', ':', ' ', '\r', '\n'}) {
            RemoveChar(echo, c);
        }
        ok = echo.starts_with(digits);
    }
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::ReadRecords(std::string& text) {
    const bool sent = Transact("L", Cursor::Busy);
    text = ReplyText();
    if (!sent) {
        return false;
    }
    UserInterface().EndWaitCursor();
    return text.ends_with("END\r\n");
}

bool CReaderProtocol::ClearBuffer() {
    if (!Transact("C", Cursor::Busy)) {
        return false;
    }
    // Progress bytes, then "OK\r\n": judged on the raw bytes, so a zero byte
    // in the progress stream does not matter.
    const std::vector<uint8_t> reply = Reply();
    const size_t n = reply.size();
    UserInterface().EndWaitCursor();
    return n > 4 && reply[n - 4] == 'O' && reply[n - 3] == 'K';
}

bool CReaderProtocol::MemoryTest() {
    if (!Transact("\xC8", Cursor::Busy)) {
        return false;
    }
    const std::vector<uint8_t> reply = Reply();
    const size_t n = reply.size();
    UserInterface().EndWaitCursor();
    return n > 4 && reply[n - 4] == 'O' && reply[n - 3] == 'K';
}

bool CReaderProtocol::ReadParameters(std::string& text) {
    const bool sent = Transact("P", Cursor::Busy);
    text = ReplyText();
    if (!sent) {
        return false;
    }
    UserInterface().EndWaitCursor();
    return text.size() > 16;
}

bool CReaderProtocol::SetEchoed(char command, const std::string& arg, size_t minArg, size_t minRaw,
                                const std::string& prefix, size_t tailLength) {
    if (arg.size() < minArg) {
        return false;
    }
    if (!Transact(command + arg, Cursor::Busy)) {
        return false;
    }
    bool ok = false;
    if (ReplySize() >= minRaw) {
        const std::string text = StripLineEnds(ReplyText());
        // The whole argument is compared with a fixed-size tail, so a longer
        // argument is sent but never confirmed.
        const size_t tail = std::min(tailLength, text.size());
        ok = text.starts_with(prefix) && text.compare(text.size() - tail, tail, arg) == 0;
    }
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::SetId(const std::string& id) {
    return SetEchoed('I', id, 2, 5, "ID:", 2);
}

bool CReaderProtocol::SetMode(const std::string& digit) {
    return SetEchoed('M', digit, 1, 3, "M:", 1);
}

bool CReaderProtocol::SetNumberFormat(const std::string& digit) {
    return SetEchoed('F', digit, 1, 3, "F:", 1);
}

bool CReaderProtocol::SetTimeFormat(const std::string& digit) {
    return SetEchoed('U', digit, 1, 3, "U:", 1);
}

bool CReaderProtocol::SetTimingValue(const std::string& prefix, const std::string& value) {
    if (!Transact(prefix + value, Cursor::Busy)) {
        return false;
    }
    bool ok = false;
    if (ReplySize() >= 5) {
        const std::string text = StripLineEnds(ReplyText());
        ok = text.starts_with(prefix) && text.ends_with(value);
    }
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::ResetParameters() {
    if (!Send("D", Cursor::Busy)) {
        return false;
    }
    WaitGuarded(kResetReplyBytes);
    // Only what has arrived when the wait ends is considered.
    const std::string text = ReplyText();
    UserInterface().EndWaitCursor();
    return text.find("V:003") != std::string::npos && text.find("Z:005") != std::string::npos &&
           text.find("H:010") != std::string::npos;
}

bool CReaderProtocol::ReadKeys(std::string& text) {
    const bool sent = Transact("K", Cursor::Busy);
    text = ReplyText();
    // The reader frames its list with an "S" line and an "X".
    const bool framedStart = RemoveAll(text, "S\r\n");
    const bool framedEnd = RemoveAll(text, "X");
    if (!sent) {
        return false;
    }
    UserInterface().EndWaitCursor();
    return framedStart && framedEnd;
}

bool CReaderProtocol::WriteKeys(std::string keyList) {
    while (!keyList.empty() && IsLineEnd(keyList.back())) {
        keyList.pop_back();
    }
    // The engine refuses a request larger than its write buffer; Send then
    // returns false with nothing sent and the cursor balanced.
    if (!Send("W\r\n" + keyList + "\r\nX", Cursor::Busy)) {
        return false;
    }
    WaitGuarded(kWriteKeysReplyBytes);
    std::string text = ReplyText();
    while (!text.empty() && IsLineEnd(text.back())) {
        text.pop_back();
    }
    const size_t start = text.find_first_not_of("\r\n");
    UserInterface().EndWaitCursor();
    return start != std::string::npos && text.compare(start, std::string::npos, "OK") == 0;
}
