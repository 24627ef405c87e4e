#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tools/emulator/EmulatorTypes.h"
#include "tools/emulator/ReplyFaults.h"

using namespace std::chrono_literals;

namespace {

std::string Flat(const Reply& reply) {
    std::string bytes;
    for (const ReplyChunk& chunk : reply) {
        bytes += chunk.bytes;
    }
    return bytes;
}

TEST(ReplyFaults, NoneAndHangUpLeaveTheReplyAlone) {
    const Reply reply{{5ms, "M:1\r\n"}};
    for (EmulatorFault fault : {EmulatorFault::None, EmulatorFault::HangUp}) {
        const Reply result = ApplyFault(fault, reply, 1s);
        ASSERT_EQ(result.size(), 1u);
        EXPECT_EQ(result[0].bytes, "M:1\r\n");
        EXPECT_EQ(result[0].delay, 5ms);
    }
    EXPECT_TRUE(ApplyFault(EmulatorFault::NoAnswer, reply, 1s).empty());
}

TEST(ReplyFaults, PauseSplitsTheReplyInTheMiddle) {
    Reply result = ApplyFault(EmulatorFault::PauseMidReply, {{0ms, "ID:01\r\n"}}, 800ms);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].bytes, "ID:");
    EXPECT_EQ(result[1].bytes, "01\r\n");
    EXPECT_EQ(result[1].delay, 800ms);

    // On a piece boundary the pause is added to the following piece's own delay.
    result = ApplyFault(EmulatorFault::PauseMidReply, {{0ms, "ab"}, {2ms, "cd"}}, 800ms);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[1].delay, 802ms);
    EXPECT_EQ(Flat(result), "abcd");

    // A one-byte reply pauses before its byte; an empty one stays empty.
    result = ApplyFault(EmulatorFault::PauseMidReply, {{0ms, "X"}}, 800ms);
    ASSERT_EQ(result.size(), 1u);
    EXPECT_EQ(result[0].delay, 800ms);
    EXPECT_TRUE(ApplyFault(EmulatorFault::PauseMidReply, {}, 800ms).empty());
}

TEST(ReplyFaults, WrongEchoChangesTheEchoedValue) {
    auto wrong = [](const std::string& bytes) {
        return Flat(ApplyFault(EmulatorFault::WrongEcho, {{0ms, bytes}}, 0ms));
    };
    EXPECT_EQ(wrong("07.12.26 14:05:09\r\n"), "07.12.26 14:05:00\r\n");
    EXPECT_EQ(wrong("ID:01\r\n"), "ID:02\r\n");
    EXPECT_EQ(wrong("H:010\r\n"), "H:011\r\n");
    // The first line with a digit: the first factory value of a reset report.
    EXPECT_EQ(wrong("V:003\r\nZ:005\r\n"), "V:004\r\nZ:005\r\n");
    EXPECT_EQ(wrong("S\r\n0012\r\nX"), "S\r\n0013\r\nX");
    EXPECT_EQ(wrong("OK\r\n"), "PK\r\n");
    EXPECT_EQ(wrong(""), "");
}

TEST(ReplyFaults, MissingEndDropsTheClosingPiece) {
    const Reply result =
        ApplyFault(EmulatorFault::MissingEnd, {{0ms, "rec 1\r\n"}, {0ms, "END\r\n"}}, 0ms);
    EXPECT_EQ(Flat(result), "rec 1\r\n");
    EXPECT_TRUE(ApplyFault(EmulatorFault::MissingEnd, {}, 0ms).empty());
}

TEST(ReplyFaults, GarbageKeepsLengthAndTimingButNotTheBytes) {
    const Reply reply{{0ms, "07.12.26 14:05:09\r\n"}, {3ms, std::string(64, '.')}};
    const Reply result = ApplyFault(EmulatorFault::Garbage, reply, 0ms);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].bytes.size(), reply[0].bytes.size());
    EXPECT_EQ(result[1].bytes.size(), 64u);
    EXPECT_EQ(result[1].delay, 3ms);
    EXPECT_NE(result[0].bytes, reply[0].bytes);
    EXPECT_EQ(result[1].bytes.find("...."), std::string::npos);
}

TEST(ReplyFaults, NamesRoundTrip) {
    for (EmulatorFault fault :
         {EmulatorFault::None, EmulatorFault::NoAnswer, EmulatorFault::PauseMidReply,
          EmulatorFault::WrongEcho, EmulatorFault::MissingEnd, EmulatorFault::Garbage,
          EmulatorFault::HangUp}) {
        EmulatorFault parsed = EmulatorFault::None;
        ASSERT_TRUE(ParseFaultName(FaultName(fault), parsed)) << FaultName(fault);
        EXPECT_EQ(parsed, fault);
    }
    EmulatorFault unchanged = EmulatorFault::Garbage;
    EXPECT_FALSE(ParseFaultName("sometimes", unchanged));
    EXPECT_EQ(unchanged, EmulatorFault::Garbage);
}

}  // namespace
