#include "views/TranscriptText.h"

#include "views/Cp1252.h"

QString CTranscriptText::FromBytes(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            text += QLatin1Char('\n');
            ++i;
        } else if (c == '\r') {
            text += kLoneCr;
        } else if (c == '\n') {
            text += kLoneLf;
        } else {
            text += CCp1252::ToChar(static_cast<uint8_t>(c));
        }
    }
    return text;
}

QByteArray CTranscriptText::ToBytes(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size() + text.size() / 32);
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\n') || ch == QChar::ParagraphSeparator) {
            bytes += "\r\n";
        } else if (ch == kLoneCr) {
            bytes += '\r';
        } else if (ch == kLoneLf) {
            bytes += '\n';
        } else {
            uint8_t byte = 0;
            bytes += CCp1252::FromChar(ch, byte) ? static_cast<char>(byte) : '?';
        }
    }
    return bytes;
}

qsizetype CTranscriptText::ByteLength(QStringView text) {
    qsizetype length = text.size();
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\n') || ch == QChar::ParagraphSeparator) {
            ++length;
        }
    }
    return length;
}

qsizetype CTranscriptText::FittingLength(QStringView text, qsizetype room) {
    qsizetype count = 0;
    for (const QChar ch : text) {
        const qsizetype need = (ch == QLatin1Char('\n') || ch == QChar::ParagraphSeparator) ? 2 : 1;
        if (need > room) {
            break;
        }
        room -= need;
        ++count;
    }
    return count;
}
