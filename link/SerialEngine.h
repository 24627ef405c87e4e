#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/DeviceIdentity.h"
#include "link/Ftd2xxBinding.h"
#include "link/LineSettings.h"
#include "link/LinkFailure.h"
#include "link/NetProbe.h"
#include "link/PortBackend.h"
#include "link/WakeEvent.h"
#include "link/WriteSlot.h"

// Byte transport to the reader: one open port (a COM port through termios, an
// FTDI adapter through D2XX, or a serial port on the network), a monitor
// thread that does all port input and output, and virtual hooks through which
// it reports what happens on the line. The reader protocol derives from it and overrides
// OnByteReceived.
//
// Caller's thread (the UI thread): Open, StartMonitoring, Write, Close and the
// listing operations. Monitor thread: everything else, every hook included.
class CSerialEngine {
public:
    // Length value of Write meaning "the text up to its terminating zero".
    static constexpr uint32_t kWholeText = 0xFFFFFFFFu;

    CSerialEngine();
    virtual ~CSerialEngine();

    CSerialEngine(const CSerialEngine&) = delete;
    CSerialEngine& operator=(const CSerialEngine&) = delete;

    // Opens the named port ("COM3", "\\.\COM3", "COM3 [desc]", a network
    // address "rfc2217://HOST:PORT" or "socket://HOST:PORT", or an FTDI
    // serial number) and configures it. True if the port was opened, also
    // when a configuration step failed (that gives a warning only).
    bool Open(const std::string& portName, unsigned baudRate, char parity, unsigned dataBits,
              unsigned stopBits, unsigned handshake, uint32_t eventMask, uint32_t writeBufferSize);

    // Starts the monitor thread; false if a thread object is still held.
    bool StartMonitoring();

    // Hands one request to the monitor thread and returns at once. A later
    // request replaces bytes not yet taken. A request larger than the write
    // buffer is refused: nothing is sent and the result is false.
    bool Write(const char* data, uint32_t length);

    // Ends the thread, closes the port, frees the write slot. Idempotent.
    void Close();

    // True while a port is open (the port handle is set).
    bool IsOpen() const;

    // Why the last Open failed, or which line setting it could not apply
    // although the port opened (kind None after a clean open).
    const CLinkFailure& LastOpenFailure() const { return m_lastFailure; }
    // True once the open port's device has gone away (unplugged, hung up);
    // cleared by the next Open. Callable from any thread.
    bool IsDeviceGone() const { return m_bDeviceGone.load(); }
    // Whether the device that the last successful Open reached is there
    // again under its name (a /dev/serial/by-id link keeps its name when
    // the adapter comes back as another ttyUSB), or another device took the
    // name; for an FTDI adapter, whether a free adapter has its serial
    // number; for a network address, whether its server accepts a
    // connection, found out without blocking (a probe started at most every
    // few seconds, looked at on later calls). Also after Close.
    CDeviceIdentity::Match OpenedDevicePresence();

    // Rewrites a COM name to "\\.\COM<n>" and returns true, or leaves the
    // name unchanged and returns false (an FTDI serial number).
    static bool NormalizePortName(std::string& name);

    // Appends the serial numbers of the free FTDI adapters.
    void ListUsbDevices(std::vector<std::string>& list);

    // Fills the list with the COM ports present ("\\.\COM<n>" [+ " [desc]"]).
    bool EnumerateComPorts(std::vector<std::string>& list);

protected:
    // Hooks, called on the monitor thread. Only OnBytesAvailable has a base
    // behaviour: it reads the waiting bytes and delivers them one by one.
    virtual void OnByteReceived(uint8_t byte);
    virtual void OnCtsChanged();
    virtual void OnSpareEvent();
    virtual void OnBreak();
    virtual void OnLineError(uint32_t errors);
    virtual void OnRingChanged();
    virtual void OnRlsdChanged();
    virtual void OnDsrChanged();
    virtual void OnBytesAvailable(uint32_t count);
    virtual void OnBytesWritten(uint32_t count);
    virtual void OnTxEmpty();

private:
    // The monitor thread's wake-up events, in handling priority order.
    enum EventIndex { kShutdown, kRecheck, kWriteRequest, kReadDone, kWriteDone, kLineEvent };
    static constexpr int kEventCount = 6;
    static constexpr int kWaitMs = 10;
    // While input trickles in (fewer than kGatherBelow bytes at a time), the
    // port is read at most every kGatherMs, so that a fast line is read in
    // batches rather than a few bytes per wake-up of the thread.
    static constexpr int kGatherMs = 5;
    static constexpr uint32_t kGatherBelow = 1024;
    static constexpr int kTimedOut = -1;
    static constexpr int kWaitFailed = -2;

    void MonitorThread();
    int WaitForEvent();
    void ArmEventWait();
    void CompleteEventWait();
    bool CheckLineState();
    void CheckAndPollAgain();
    bool StartReception();
    void NoteInput(uint32_t count);
    void CompleteRead();
    void HandleWriteRequest();
    void ContinueWrite();
    void CompleteWrite();
    void ReportHangUp();
    void ReportDeviceError(int error);
    void SetActiveMask(uint32_t mask);
    void Warn(const char* operation, int error) const;
    void Refuse(const char* step, int error);
    bool OpenPort(const std::string& name);
    void Configure(const std::string& definition, unsigned handshake);
    void ReportModemLines();
    void CloseEvents();

    CFtd2xxBinding m_ftdi;
    bool m_bDsr = false;
    bool m_bCts = false;
    bool m_bRlsd = false;
    bool m_bRing = false;
    std::atomic<bool> m_bRunning{false};
    std::unique_ptr<CPortBackend> m_pComm;
    std::atomic<bool> m_bPortOpen{false};
    std::array<CWakeEvent, kEventCount> m_hEvents;
    uint32_t m_dwEventMask = 0;
    uint32_t m_activeMask = 0;  // the mask last given to the port
    bool m_bWaitPending = false;
    std::array<uint8_t, 4096> m_rxBuffer{};
    uint32_t m_nInQueue = 0;
    bool m_bReadReady = true;
    bool m_bReadPending = false;
    bool m_bWritePending = false;
    bool m_bHungUp = false;  // the device went away: reported once, no longer watched
    std::chrono::steady_clock::time_point m_gatherUntil;  // no input wake-up before
    bool m_bUsb = false;
    std::thread m_thread;
    std::mutex m_lock;
    CPortTimeouts m_timeouts;
    CLineSettings m_dcb;

    CWriteSlot m_writeSlot;
    // The request being written, taken out of the slot by the monitor thread.
    std::vector<uint8_t> m_outgoing;
    size_t m_nOutgoingSent = 0;

    std::string m_strPortLabel;

    CLinkFailure m_lastFailure;
    std::atomic<bool> m_bDeviceGone{false};
    // What the last successful Open reached: a device path and the device
    // found there, or an adapter's serial number.
    std::string m_strOpenedDevice;
    CDeviceIdentity m_openedIdentity;
    bool m_bOpenedUsb = false;
    bool m_bOpenedNetwork = false;
    CNetProbe m_netProbe;
};
