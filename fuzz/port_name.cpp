// Port name normalisation: COM names become "\\.\COM<n>", everything else
// (FTDI serial numbers) stays as it is, and the result is stable.
#include <strings.h>

#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "link/SerialEngine.h"

namespace {

const std::string kPrefix = "\\\\.\\COM";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "COM" in any letter case, optionally after "\\.\", then a digit 1 to 9.
bool LooksLikeCom(const std::string& name) {
    const size_t p = name.starts_with("\\\\.\\") ? 4 : 0;
    return name.size() >= p + 4 && ::strncasecmp(name.c_str() + p, "com", 3) == 0 &&
           name[p + 3] >= '1' && name[p + 3] <= '9';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string original(reinterpret_cast<const char*>(data), size);
    std::string name = original;
    const bool com = CSerialEngine::NormalizePortName(name);
    FuzzCheck(com == LooksLikeCom(original));
    if (!com) {
        FuzzCheck(name == original);
        return 0;
    }
    FuzzCheck(name.starts_with(kPrefix) && name.size() > kPrefix.size());
    const std::string number = name.substr(kPrefix.size());
    FuzzCheck(number[0] >= '1' && number[0] <= '9');
    for (char c : number) {
        FuzzCheck(IsDigit(c));
    }
    // The number is the whole digit run after "COM" in the original name.
    const size_t at = original.find_first_of("123456789");
    FuzzCheck(original.compare(at, number.size(), number) == 0);
    FuzzCheck(at + number.size() == original.size() || !IsDigit(original[at + number.size()]));
    std::string again = name;
    FuzzCheck(CSerialEngine::NormalizePortName(again) && again == name);
    return 0;
}
