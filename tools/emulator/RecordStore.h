#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/emulator/ReaderClock.h"

// What happened at the reader when a record was written.
enum class RecordEvent { Granted = 1, Refused = 2, Taught = 3 };

struct ReaderRecord {
    ReaderTime time;
    std::uint32_t key = 0;
    RecordEvent event = RecordEvent::Granted;
};

// The reader's data buffer. A record line reads
//   "07.12.26 14:05:09:3 01 0012AB34 01\r\n"
// date, time (with tenths when the time format asks for them), reader ID, key number
// (8 hexadecimal or 10 decimal digits by the number format) and the event code.
class CRecordStore {
public:
    void Add(const ReaderRecord& record);
    void Clear();
    std::size_t Count() const { return m_records.size(); }

    // `count` plausible records, a few minutes apart and ending shortly before `end`.
    void Seed(std::size_t count, const ReaderTime& end);

    // Every record as one line each, in the order they were written.
    std::string Lines(const std::string& id, bool decimalKeys, bool tenths) const;

    static std::string Line(const ReaderRecord& record, const std::string& id, bool decimalKeys,
                            bool tenths);
    // The key number as the reader writes it: "0012AB34" or "0001223476".
    static std::string KeyText(std::uint32_t key, bool decimalKeys);

private:
    std::vector<ReaderRecord> m_records;
};
