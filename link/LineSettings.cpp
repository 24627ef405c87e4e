#include "link/LineSettings.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool ParseNumber(const std::string& text, uint32_t& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

bool BuildLineSettings(const std::string& definition, CLineSettings& settings) {
    CLineSettings result = settings;
    std::istringstream words(definition);
    std::string word;
    while (words >> word) {
        const size_t eq = word.find('=');
        if (eq == std::string::npos || eq + 1 == word.size()) {
            return false;
        }
        const std::string key = Lower(word.substr(0, eq));
        const std::string value = word.substr(eq + 1);
        uint32_t number = 0;
        if (key == "baud") {
            if (!ParseNumber(value, number) || number == 0) {
                return false;
            }
            result.baudRate = number;
        } else if (key == "parity") {
            const char p = static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
            if (value.size() != 1 || std::string("NEOMS").find(p) == std::string::npos) {
                return false;
            }
            result.parity = p;
        } else if (key == "data") {
            if (!ParseNumber(value, number) || number < 5 || number > 8) {
                return false;
            }
            result.dataBits = static_cast<uint8_t>(number);
        } else if (key == "stop") {
            if (!ParseNumber(value, number) || (number != 1 && number != 2)) {
                return false;
            }
            result.stopBits = static_cast<uint8_t>(number);
        } else {
            return false;
        }
    }
    settings = result;
    return true;
}

std::string FormatLineDefinition(unsigned baudRate, char parity, unsigned dataBits,
                                 unsigned stopBits) {
    char text[96];
    std::snprintf(text, sizeof text, "baud=%d parity=%c data=%d stop=%d",
                  static_cast<int>(baudRate), parity, static_cast<int>(dataBits),
                  static_cast<int>(stopBits));
    return text;
}
