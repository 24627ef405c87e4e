#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>

// The Windows-1252 code page, in both directions. Every byte has a character:
// the five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// stand for the control characters of the same number, so decoding and
// encoding again gives back every byte unchanged.
class CCp1252 {
public:
    static QChar ToChar(uint8_t byte);
    // False when the character has no byte in the code page.
    static bool FromChar(QChar ch, uint8_t& byte);

    static QString Decode(QByteArrayView bytes);
    // Characters outside the code page become '?'.
    static QByteArray Encode(QStringView text);
};
