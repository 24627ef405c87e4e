// Transcript codec: every byte string survives the way into the editor and
// back, and the byte lengths the editor works with agree with the file.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "views/Cp1252.h"
#include "views/TranscriptText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString text = CTranscriptText::FromBytes(bytes);
    FuzzCheck(CTranscriptText::ToBytes(text) == bytes);
    FuzzCheck(CTranscriptText::ByteLength(text) == bytes.size());
    FuzzCheck(CCp1252::Encode(CCp1252::Decode(bytes)) == bytes);

    // The characters that fit into room bytes are the longest start of the
    // text that does, and they are the start of the file bytes.
    const qsizetype room = size == 0 ? 0 : data[0] % (bytes.size() + 2);
    const qsizetype fitting = CTranscriptText::FittingLength(text, room);
    FuzzCheck(fitting >= 0 && fitting <= text.size());
    const QStringView head = QStringView(text).first(fitting);
    const qsizetype headBytes = CTranscriptText::ByteLength(head);
    FuzzCheck(headBytes <= room);
    FuzzCheck(fitting == text.size() ||
              CTranscriptText::ByteLength(QStringView(text).first(fitting + 1)) > room);
    FuzzCheck(CTranscriptText::ToBytes(head) == bytes.first(headBytes));
    return 0;
}
