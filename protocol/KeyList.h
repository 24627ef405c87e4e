#pragma once

#include <cstddef>
#include <string>

// The check a key list passes before it is sent with "W": every line that is
// not empty (blanks, CR and LF alone count as empty) holds 1 to 10 key
// digits, 0-9 and A-F in either case. Ten is the widest key number of both
// number formats (a 32-bit number has 8 hexadecimal or 10 decimal digits);
// a letter, blank or sign could end the request's frame early ("X") or
// reach the reader as a key it cannot store.
struct CKeyListCheck {
    bool ok = true;
    std::size_t line = 0;  // 1-based number of the first offending line
    std::string text;      // that line, without its line end
};

CKeyListCheck CheckKeyList(const std::string& list);
