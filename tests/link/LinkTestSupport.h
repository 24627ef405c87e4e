#pragma once

#include <time.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/DeviceEntries.h"
#include "link/SerialEngine.h"

using namespace std::chrono_literals;

// A pseudo-terminal pair: the test plays the device on the master side, the
// engine opens the port side by its path.
class CPtyPair {
public:
    CPtyPair();
    ~CPtyPair();

    bool IsValid() const { return m_master >= 0; }
    const std::string& PortPath() const { return m_portPath; }
    int MasterFd() const { return m_master; }

    bool Send(const std::string& bytes);
    // Everything that arrives within timeout, or until count bytes are there.
    std::string Receive(size_t count, std::chrono::milliseconds timeout);
    // Closes the master: the port side sees a hang-up.
    void HangUp();

private:
    int m_master = -1;
    std::string m_portPath;
};

// Another program that holds a device: a child process that opens it, takes
// the lock a port's user takes (or a POSIX record lock, or none), and goes by
// the given command name. With Hold::OwnPty it makes a pseudo-terminal of its
// own and keeps both sides open, as a program at the other end of a line
// does; Path() names its port side.
class CHeldPort {
public:
    enum class Hold { Flock, Posix, Open, OwnPty };
    CHeldPort(const std::string& path, const char* name, Hold hold = Hold::Flock);
    // The same for whatever take() takes in the child (a connection); true: taken.
    CHeldPort(const std::function<bool()>& take, const char* name);
    ~CHeldPort();
    int Pid() const { return m_pid; }  // 0 if the child could not take the port
    const std::string& Path() const { return m_path; }

private:
    // take() runs in the child: "y" and what the parent should know, or "n".
    void Start(const std::function<std::string()>& take, const char* name);

    int m_pid = 0;
    std::string m_path;
};

// Runs body in a child process and returns what it returned. With
// asNobody, the child first drops every privilege to the user "nobody"
// when it has them (root opens whatever the mode bits say); "skip" when
// that is not possible.
std::string RunInChild(const std::function<std::string()>& body, bool asNobody);

// Makes the process-wide "Devices" entries a map for the test's lifetime.
class CScopedEntries {
public:
    CScopedEntries() { SetDeviceEntries(&m_map); }
    ~CScopedEntries() { SetDeviceEntries(nullptr); }
    CMapDeviceEntries& Map() { return m_map; }
    void Set(int number, const std::string& path) { m_map.WriteEntry(number, path); }

private:
    CMapDeviceEntries m_map;
};

// Collects debug lines for the test's lifetime.
class CDebugCapture {
public:
    CDebugCapture();
    ~CDebugCapture();
    std::vector<std::string> Lines() const;
    bool Contains(const std::string& line) const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// An engine that records what its hooks report, and on which thread.
class CRecordingEngine : public CSerialEngine {
public:
    ~CRecordingEngine() override { Close(); }

    // Opens with the system's settings: 19200 8N1, no handshake, mask 9.
    bool OpenDefault(const std::string& name, uint32_t writeBufferSize = 15000);

    std::string Received() const;
    bool WaitForBytes(size_t count, std::chrono::milliseconds timeout) const;
    bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) const;
    bool BytesCameOnOneOtherThread() const;  // every byte on one thread, not the caller's

    int TxEmptyCount() const;
    std::vector<uint32_t> LineErrors() const;
    std::vector<uint32_t> BytesWritten() const;
    // The CPU time the thread that last called a hook uses over span, as a
    // share of span; none when its clock cannot be read before and after.
    std::optional<double> MonitorCpuShare(std::chrono::milliseconds span) const;

protected:
    void OnByteReceived(uint8_t byte) override;
    void OnLineError(uint32_t errors) override;
    void OnTxEmpty() override;
    void OnBytesWritten(uint32_t count) override;
    void OnBreak() override;
    void OnCtsChanged() override;
    void OnDsrChanged() override;
    void OnRlsdChanged() override;
    void OnRingChanged() override;

public:
    int BreakCount() const;
    std::vector<std::string> LineHooks() const;  // "CTS", "DSR", ... in call order

private:
    void NoteThread();
    std::optional<std::chrono::nanoseconds> MonitorCpuTime() const;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::string m_received;
    std::vector<std::thread::id> m_byteThreads;
    int m_txEmpty = 0;
    int m_breaks = 0;
    std::vector<uint32_t> m_lineErrors;
    std::vector<uint32_t> m_written;
    std::vector<std::string> m_lineHooks;
    clockid_t m_monitorClock{};
    bool m_bHaveClock = false;
};
