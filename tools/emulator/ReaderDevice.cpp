#include "tools/emulator/ReaderDevice.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

namespace {

constexpr unsigned char kMemoryTest = 0xC8;
constexpr char kProgressByte = '.';
const std::string kLineEnd = "\r\n";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The value of a key text in the given base; false when it is not a number in that base.
bool ParseKey(const std::string& text, int base, unsigned long long& value) {
    if (text.empty()) {
        return false;
    }
    value = 0;
    for (char c : text) {
        const int digit =
            IsDigit(c) ? c - '0' : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        if (digit < 0 || digit >= base || !IsHexDigit(c)) {
            return false;
        }
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    return true;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

}  // namespace

CReaderDevice::CReaderDevice(const EmulatorOptions& options, CReaderClock clock)
    : m_model(options.model),
      m_progressInterval(options.progressInterval),
      m_resetDelay(options.resetDelay),
      m_clock(std::move(clock)) {
    m_store.Seed(options.seedRecords, m_clock.Now());
}

Reply CReaderDevice::Answer(const std::string& request) {
    if (request.empty()) {
        return {};
    }
    const char command = request[0];
    const std::string args = request.substr(1);
    if (static_cast<unsigned char>(command) == kMemoryTest && args.empty()) {
        return Progress(kMemoryTestProgressBytes, false);
    }
    switch (command) {
        case 'R':
            return Line(CReaderClock::Format(m_clock.Now()));
        case 'S':
            return SetClock(args);
        case 'L':
            return ReadRecords();
        case 'C':
            return Progress(kClearProgressBytes, true);
        case 'P':
            return {ReplyChunk{{}, ParameterReport()}};
        case 'I':
            return SetId(args);
        case 'M':
        case 'F':
        case 'U':
            return SetDigitSetting(command, args.size() == 1 ? args[0] : '\0');
        case 'H':
        case 'Z':
        case 'V':
            return SetTimingValue(command, args);
        case 'D':
            return ResetParameters();
        case 'K':
            return ReadKeys();
        case 'W':
            return WriteKeys(request);
        case 'T':
            m_bTeachIn = true;
            return {};
        case 'X':
            m_bTeachIn = false;
            return {};
        default:
            return {};
    }
}

Reply CReaderDevice::Line(const std::string& text) const {
    return {ReplyChunk{{}, text + kLineEnd}};
}

Reply CReaderDevice::SetClock(const std::string& digits) {
    if (!m_clock.Set(digits)) {
        return Line("ERROR");
    }
    return Line(CReaderClock::Format(m_clock.Now()));
}

Reply CReaderDevice::ReadRecords() const {
    Reply reply;
    std::string lines = m_store.Lines(m_strId, m_numberFormat == '1', m_timeFormat == '0');
    if (!lines.empty()) {
        reply.push_back(ReplyChunk{{}, std::move(lines)});
    }
    // The closing line is a piece of its own, so that a fault can leave it out.
    reply.push_back(ReplyChunk{{}, "END" + kLineEnd});
    return reply;
}

Reply CReaderDevice::Progress(std::size_t count, bool clearStore) {
    if (clearStore) {
        m_store.Clear();
    }
    Reply reply(count, ReplyChunk{m_progressInterval, std::string(1, kProgressByte)});
    reply.push_back(ReplyChunk{m_progressInterval, "OK" + kLineEnd});
    return reply;
}

std::string CReaderDevice::TimingValues() const {
    char text[32];
    std::snprintf(text, sizeof text, "V:%03d Z:%03d H:%03d", m_delay, m_open, m_hold);
    return text;
}

std::string CReaderDevice::ParameterReport() const {
    std::string report =
        "ID:" + m_strId + " M:" + m_mode + " F:" + m_numberFormat + " U:" + m_timeFormat + kLineEnd;
    // Only the extended model has timing values; the program tells the models apart by "V:".
    if (m_model == ReaderModel::Extended) {
        report = TimingValues() + " " + report;
    }
    return report;
}

Reply CReaderDevice::SetId(const std::string& id) {
    const bool printable = id.size() == 2 && std::all_of(id.begin(), id.end(), [](char c) {
                               return c > ' ' && c < 0x7F;
                           });
    if (printable) {
        m_strId = id;
    }
    // A refused ID is answered with the ID the reader keeps, which the program cannot take for
    // a confirmation.
    return Line("ID:" + m_strId);
}

Reply CReaderDevice::SetDigitSetting(char command, char digit) {
    char* setting = command == 'M' ? &m_mode : command == 'F' ? &m_numberFormat : &m_timeFormat;
    const char highest = (command == 'M' && m_model == ReaderModel::Extended) ? '3' : '1';
    if (digit >= '0' && digit <= highest) {
        *setting = digit;
    }
    return Line(std::string(1, command) + ':' + *setting);
}

Reply CReaderDevice::SetTimingValue(char command, const std::string& digits) {
    int* setting = command == 'V' ? &m_delay : command == 'Z' ? &m_open : &m_hold;
    if (digits.size() == 3 && std::all_of(digits.begin(), digits.end(), IsDigit)) {
        *setting = std::stoi(digits);
    }
    char text[16];
    std::snprintf(text, sizeof text, "%c:%03d", command, *setting);
    return Line(text);
}

Reply CReaderDevice::ResetParameters() {
    m_delay = kFactoryDelay;
    m_open = kFactoryOpen;
    m_hold = kFactoryHold;
    m_keys.clear();
    // Exactly 20 bytes: the program stops listening at the 20th byte, so a longer answer
    // would spill its rest into the reply of the next request.
    std::string report = TimingValues();
    report.resize(kResetReplySize - kLineEnd.size(), ' ');
    return {ReplyChunk{m_resetDelay, report + kLineEnd}};
}

Reply CReaderDevice::ReadKeys() const {
    std::string lines = "S" + kLineEnd;
    for (const std::string& key : m_keys) {
        lines += key + kLineEnd;
    }
    return {ReplyChunk{{}, lines}, ReplyChunk{{}, "X"}};
}

Reply CReaderDevice::WriteKeys(const std::string& block) {
    // block is "W\r\n" + lines + "\r\nX"; the lines may also be separated by bare line feeds.
    const std::string body = block.size() >= 4 ? block.substr(1, block.size() - 4) : std::string();
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start <= body.size()) {
        std::size_t end = body.find('\n', start);
        if (end == std::string::npos) {
            end = body.size();
        }
        std::string key = body.substr(start, end - start);
        key.erase(std::remove_if(key.begin(), key.end(),
                                 [](char c) { return c == '\r' || c == ' ' || c == '\t'; }),
                  key.end());
        if (!key.empty()) {
            const bool valid = key.size() <= 10 && std::all_of(key.begin(), key.end(), IsHexDigit);
            if (!valid || keys.size() == kMaxKeys) {
                return Line("ERROR");
            }
            keys.push_back(Upper(key));
        }
        start = end + 1;
    }
    m_keys = std::move(keys);
    return Line("OK");
}

std::string CReaderDevice::KeyLine(std::uint32_t key) const {
    return CRecordStore::KeyText(key, m_numberFormat == '1') + kLineEnd;
}

bool CReaderDevice::ReportsKeys() const {
    // Basic "Transparent" mode and the extended "RS232" modes pass every badge on.
    if (m_model == ReaderModel::Basic) {
        return m_mode == '1';
    }
    return m_mode == '2' || m_mode == '3';
}

bool CReaderDevice::KnowsKey(std::uint32_t key) const {
    // The list holds the keys as they were written; compare their values in the current format.
    const int base = m_numberFormat == '1' ? 10 : 16;
    return std::any_of(m_keys.begin(), m_keys.end(), [&](const std::string& text) {
        unsigned long long value = 0;
        return ParseKey(text, base, value) && value == key;
    });
}

bool CReaderDevice::PresentBadge(const std::string& keyNumber, Reply& output) {
    output.clear();
    if (keyNumber.empty() || keyNumber.size() > 8 ||
        !std::all_of(keyNumber.begin(), keyNumber.end(), IsHexDigit)) {
        return false;
    }
    unsigned long long value = 0;
    ParseKey(keyNumber, 16, value);
    const auto key = static_cast<std::uint32_t>(value);
    ReaderRecord record{m_clock.Now(), key, RecordEvent::Granted};
    if (m_bTeachIn) {
        if (!KnowsKey(key) && m_keys.size() < kMaxKeys) {
            m_keys.push_back(CRecordStore::KeyText(key, m_numberFormat == '1'));
        }
        record.event = RecordEvent::Taught;
    } else if (!KnowsKey(key)) {
        record.event = RecordEvent::Refused;
    }
    m_store.Add(record);
    if (m_bTeachIn || ReportsKeys()) {
        output.push_back(ReplyChunk{{}, KeyLine(key)});
    }
    return true;
}
