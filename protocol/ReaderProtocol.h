#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "link/SerialEngine.h"
#include "protocol/ByteHookSlot.h"
#include "protocol/JudgedReply.h"

// The only path to the reader: the serial engine plus a reply buffer filled
// byte by byte on the monitor thread, a silence-based reply wait that keeps
// the user interface alive, a per-byte hook, and a trace of every received
// byte. Every reader command is one transaction: clear, send, wait, judge.
class CReaderProtocol : public CSerialEngine {
public:
    CReaderProtocol();
    ~CReaderProtocol() override;

    // Silence time-out of the reply wait, set by the owner when the link opens.
    std::atomic<uint32_t> m_timeoutMs{500};
    // Installed and removed on the UI thread, called on the monitor thread;
    // once an assignment has returned, no call of the old hook runs any more.
    CByteHookSlot m_pfnByteHook;

    void ClearReply();
    void MarkActivity();
    bool ReplyComplete();

    // Clock, records and maintenance.
    bool ReadClock(std::string& text);
    bool SetClock(const std::string& digits);
    // How a record read-out's wait ends: at silence, as every reply's wait
    // does, or also as soon as the reply ends with an "END" line and no
    // further byte follows within a short grace.
    enum class RecordsEnd { Silence, EndLine };
    bool ReadRecords(std::string& text) { return ReadRecords(text, RecordsEnd::Silence); }
    bool ReadRecords(std::string& text, RecordsEnd end);
    bool ClearBuffer();
    bool MemoryTest();
    bool ReadParameters(std::string& text);

    // Configuration and key numbers.
    bool SetId(const std::string& id);
    bool SetMode(const std::string& digit);
    bool SetNumberFormat(const std::string& digit);
    bool SetTimeFormat(const std::string& digit);
    bool SetTimingValue(const std::string& prefix, const std::string& value);
    bool ResetParameters();
    bool ReadKeys(std::string& text);
    bool WriteKeys(std::string keyList);
    // A request the reader does not answer (Teach IN on "T" and off "X"):
    // written as it is, the reply buffer left alone. The reader sends no
    // confirmation, so true means the engine put the request on the line;
    // false when it was refused, the device went away, or it was not written
    // within the reply time-out.
    bool WriteUnanswered(const std::string& request);

    // The receive errors (overrun, framing, parity, input overflow: kErr*
    // bits) the line reported since the last call, and forgets them. The
    // monitor thread notes them; any thread may take them.
    uint32_t TakeLineErrors() { return m_lineErrors.exchange(0); }

    // A copy of the bytes received since the last clear.
    std::vector<uint8_t> Reply() const;
    // The bytes the reply buffer holds memory for.
    size_t ReplyCapacity() const;

    // Why the last reply wait ended; a stopped wait fails its transaction.
    enum class WaitEnd { Silence, EndLine, Stopped };
    WaitEnd LastWaitEnd() const { return m_lastWaitEnd; }

    // After an "END" line, this long without another byte ends an EndLine
    // wait: longer than the monitor thread gathers the bytes of a slow line.
    static constexpr uint32_t kEndLineGraceMs = 10;

protected:
    void OnByteReceived(uint8_t byte) override;
    void OnLineError(uint32_t errors) override;
    void OnBytesWritten(uint32_t count) override;
    // Called on the waiting thread just before a request goes out.
    virtual void OnRequest() {}
    // Asked at every step of a reply wait on the waiting thread, with the
    // bytes received and the milliseconds since the request went out: true
    // stops the wait. The default never stops one.
    virtual bool StopWait(size_t bytes, uint32_t elapsedMs);

private:
    enum class Cursor { None, Busy };

    // Begins the cursor (if asked), clears the reply and hands the request to
    // the engine. False when the engine refused it: nothing was sent and the
    // cursor is balanced again.
    bool Send(const std::string& request, Cursor cursor);
    // Waits until the line has been silent for longer than m_timeoutMs;
    // false when StopWait stopped it.
    bool WaitPlain(Cursor cursor);
    // The plain wait that also ends at an "END" line after the grace.
    bool WaitEndLine();
    // Gives the reader 6 s to start answering; ends early at minBytes bytes.
    bool WaitGuarded(size_t minBytes);
    // True when StopWait ends the wait now; notes it as the wait's end.
    bool Stopped();
    // True when the reply ends with "END" CR LF at the start of a line.
    bool EndsWithEndLine() const;
    // Plain-wait transaction; false when the request could not be sent or
    // the wait was stopped.
    bool Transact(const std::string& request, Cursor cursor);
    using EchoJudgement = bool (*)(const CJudgedReply& reply, const std::string& arg);
    // The ID/mode/format family: sends command + arg (at least minArg
    // characters) and judges the echo.
    bool SetEchoed(char command, const std::string& arg, size_t minArg, EchoJudgement judge);

    size_t ReplySize() const;
    // Judges the reply buffer as it stands. A judgement that took the reply
    // text leaves the text's terminating zero byte in the buffer.
    template <typename Judgement>
    bool Judge(Judgement judgement);

    mutable std::mutex m_replyMutex;  // guards m_reply
    std::vector<uint8_t> m_reply;
    std::atomic<size_t> m_replyCount{0};  // size of m_reply, readable without the lock
    std::atomic<uint32_t> m_lastActivity{0};
    std::atomic<uint32_t> m_lineErrors{0};
    std::atomic<uint32_t> m_writesDone{0};  // requests the engine finished writing
    // Waiting-thread state of the current transaction.
    uint32_t m_requestTick = 0;
    WaitEnd m_lastWaitEnd = WaitEnd::Silence;
};
