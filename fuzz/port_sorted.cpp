// Sorted insertion of port list entries: every entry goes in, and the list
// ends up in the order of a stable sort by port number.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "link/PortDiscovery.h"

namespace {

// The port number of an entry: the decimal digits after "\\.\COM" (from the
// eighth character on), no longer read once beyond 32 bits.
unsigned long long PortNumber(const std::string& entry) {
    unsigned long long value = 0;
    for (size_t i = 7; i < entry.size() && entry[i] >= '0' && entry[i] <= '9'; ++i) {
        value = value * 10 + static_cast<unsigned>(entry[i] - '0');
        if (value > 0xFFFFFFFFull) {
            break;
        }
    }
    return value;
}

}  // namespace

// The first byte says whether the entries get the device prefix; the rest
// holds the entries, one per line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string prefix = (data[0] & 1) != 0 ? "\\\\.\\COM" : "";
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) {
            end = input.size();
        }
        entries.push_back(prefix + input.substr(start, end - start));
        start = end + 1;
    }

    std::vector<std::string> list;
    for (const std::string& entry : entries) {
        const size_t before = list.size();
        CPortDiscovery::InsertPortSorted(list, entry);
        FuzzCheck(list.size() == before + 1);
        FuzzCheck(std::find(list.begin(), list.end(), entry) != list.end());
        FuzzCheck(std::is_sorted(list.begin(), list.end(), [](const auto& a, const auto& b) {
            return PortNumber(a) < PortNumber(b);
        }));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return PortNumber(a) < PortNumber(b); });
    FuzzCheck(list == entries);
    return 0;
}
