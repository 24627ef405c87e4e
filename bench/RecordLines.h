#pragma once

#include <cstdio>
#include <string>

// Record lines as the reader sends them ("DD.MM.YY hh:mm:ss:t 01 <key> 0<n>"
// and CR LF), exactly total bytes long; the last line is cut short if need
// be and still ends with CR LF.
inline std::string RecordLines(size_t total) {
    std::string lines;
    for (unsigned n = 0; lines.size() < total; ++n) {
        char line[64];
        std::snprintf(line, sizeof line, "%02u.%02u.24 %02u:%02u:%02u:%u 01 %08X 0%u\r\n",
                      n % 28 + 1, n / 28 % 12 + 1, n / 3600 % 24, n / 60 % 60, n % 60, n % 10,
                      0x1A0000u + n * 7919u % 0x5FFFFu, n % 3 + 1);
        lines += line;
    }
    lines.resize(total - 2);
    lines += "\r\n";
    return lines;
}
