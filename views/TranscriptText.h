#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

// The transcript as the editor holds it and as the file holds it. A CR LF
// pair is a line break; a CR or LF that arrives alone stays one byte in the
// file and is shown as its control picture, so that it is visible and maps
// back on saving. Every other byte is its Windows-1252 character.
class CTranscriptText {
public:
    static constexpr QChar kLoneCr{char16_t(0x240D)};  // SYMBOL FOR CARRIAGE RETURN
    static constexpr QChar kLoneLf{char16_t(0x240A)};  // SYMBOL FOR LINE FEED

    // File bytes to editor text ('\n' for each CR LF pair).
    static QString FromBytes(QByteArrayView bytes);
    // Editor text to file bytes; '\n' and the paragraph separator are CR LF.
    static QByteArray ToBytes(QStringView text);
    // The length of the text in file bytes (a line break counts two).
    static qsizetype ByteLength(QStringView text);
    // How many characters from the start of text fit into room file bytes.
    static qsizetype FittingLength(QStringView text, qsizetype room);
};
