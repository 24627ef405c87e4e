#include <gtest/gtest.h>

#include "views/Cp1252.h"
#include "views/TranscriptText.h"

namespace {

QByteArray AllBytes() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    return bytes;
}

TEST(TranscriptCp1252, EveryByteHasOneCharacterAndComesBack) {
    const QByteArray bytes = AllBytes();
    const QString text = CCp1252::Decode(bytes);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(CCp1252::Encode(text), bytes);
    // A few characters of the table, the unassigned five among them.
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x81], QChar(0x0081));
    EXPECT_EQ(text[0x8A], QChar(0x0160));
    EXPECT_EQ(text[0x8D], QChar(0x008D));
    EXPECT_EQ(text[0x8F], QChar(0x008F));
    EXPECT_EQ(text[0x90], QChar(0x0090));
    EXPECT_EQ(text[0x93], QChar(0x201C));
    EXPECT_EQ(text[0x9D], QChar(0x009D));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0xA0], QChar(0x00A0));
    EXPECT_EQ(text[0xE4], QChar(0x00E4));
    EXPECT_EQ(text[0xFF], QChar(0x00FF));
}

TEST(TranscriptCp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    uint8_t byte = 0;
    EXPECT_FALSE(CCp1252::FromChar(QChar(0x0080), byte));  // 0x80 is the euro sign
    EXPECT_FALSE(CCp1252::FromChar(QChar(0x0100), byte));
    EXPECT_TRUE(CCp1252::FromChar(QChar(0x20AC), byte));
    EXPECT_EQ(byte, 0x80);
    EXPECT_EQ(CCp1252::Encode(QString::fromUtf8("a\u4E2Db\u20AC")), QByteArray("a?b\x80"));
}

TEST(TranscriptText, LineBreakKindsMapBothWays) {
    const QByteArray bytes("one\r\ntwo\rthree\nfour\r\r\n\n\r");
    const QString text = CTranscriptText::FromBytes(bytes);
    const QString cr(CTranscriptText::kLoneCr);
    const QString lf(CTranscriptText::kLoneLf);
    EXPECT_EQ(text, "one\ntwo" + cr + "three" + lf + "four" + cr + "\n" + lf + cr);
    EXPECT_EQ(CTranscriptText::ToBytes(text), bytes);
    EXPECT_EQ(CTranscriptText::ByteLength(text), bytes.size());
    // The editor's paragraph separator is a line break as well.
    EXPECT_EQ(CTranscriptText::ToBytes(QString("a") + QChar::ParagraphSeparator + "b"),
              QByteArray("a\r\nb"));
}

TEST(TranscriptText, EveryByteSequenceSurvivesTheRoundTrip) {
    QByteArray bytes = AllBytes() + "\r\n" + AllBytes() + "\n\r" + "<02>X<03>\r\n";
    EXPECT_EQ(CTranscriptText::ToBytes(CTranscriptText::FromBytes(bytes)), bytes);
}

TEST(TranscriptText, FittingLengthCountsALineBreakAsTwo) {
    EXPECT_EQ(CTranscriptText::FittingLength(QStringLiteral("ab\ncd"), 3), 2);
    EXPECT_EQ(CTranscriptText::FittingLength(QStringLiteral("ab\ncd"), 4), 3);
    EXPECT_EQ(CTranscriptText::FittingLength(QStringLiteral("ab\ncd"), 100), 5);
    EXPECT_EQ(CTranscriptText::FittingLength(QStringLiteral("ab"), 0), 0);
}

}  // namespace
