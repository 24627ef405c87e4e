#include "protocol/KeyList.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t kMaxKeyDigits = 10;

bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

CKeyListCheck CheckKeyList(const std::string& list) {
    std::size_t start = 0;
    for (std::size_t number = 1; start <= list.size(); ++number) {
        std::size_t end = list.find('\n', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string line = list.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const bool empty = std::all_of(line.begin(), line.end(), [](char c) {
            return IsBlank(static_cast<unsigned char>(c));
        });
        const bool key =
            line.size() <= kMaxKeyDigits && std::all_of(line.begin(), line.end(), [](char c) {
                return std::isxdigit(static_cast<unsigned char>(c)) != 0;
            });
        if (!empty && !key) {
            return {false, number, line};
        }
        start = end + 1;
    }
    return {};
}
