#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/emulator/EmulatorTypes.h"
#include "tools/emulator/ReaderDevice.h"
#include "tools/emulator/RequestFramer.h"

// Answers like an Orvane reader on a pseudo-terminal. Start() opens the pair in raw mode; the
// program under test opens PortPath() like a serial port. A worker thread reads the requests,
// cuts them by the reader's grammar, logs them and answers through the reader model (or a
// responder that replaces it). Every public operation is thread-safe.
class CReaderEmulator {
public:
    // Each complete request is answered with these chunks, each sent after its delay.
    // Called on the worker thread, without any lock of the emulator held. Setting a new
    // responder (or observer) waits until a call of the old one has returned, so that
    // clearing it is enough before what it uses goes away.
    using Responder = std::function<Reply(const std::string& request)>;
    // Sees every complete request (complete = true) and every incomplete one that was dropped
    // after the inter-byte time-out (complete = false). Called on the worker thread.
    using RequestObserver = std::function<void(const std::string& bytes, bool complete)>;

    explicit CReaderEmulator(EmulatorOptions options = {});
    ~CReaderEmulator();  // Stop()
    CReaderEmulator(const CReaderEmulator&) = delete;
    CReaderEmulator& operator=(const CReaderEmulator&) = delete;

    // Opens the pseudo-terminal pair, makes the symbolic link if one was asked for, and starts
    // the worker. False (and nothing left open) when any step fails or it already runs.
    bool Start();
    // Ends the worker, closes both sides and removes the symbolic link. Idempotent.
    void Stop();
    bool Running() const;
    const EmulatorOptions& Options() const { return m_options; }

    std::string PortPath() const;  // the port side, e.g. /dev/pts/7; empty before Start
    std::string LinkPath() const;  // the symbolic link made at Start, or empty

    // Every complete request received, raw. A request is logged once it has been dealt with:
    // the reader's state has changed and its reply is queued.
    std::vector<std::string> Requests() const;
    bool WaitForRequests(std::size_t count, std::chrono::milliseconds timeout) const;
    void ClearRequests();               // forgets the requests and the received bytes
    std::string ReceivedBytes() const;  // everything received, raw
    std::size_t BytesSent() const;      // bytes written to the port side so far
    // When the last byte written so far has left the line (paced: at the line's pace).
    std::chrono::steady_clock::time_point LastByteTime() const;

    void SetResponder(Responder responder);  // an empty function restores the reader model
    void SetRequestObserver(RequestObserver observer);
    void Send(Reply chunks);  // unsolicited output, after what is queued
    // True once everything queued has been written (or the line hung up).
    bool WaitForOutputDone(std::chrono::milliseconds timeout) const;

    void SetFault(EmulatorFault fault);  // applies to every following request until changed
    EmulatorFault Fault() const;

    // A badge at the reader (1 to 8 hexadecimal digits); false for an invalid key number.
    bool PresentBadge(const std::string& keyNumber);

    // Closes the emulator's side: the port sees a hang-up. Returns once it is closed.
    void HangUp();
    bool HungUp() const;

    // The reader model's state, for tests and status lines.
    bool TeachIn() const;
    std::size_t RecordCount() const;
    std::vector<std::string> Keys() const;
    std::string ParameterReport() const;

private:
    using Clock = std::chrono::steady_clock;
    struct QueuedChunk {
        ReplyChunk chunk;
        Clock::time_point queued;
    };

    void Run();
    void Wake();  // m_mutex held
    void WaitForCallbacks(std::unique_lock<std::mutex>& lock);
    void EndCallbacks();
    void CloseMaster();        // worker thread only
    void CloseMasterLocked();  // worker thread only, m_mutex held
    void ReadInput();
    void HandleRequest(const std::string& request);
    void Enqueue(Reply reply);  // m_mutex held
    bool WriteOutput(Clock::time_point now, Clock::time_point& wakeAt);
    bool MakeLink();
    void RemoveLink();

    const EmulatorOptions m_options;
    const std::chrono::nanoseconds m_bytePeriod;  // zero: not paced

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_cvChanged;
    CReaderDevice m_device;
    Responder m_responder;
    RequestObserver m_observer;
    EmulatorFault m_fault = EmulatorFault::None;
    std::vector<std::string> m_requests;
    std::string m_received;
    std::deque<QueuedChunk> m_output;
    std::size_t m_bytesSent = 0;
    Clock::time_point m_lastByteAt{};
    int m_nCallbacks = 0;     // responder or observer calls in progress
    bool m_bWriting = false;  // a chunk is being written
    bool m_bStopping = false;
    bool m_bHangUpWanted = false;
    bool m_bHungUp = false;
    bool m_bRunning = false;
    std::string m_strPortPath;
    std::string m_strLinkPath;
    std::thread::id m_workerId;
    int m_wakeFd = -1;

    // Worker-thread state.
    std::thread m_thread;
    int m_masterFd = -1;
    int m_slaveFd = -1;  // kept open so that closing the port does not hang up the master
    CRequestFramer m_framer;
    bool m_bHaveCurrent = false;
    std::string m_strCurrent;  // bytes of the chunk being written
    std::size_t m_currentPos = 0;
    Clock::time_point m_currentDue{};
    Clock::time_point m_nextByte{};    // when the next paced byte may leave
    Clock::time_point m_lastOutput{};  // when the previous chunk finished
};
