#include "tools/emulator/RecordStore.h"

#include <cinttypes>
#include <cstdio>

void CRecordStore::Add(const ReaderRecord& record) {
    m_records.push_back(record);
}

void CRecordStore::Clear() {
    m_records.clear();
    m_records.shrink_to_fit();
}

void CRecordStore::Seed(std::size_t count, const ReaderTime& end) {
    // A fixed linear congruential sequence: the same seed gives the same records every run.
    std::uint32_t state = 0x2545F491u;
    const std::int64_t endMs = CReaderClock::ToMilliseconds(end);
    m_records.reserve(m_records.size() + count);
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        const std::int64_t back = static_cast<std::int64_t>(count - i) * 217'300;
        ReaderRecord record;
        record.time = CReaderClock::FromMilliseconds(endMs - back + (state >> 24) * 100);
        record.key = 0x00100000u + (state >> 12) % 0x00400000u;
        record.event = (i % 7 == 3) ? RecordEvent::Refused : RecordEvent::Granted;
        m_records.push_back(record);
    }
}

std::string CRecordStore::KeyText(std::uint32_t key, bool decimalKeys) {
    char text[16];
    if (decimalKeys) {
        std::snprintf(text, sizeof text, "%010" PRIu32, key);
    } else {
        std::snprintf(text, sizeof text, "%08" PRIX32, key);
    }
    return text;
}

std::string CRecordStore::Line(const ReaderRecord& record, const std::string& id, bool decimalKeys,
                               bool tenths) {
    std::string line = CReaderClock::Format(record.time);
    if (tenths) {
        line += ':';
        line += static_cast<char>('0' + record.time.millisecond / 100);
    }
    char tail[48];
    std::snprintf(tail, sizeof tail, " %s %s %02d\r\n", id.c_str(),
                  KeyText(record.key, decimalKeys).c_str(), static_cast<int>(record.event));
    return line + tail;
}

std::string CRecordStore::Lines(const std::string& id, bool decimalKeys, bool tenths) const {
    std::string text;
    text.reserve(m_records.size() * 40);
    for (const ReaderRecord& record : m_records) {
        text += Line(record, id, decimalKeys, tenths);
    }
    return text;
}
