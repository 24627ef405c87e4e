// Piece assembly of the display hook: pieces stay inside their buffer, end
// where they must, and together render every received byte.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "views/EchoPiece.h"

namespace {

std::string Rendering(const uint8_t* data, size_t size) {
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t c = data[i];
        if (c >= 0x20 || c == '\r' || c == '\n') {
            text += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            text += hex;
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the size of the hook's buffer, so that any write beyond it is caught.
    std::vector<char> line(260);
    int32_t length = 0;
    std::string joined;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t c = data[i];
        const bool control = c < 0x20;
        const int32_t before = length;
        const bool finished = AppendEchoByte(line.data(), length, c);
        const bool escaped = control && c != '\r' && c != '\n';
        FuzzCheck(length == before + (escaped ? 4 : 1));
        FuzzCheck(length <= 259);
        if (finished) {
            FuzzCheck(control || length >= 256);
            FuzzCheck(line[length] == '\0');
            FuzzCheck(std::memchr(line.data(), '\0', length) == nullptr);
            joined.append(line.data(), length);
            length = 0;
        } else {
            FuzzCheck(!control && length < 256);
        }
    }
    joined.append(line.data(), length);
    FuzzCheck(joined == Rendering(data, size));
    return 0;
}
