#pragma once

#include <cstdint>

// Adds one received byte to the piece in line (length characters so far,
// room for 260). True when the piece is finished: then line holds it,
// terminated, and length is its length; the caller starts the next piece at 0.
bool AppendEchoByte(char* line, int32_t& length, uint8_t c);
