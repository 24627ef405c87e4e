// Each reader command against scripted answers: the request bytes, the
// verdict, the out-parameter and the busy cursor.
#include <functional>
#include <optional>

#include "ProtocolTestSupport.h"

namespace {
using Run = std::function<bool(CReaderProtocol&, std::string& out)>;

const char kUntouched[] = "untouched";

struct JudgementCase {
    const char* name;
    Run run;
    std::string request;  // empty: nothing may be sent
    Reply answer;
    bool verdict;
    std::optional<std::string> out;  // nullopt: the out-parameter keeps its value
    bool busyCursor = true;
};

void PrintTo(const JudgementCase& c, std::ostream* os) {
    *os << c.name;
}

Run ReadClock() {
    return [](CReaderProtocol& p, std::string& out) { return p.ReadClock(out); };
}
Run SetClock(std::string digits) {
    return [digits](CReaderProtocol& p, std::string&) { return p.SetClock(digits); };
}
Run ReadRecords() {
    return [](CReaderProtocol& p, std::string& out) { return p.ReadRecords(out); };
}
Run ClearBuffer() {
    return [](CReaderProtocol& p, std::string&) { return p.ClearBuffer(); };
}
Run MemoryTest() {
    return [](CReaderProtocol& p, std::string&) { return p.MemoryTest(); };
}
Run ReadParameters() {
    return [](CReaderProtocol& p, std::string& out) { return p.ReadParameters(out); };
}
Run SetId(std::string id) {
    return [id](CReaderProtocol& p, std::string&) { return p.SetId(id); };
}
Run SetMode(std::string digit) {
    return [digit](CReaderProtocol& p, std::string&) { return p.SetMode(digit); };
}
Run SetNumberFormat(std::string digit) {
    return [digit](CReaderProtocol& p, std::string&) { return p.SetNumberFormat(digit); };
}
Run SetTimeFormat(std::string digit) {
    return [digit](CReaderProtocol& p, std::string&) { return p.SetTimeFormat(digit); };
}
Run SetTimingValue(std::string prefix, std::string value) {
    return [prefix, value](CReaderProtocol& p, std::string&) {
        return p.SetTimingValue(prefix, value);
    };
}
Run ResetParameters() {
    return [](CReaderProtocol& p, std::string&) { return p.ResetParameters(); };
}
Run ReadKeys() {
    return [](CReaderProtocol& p, std::string& out) { return p.ReadKeys(out); };
}
Run WriteKeys(std::string list) {
    return [list](CReaderProtocol& p, std::string&) { return p.WriteKeys(list); };
}

Reply Say(std::string bytes) {
    return {{Ms(0), std::move(bytes)}};
}
const Reply kSilence;
const std::string kRecords = "0001 07.12.26 14:05:09\r\n0002 07.12.26 14:06:10\r\n";

const JudgementCase kCases[] = {
    // Clock: raw length 16 is the minimum; line ends are removed from the text.
    {"ReadClock_15BytesRefused", ReadClock(), "R", Say("07.12.26 14:05\r"), false, {}, false},
    {"ReadClock_16BytesGive14Chars", ReadClock(), "R", Say("07.12.26 14:05\r\n"), true,
     "07.12.26 14:05", false},
    {"ReadClock_LineEndsInsideRemoved", ReadClock(), "R", Say("\r\n07.12.26\r\n14:05:09\r\n"), true,
     "07.12.2614:05:09", false},
    {"ReadClock_NoAnswer", ReadClock(), "R", kSilence, false, {}, false},
    {"SetClock_EchoWithSeparators",
     SetClock("071226140509"),
     "S071226140509",
     Say("07.12.26 14:05:09\r\n"),
     true,
     {}},
    {"SetClock_EchoFollowedByMore",
     SetClock("071226140509"),
     "S071226140509",
     Say("07.12.26 14:05:09 Mo\r\n"),
     true,
     {}},
    {"SetClock_OneDigitDiffers",
     SetClock("071226140509"),
     "S071226140509",
     Say("07.12.26 14:05:08\r\n"),
     false,
     {}},
    {"SetClock_MatchingButShort",
     SetClock("071226140509"),
     "S071226140509",
     Say("071226140509\r\n"),
     false,
     {}},
    {"SetClock_OtherSeparatorRefused",
     SetClock("071226140509"),
     "S071226140509",
     Say("07/12/26 14:05:09\r\n"),
     false,
     {}},
    {"SetClock_ElevenDigitsSendNothing", SetClock("07122614050"), "", kSilence, false, {}, false},

    // Records: the text must end with "END\r\n" exactly; the out text is always written.
    {"ReadRecords_Stream", ReadRecords(), "L", Say(kRecords + "END\r\n"), true,
     kRecords + "END\r\n"},
    {"ReadRecords_EndWithoutCarriageReturn", ReadRecords(), "L", Say(kRecords + "END\n"), false,
     kRecords + "END\n"},
    {"ReadRecords_ExactlyEnd", ReadRecords(), "L", Say("END\r\n"), true, "END\r\n"},
    {"ReadRecords_TextAfterEnd", ReadRecords(), "L", Say("END\r\n\r\n"), false, "END\r\n\r\n"},
    {"ReadRecords_ZeroByteEndsText", ReadRecords(), "L", Say(Text({'0', '1', 0}) + "END\r\n"),
     false, "01"},
    {"ReadRecords_NoAnswerStillWritesOut", ReadRecords(), "L", kSilence, false, ""},

    // Clear and memory test: "OK" at raw positions n-4 and n-3, with n > 4.
    {"ClearBuffer_BareOkRefused", ClearBuffer(), "C", Say("OK\r\n"), false, {}},
    {"ClearBuffer_ProgressThenOk", ClearBuffer(), "C", Say("................OK\r\n"), true, {}},
    {"ClearBuffer_ZeroProgressBytes",
     ClearBuffer(),
     "C",
     Say(Text({0, 0, 'O', 'K', 13, 10})),
     true,
     {}},
    {"ClearBuffer_OkWithoutLineEnd", ClearBuffer(), "C", Say("......OK"), false, {}},
    {"MemoryTest_SingleByteRequest", MemoryTest(), "\xC8", Say("........OK\r\n"), true, {}},
    {"MemoryTest_BareOkRefused", MemoryTest(), "\xC8", Say("OK\r\n"), false, {}},

    // Parameter report: more than 16 characters of reply text.
    {"ReadParameters_17Chars", ReadParameters(), "P", Say("ID:01 M:1 F:0 U:0"), true,
     "ID:01 M:1 F:0 U:0"},
    {"ReadParameters_16CharsRefused", ReadParameters(), "P", Say("ID:01 M:1 F:0 U:"), false,
     "ID:01 M:1 F:0 U:"},
    {"ReadParameters_ZeroByteCountsAsEnd", ReadParameters(), "P",
     Say(Text({'I', 'D', ':', '0', '1', 0}) + " M:1 F:0 U:0 V:003\r\n"), false, "ID:01"},

    // ID, mode and formats: raw length, prefix, and the argument as the tail.
    {"SetId_OneCharSendsNothing", SetId("0"), "", kSilence, false, {}, false},
    {"SetId_Confirmed", SetId("01"), "I01", Say("ID:01\r\n"), true, {}},
    {"SetId_OtherDigitsRefused", SetId("01"), "I01", Say("ID:02\r\n"), false, {}},
    {"SetId_MissingColonRefused", SetId("01"), "I01", Say("ID01\r\n"), false, {}},
    {"SetId_LongerIdNeverConfirmed", SetId("012"), "I012", Say("ID:012\r\n"), false, {}},
    {"SetMode_Confirmed", SetMode("1"), "M1", Say("M:1\r\n"), true, {}},
    {"SetMode_MissingColonRefused", SetMode("1"), "M1", Say("M1\r\n"), false, {}},
    {"SetMode_TwoByteAnswerRefused", SetMode("1"), "M1", Say(":1"), false, {}},
    {"SetMode_OtherDigitRefused", SetMode("1"), "M1", Say("M:2\r\n"), false, {}},
    {"SetMode_EmptySendsNothing", SetMode(""), "", kSilence, false, {}, false},
    {"SetNumberFormat_Confirmed", SetNumberFormat("0"), "F0", Say("F:0\r\n"), true, {}},
    {"SetNumberFormat_WrongPrefix", SetNumberFormat("1"), "F1", Say("U:1\r\n"), false, {}},
    {"SetTimeFormat_Confirmed", SetTimeFormat("1"), "U1", Say("U:1\r\n"), true, {}},
    {"SetTimeFormat_EmptySendsNothing", SetTimeFormat(""), "", kSilence, false, {}, false},

    // Timing values: begins with the prefix, ends with the value.
    {"SetTimingValue_Confirmed", SetTimingValue("V", "003"), "V003", Say("V:003\r\n"), true, {}},
    {"SetTimingValue_OtherValueRefused",
     SetTimingValue("V", "003"),
     "V003",
     Say("V:030\r\n"),
     false,
     {}},
    {"SetTimingValue_OtherPrefixRefused",
     SetTimingValue("H", "010"),
     "H010",
     Say("Z:010\r\n"),
     false,
     {}},
    {"SetTimingValue_NoLineEnd", SetTimingValue("Z", "005"), "Z005", Say("Z:005"), true, {}},

    // Reset: three factory values anywhere, among what has arrived at the 20th byte.
    {"ResetParameters_AnyOrder", ResetParameters(), "D", Say("V:003 H:010 Z:005 ok\r\n"), true, {}},
    {"ResetParameters_OneDifferent",
     ResetParameters(),
     "D",
     Say("H:010 Z:005 V:004 ....\r\n"),
     false,
     {}},
    {"ResetParameters_LateTextIgnored",
     ResetParameters(),
     "D",
     {{Ms(0), "V:003 Z:005 ---------\r\n"}, {Ms(400), "H:010\r\n"}},
     false,
     {}},

    // Keys: "S\r\n" and "X" removed, both must have been there; the text is always written.
    {"ReadKeys_Framed", ReadKeys(), "K", Say("S\r\n00001234\r\n00005678\r\nX"), true,
     "00001234\r\n00005678\r\n"},
    {"ReadKeys_NoStartLine", ReadKeys(), "K", Say("00001234\r\nX"), false, "00001234\r\n"},
    {"ReadKeys_NoEnd", ReadKeys(), "K", Say("S\r\n00001234\r\n"), false, "00001234\r\n"},
    {"ReadKeys_NoAnswer", ReadKeys(), "K", kSilence, false, ""},
    {"WriteKeys_TrailingLineEndsTrimmed",
     WriteKeys("00001234\r\n00005678\r\n\r\n\n"),
     "W\r\n00001234\r\n00005678\r\nX",
     Say("OK\r\n"),
     true,
     {}},
    {"WriteKeys_EmptyList", WriteKeys(""), "W\r\n\r\nX", Say("OK\r\n"), true, {}},
    {"WriteKeys_LineEndsAroundOk", WriteKeys("1"), "W\r\n1\r\nX", Say("\r\nOK\r\n"), true, {}},
    {"WriteKeys_OkThenTextRefused", WriteKeys("1"), "W\r\n1\r\nX", Say("OK more\r\n"), false, {}},
};

class CommandJudgementTest : public LinkedProtocolTest,
                             public ::testing::WithParamInterface<JudgementCase> {};

TEST_P(CommandJudgementTest, RequestVerdictOutAndCursor) {
    const JudgementCase& c = GetParam();
    AnswerWith(c.answer);

    std::string out = kUntouched;
    EXPECT_EQ(c.run(Protocol(), out), c.verdict);
    EXPECT_EQ(out, c.out.value_or(kUntouched));

    if (c.request.empty()) {
        EXPECT_FALSE(Emulator().WaitForRequests(1, Ms(100)));
        EXPECT_EQ(Emulator().ReceivedBytes(), "");
    } else {
        ASSERT_TRUE(Emulator().WaitForRequests(1, Ms(2000)));
        EXPECT_EQ(Emulator().ReceivedBytes(), c.request);
    }

    EXPECT_EQ(m_ui.begins, m_ui.ends);
    if (c.busyCursor) {
        EXPECT_EQ(m_ui.begins, 1);
        EXPECT_GE(m_ui.restores, 1);
    } else {
        EXPECT_EQ(m_ui.begins + m_ui.restores + m_ui.ends, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandJudgementTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
}  // namespace
