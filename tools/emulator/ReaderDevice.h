#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/emulator/EmulatorTypes.h"
#include "tools/emulator/ReaderClock.h"
#include "tools/emulator/RecordStore.h"

// The stand-in for the reader itself: its settings, clock, record store, key list and Teach IN
// state, and the answer to each request. It only builds replies; CReaderEmulator sends them.
// Not thread-safe: the owner serialises calls.
class CReaderDevice {
public:
    explicit CReaderDevice(const EmulatorOptions& options, CReaderClock clock = CReaderClock());

    // The reply to one complete request; empty when the reader sends nothing back (Teach IN,
    // unknown bytes).
    Reply Answer(const std::string& request);

    // A badge held to the reader. Records it and returns what the reader sends about it: the
    // key line during Teach IN and in the modes that report keys; false for a key number that
    // is not 1 to 8 hexadecimal digits.
    bool PresentBadge(const std::string& keyNumber, Reply& output);

    // Inspection, for tests and the program's status line.
    ReaderModel Model() const { return m_model; }
    bool TeachIn() const { return m_bTeachIn; }
    std::size_t RecordCount() const { return m_store.Count(); }
    const std::vector<std::string>& Keys() const { return m_keys; }
    std::string ParameterReport() const;

    // Factory timing values: Verzögerungszeit 3, Öffnungszeit 5, Haltezeit 10 seconds.
    static constexpr int kFactoryDelay = 3;
    static constexpr int kFactoryOpen = 5;
    static constexpr int kFactoryHold = 10;
    static constexpr std::size_t kClearProgressBytes = 512;
    static constexpr std::size_t kMemoryTestProgressBytes = 1024;
    static constexpr std::size_t kMaxKeys = 2000;
    static constexpr std::size_t kResetReplySize = 20;

private:
    Reply Line(const std::string& text) const;
    Reply SetClock(const std::string& digits);
    Reply ReadRecords() const;
    Reply Progress(std::size_t count, bool clearStore);
    Reply SetId(const std::string& id);
    Reply SetDigitSetting(char command, char digit);
    Reply SetTimingValue(char command, const std::string& digits);
    Reply ResetParameters();
    Reply ReadKeys() const;
    Reply WriteKeys(const std::string& block);
    std::string TimingValues() const;  // "V:003 Z:005 H:010"
    std::string KeyLine(std::uint32_t key) const;
    bool ReportsKeys() const;
    bool KnowsKey(std::uint32_t key) const;

    ReaderModel m_model;
    std::chrono::microseconds m_progressInterval;
    std::chrono::milliseconds m_resetDelay;
    CReaderClock m_clock;
    CRecordStore m_store;
    std::vector<std::string> m_keys;
    std::string m_strId = "01";
    char m_mode = '0';
    char m_numberFormat = '0';  // '0' hexadecimal, '1' decimal
    char m_timeFormat = '0';    // '0' with tenths, '1' without
    int m_delay = kFactoryDelay;
    int m_open = kFactoryOpen;
    int m_hold = kFactoryHold;
    bool m_bTeachIn = false;
};
