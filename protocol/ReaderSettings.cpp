#include "protocol/ReaderSettings.h"

#include <cctype>

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The `digits` digits after the first `key` that starts a word and whose
// digits are not followed by another digit; empty when there is none.
std::optional<std::string> Field(const std::string& report, const std::string& key,
                                 std::size_t digits) {
    for (std::size_t at = report.find(key); at != std::string::npos;
         at = report.find(key, at + 1)) {
        if (at > 0 && std::isalnum(static_cast<unsigned char>(report[at - 1])) != 0) {
            continue;
        }
        const std::size_t start = at + key.size();
        std::size_t end = start;
        while (end < report.size() && IsDigit(report[end])) {
            ++end;
        }
        if (end - start == digits) {
            return report.substr(start, digits);
        }
    }
    return std::nullopt;
}

std::optional<int> Number(const std::string& report, const std::string& key, std::size_t digits) {
    const std::optional<std::string> field = Field(report, key, digits);
    return field ? std::optional<int>(std::stoi(*field)) : std::nullopt;
}

}  // namespace

CReaderSettings CReaderSettings::FromReport(const std::string& report) {
    CReaderSettings settings;
    settings.id = Field(report, "ID:", 2);
    settings.mode = Number(report, "M:", 1);
    settings.numberFormat = Number(report, "F:", 1);
    settings.timeFormat = Number(report, "U:", 1);
    settings.delay = Number(report, "V:", 3);
    settings.opening = Number(report, "Z:", 3);
    settings.hold = Number(report, "H:", 3);
    return settings;
}

void CReaderSettings::ApplyReset() {
    delay = kFactoryDelay;
    opening = kFactoryOpening;
    hold = kFactoryHold;
}

void CReaderSettings::SetTiming(char letter, int seconds) {
    switch (letter) {
        case 'V':
            delay = seconds;
            break;
        case 'Z':
            opening = seconds;
            break;
        case 'H':
            hold = seconds;
            break;
        default:
            break;
    }
}
