#include "views/EchoPiece.h"

bool AppendEchoByte(char* line, int32_t& length, uint8_t c) {
    if (c >= 0x20 || c == '\r' || c == '\n') {
        line[length] = static_cast<char>(c);
    } else {
        static const char kDigits[] = "0123456789ABCDEF";
        line[length] = '<';
        line[length + 1] = kDigits[c >> 4];
        line[length + 2] = kDigits[c & 0x0F];
        line[length + 3] = '>';
        length += 3;
    }
    ++length;
    if (length <= 255 && c >= 0x20) {
        return false;
    }
    line[length] = '\0';
    return true;
}
