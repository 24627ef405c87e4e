#include "protocol/ReaderProtocol.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "link/PortBackend.h"
#include "protocol/ReplyJudgement.h"
#include "protocol/Tick.h"
#include "protocol/Trace.h"
#include "protocol/UserInterface.h"

namespace {
// During this long after a guarded request the silence rule cannot end the wait.
constexpr uint32_t kAnswerGraceMs = 6000;
constexpr size_t kResetReplyBytes = 20;
constexpr size_t kWriteKeysReplyBytes = 4;
// Larger than the longest record read-out the reader can hold.
constexpr size_t kKeptReplyCapacity = 1u << 20;

void SleepStep() {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

// The end-line wait looks this often, so that it ends soon after the grace.
constexpr int kEndLineStepMs = 1;
constexpr int kStepsPerPump = 10;
}  // namespace

CReaderProtocol::CReaderProtocol() = default;

CReaderProtocol::~CReaderProtocol() {
    // Stop the monitor thread while every member still exists: no byte may
    // reach OnByteReceived of a half-destroyed object.
    Close();
}

void CReaderProtocol::ClearReply() {
    std::vector<uint8_t> released;
    std::lock_guard lock(m_replyMutex);
    // A flood of bytes must not keep its memory until the program ends: a
    // buffer grown far beyond any real reply is given back (after the unlock).
    if (m_reply.capacity() > kKeptReplyCapacity) {
        released.swap(m_reply);
    }
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

size_t CReaderProtocol::ReplyCapacity() const {
    std::lock_guard lock(m_replyMutex);
    return m_reply.capacity();
}

size_t CReaderProtocol::ReplySize() const {
    return m_replyCount.load();
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
    m_pfnByteHook.Call(byte);
    m_lastActivity.store(GetTickCount());
    std::lock_guard lock(m_replyMutex);
    m_reply.push_back(byte);
    m_replyCount.store(m_reply.size());
}

void CReaderProtocol::OnLineError(uint32_t errors) {
    // A hang-up is the link's end, not a damaged byte: the owner learns it from IsDeviceGone.
    m_lineErrors.fetch_or(errors & (kErrRxOverflow | kErrOverrun | kErrParity | kErrFraming));
}

void CReaderProtocol::OnBytesWritten(uint32_t) {
    m_writesDone.fetch_add(1);
}

template <typename Judgement>
bool CReaderProtocol::Judge(Judgement judgement) {
    std::lock_guard lock(m_replyMutex);
    const CJudgedReply reply(m_reply);
    const bool verdict = judgement(reply);
    if (reply.TextTaken()) {
        m_reply.push_back(0);
        m_replyCount.store(m_reply.size());
    }
    return verdict;
}

bool CReaderProtocol::StopWait(size_t, uint32_t) {
    return false;
}

bool CReaderProtocol::Stopped() {
    if (!StopWait(ReplySize(), static_cast<uint32_t>(GetTickCount() - m_requestTick))) {
        return false;
    }
    m_lastWaitEnd = WaitEnd::Stopped;
    return true;
}

bool CReaderProtocol::EndsWithEndLine() const {
    static constexpr char kEnd[] = "END\r\n";
    constexpr size_t kLength = sizeof kEnd - 1;
    std::lock_guard lock(m_replyMutex);
    const size_t size = m_reply.size();
    if (size < kLength || !std::equal(kEnd, kEnd + kLength, m_reply.end() - kLength)) {
        return false;
    }
    return size == kLength || m_reply[size - kLength - 1] == '\n';
}

bool CReaderProtocol::Send(const std::string& request, Cursor cursor) {
    if (cursor == Cursor::Busy) {
        UserInterface().BeginWaitCursor();
    }
    ClearReply();
    OnRequest();
    m_requestTick = GetTickCount();
    m_lastWaitEnd = WaitEnd::Silence;
    if (!Write(request.c_str(), kWholeText)) {
        if (cursor == Cursor::Busy) {
            UserInterface().EndWaitCursor();
        }
        return false;
    }
    SleepStep();
    return true;
}

bool CReaderProtocol::WaitPlain(Cursor cursor) {
    MarkActivity();
    while (!ReplyComplete()) {
        if (Stopped()) {
            return false;
        }
        if (cursor == Cursor::Busy) {
            UserInterface().RestoreWaitCursor();
        }
    }
    return true;
}

bool CReaderProtocol::WaitEndLine() {
    MarkActivity();
    for (int step = 1;; ++step) {
        const uint32_t quiet = static_cast<uint32_t>(GetTickCount() - m_lastActivity.load());
        if (quiet > m_timeoutMs.load()) {
            return true;
        }
        // Bytes after "END" (a late line) make it no end: the wait goes on.
        if (quiet >= kEndLineGraceMs && EndsWithEndLine()) {
            m_lastWaitEnd = WaitEnd::EndLine;
            return true;
        }
        if (Stopped()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kEndLineStepMs));
        if (step % kStepsPerPump == 0) {
            PumpMessages();
            UserInterface().RestoreWaitCursor();
        }
    }
}

bool CReaderProtocol::WaitGuarded(size_t minBytes) {
    const uint32_t start = GetTickCount();
    MarkActivity();
    if (ReplyComplete()) {
        return true;
    }
    for (;;) {
        if (static_cast<uint32_t>(GetTickCount() - start) < kAnswerGraceMs) {
            MarkActivity();
        }
        UserInterface().RestoreWaitCursor();
        if (ReplySize() >= minBytes || ReplyComplete()) {
            return true;
        }
        if (Stopped()) {
            return false;
        }
    }
}

bool CReaderProtocol::Transact(const std::string& request, Cursor cursor) {
    if (!Send(request, cursor)) {
        return false;
    }
    if (WaitPlain(cursor)) {
        return true;
    }
    if (cursor == Cursor::Busy) {
        UserInterface().EndWaitCursor();
    }
    return false;
}

bool CReaderProtocol::ReadClock(std::string& text) {
    if (!Transact("R", Cursor::None)) {
        return false;
    }
    return Judge(
        [&](const CJudgedReply& reply) { return CReplyJudgement::ReadClock(reply, text); });
}

bool CReaderProtocol::SetClock(const std::string& digits) {
    if (digits.size() < 12) {
        return false;
    }
    if (!Transact("S" + digits, Cursor::Busy)) {
        return false;
    }
    const bool ok =
        Judge([&](const CJudgedReply& reply) { return CReplyJudgement::SetClock(reply, digits); });
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::ReadRecords(std::string& text, RecordsEnd end) {
    if (!Send("L", Cursor::Busy)) {
        text.clear();
        return false;
    }
    if (!(end == RecordsEnd::EndLine ? WaitEndLine() : WaitPlain(Cursor::Busy))) {
        text.clear();
        UserInterface().EndWaitCursor();
        return false;
    }
    const bool ok =
        Judge([&](const CJudgedReply& reply) { return CReplyJudgement::ReadRecords(reply, text); });
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::ClearBuffer() {
    if (!Transact("C", Cursor::Busy)) {
        return false;
    }
    const bool ok = Judge(&CReplyJudgement::ClearBuffer);
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::MemoryTest() {
    if (!Transact("\xC8", Cursor::Busy)) {
        return false;
    }
    const bool ok = Judge(&CReplyJudgement::MemoryTest);
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::ReadParameters(std::string& text) {
    if (!Transact("P", Cursor::Busy)) {
        text.clear();
        return false;
    }
    const bool ok = Judge(
        [&](const CJudgedReply& reply) { return CReplyJudgement::ReadParameters(reply, text); });
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::SetEchoed(char command, const std::string& arg, size_t minArg,
                                EchoJudgement judge) {
    if (arg.size() < minArg) {
        return false;
    }
    if (!Transact(command + arg, Cursor::Busy)) {
        return false;
    }
    const bool ok = Judge([&](const CJudgedReply& reply) { return judge(reply, arg); });
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::SetId(const std::string& id) {
    return SetEchoed('I', id, 2, &CReplyJudgement::SetId);
}

bool CReaderProtocol::SetMode(const std::string& digit) {
    return SetEchoed('M', digit, 1, &CReplyJudgement::SetMode);
}

bool CReaderProtocol::SetNumberFormat(const std::string& digit) {
    return SetEchoed('F', digit, 1, &CReplyJudgement::SetNumberFormat);
}

bool CReaderProtocol::SetTimeFormat(const std::string& digit) {
    return SetEchoed('U', digit, 1, &CReplyJudgement::SetTimeFormat);
}

bool CReaderProtocol::SetTimingValue(const std::string& prefix, const std::string& value) {
    if (!Transact(prefix + value, Cursor::Busy)) {
        return false;
    }
    const bool ok = Judge([&](const CJudgedReply& reply) {
        return CReplyJudgement::SetTimingValue(reply, prefix, value);
    });
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::ResetParameters() {
    if (!Send("D", Cursor::Busy)) {
        return false;
    }
    if (!WaitGuarded(kResetReplyBytes)) {
        UserInterface().EndWaitCursor();
        return false;
    }
    // Only what has arrived when the wait ends is considered.
    const bool ok = Judge(&CReplyJudgement::ResetParameters);
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::ReadKeys(std::string& text) {
    if (!Transact("K", Cursor::Busy)) {
        text.clear();
        return false;
    }
    const bool ok =
        Judge([&](const CJudgedReply& reply) { return CReplyJudgement::ReadKeys(reply, text); });
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::WriteKeys(std::string keyList) {
    // The engine refuses a request larger than its write buffer; Send then
    // returns false with nothing sent and the cursor balanced.
    if (!Send(CReplyJudgement::KeyListRequest(std::move(keyList)), Cursor::Busy)) {
        return false;
    }
    if (!WaitGuarded(kWriteKeysReplyBytes)) {
        UserInterface().EndWaitCursor();
        return false;
    }
    const bool ok = Judge(&CReplyJudgement::WriteKeys);
    UserInterface().EndWaitCursor();
    return ok;
}

bool CReaderProtocol::WriteUnanswered(const std::string& request) {
    const uint32_t before = m_writesDone.load();
    if (IsDeviceGone() || !Write(request.c_str(), kWholeText)) {
        return false;
    }
    const uint32_t start = GetTickCount();
    while (m_writesDone.load() == before) {
        if (IsDeviceGone() || static_cast<uint32_t>(GetTickCount() - start) > m_timeoutMs.load()) {
            return false;
        }
        SleepStep();
        PumpMessages();
    }
    return !IsDeviceGone();
}
