#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "ProgramChecks.h"
#include "tools/emulator/ReaderDevice.h"

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

std::string Flat(const Reply& reply) {
    std::string bytes;
    for (const ReplyChunk& chunk : reply) {
        bytes += chunk.bytes;
    }
    return bytes;
}

// True when `text` has the shape of `pattern`: "9" stands for a decimal digit, "F" for an
// upper-case hexadecimal digit, "E" for an event code ("01" or "02" with its "0"); every other
// character stands for itself.
bool HasShape(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool digit = c >= '0' && c <= '9';
        switch (pattern[i]) {
            case '9':
                if (!digit) {
                    return false;
                }
                break;
            case 'F':
                if (!digit && !(c >= 'A' && c <= 'F')) {
                    return false;
                }
                break;
            case 'E':
                if (c != '1' && c != '2') {
                    return false;
                }
                break;
            default:
                if (c != pattern[i]) {
                    return false;
                }
        }
    }
    return true;
}

// Splits after each "\r\n".
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find("\r\n", start);
        end = end == std::string::npos ? text.size() : end + 2;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

// A device on a host clock that the test moves by hand.
class ReaderDeviceTest : public ::testing::Test {
protected:
    CReaderDevice& Make(ReaderModel model, unsigned records = 0) {
        EmulatorOptions options;
        options.model = model;
        options.seedRecords = records;
        options.progressInterval = 0us;
        options.resetDelay = 40ms;
        m_device.emplace(options, CReaderClock([this] { return m_now; }));
        return *m_device;
    }
    std::string Ask(const std::string& request) { return Flat(m_device->Answer(request)); }

    system_clock::time_point m_now = system_clock::now();
    std::optional<CReaderDevice> m_device;
};

TEST_F(ReaderDeviceTest, ClockReadsSetsAndRuns) {
    Make(ReaderModel::Basic);
    const std::string now = Ask("R");
    EXPECT_TRUE(checks::ClockRead(now));
    EXPECT_TRUE(HasShape(now, "99.99.99 99:99:99\r\n")) << now;

    const std::string echo = Ask("S071226140509");
    EXPECT_EQ(echo, "07.12.26 14:05:09\r\n");
    EXPECT_TRUE(checks::ClockSet(echo, "071226140509"));
    m_now += 65s;
    EXPECT_EQ(Ask("R"), "07.12.26 14:06:14\r\n");

    // Across the end of a leap February and of the year.
    EXPECT_EQ(Ask("S290228235959"), "29.02.28 23:59:59\r\n");
    m_now += 1s;
    EXPECT_EQ(Ask("R"), "01.03.28 00:00:00\r\n");
    Ask("S311299235959");
    m_now += 2s;
    EXPECT_EQ(Ask("R"), "01.01.00 00:00:01\r\n");
}

TEST_F(ReaderDeviceTest, InvalidClockSettingsAreRefusedAndKeepTheClock) {
    Make(ReaderModel::Basic);
    Ask("S010126080000");
    for (const char* bad : {"S290225120000", "S011326120000", "S320126120000", "S010126240000",
                            "S010126126000", "S01012612000a", "S000126120000"}) {
        const std::string reply = Ask(bad);
        EXPECT_EQ(reply, "ERROR\r\n") << bad;
        EXPECT_FALSE(checks::ClockSet(reply, std::string(bad).substr(1))) << bad;
    }
    EXPECT_EQ(Ask("R"), "01.01.26 08:00:00\r\n");
}

TEST_F(ReaderDeviceTest, RecordLinesFollowTheNumberAndTimeFormats) {
    Make(ReaderModel::Basic, 5);
    Ask("S071226140509");
    std::string records = Ask("L");
    EXPECT_TRUE(checks::RecordsRead(records));
    std::vector<std::string> lines = Lines(records);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.back(), "END\r\n");
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(HasShape(lines[i], "99.99.99 99:99:99:9 01 FFFFFFFF 0E\r\n")) << lines[i];
    }

    EXPECT_EQ(Ask("F1"), "F:1\r\n");
    EXPECT_EQ(Ask("U1"), "U:1\r\n");
    EXPECT_EQ(Ask("I07"), "ID:07\r\n");
    lines = Lines(Ask("L"));
    ASSERT_EQ(lines.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(HasShape(lines[i], "99.99.99 99:99:99 07 9999999999 0E\r\n")) << lines[i];
    }
}

TEST_F(ReaderDeviceTest, ClearingSendsProgressThenOkAndEmptiesTheStore) {
    Make(ReaderModel::Basic, 3);
    const Reply clear = m_device->Answer("C");
    const std::string bytes = Flat(clear);
    EXPECT_EQ(bytes, std::string(512, '.') + "OK\r\n");
    EXPECT_EQ(clear.size(), 513u);  // one piece per progress byte, so the bar can move
    EXPECT_TRUE(checks::ProgressDone(bytes));
    EXPECT_EQ(m_device->RecordCount(), 0u);
    EXPECT_EQ(Ask("L"), "END\r\n");

    Make(ReaderModel::Basic, 3);
    const std::string test = Ask("\xC8");
    EXPECT_EQ(test, std::string(1024, '.') + "OK\r\n");
    EXPECT_EQ(m_device->RecordCount(), 3u);  // the memory test keeps the records
}

TEST_F(ReaderDeviceTest, ParameterReportTellsTheModelsApart) {
    Make(ReaderModel::Basic);
    std::string report = Ask("P");
    EXPECT_TRUE(checks::ParametersRead(report));
    EXPECT_EQ(report.find("V:"), std::string::npos);
    EXPECT_EQ(report, "ID:01 M:0 F:0 U:0\r\n");

    Make(ReaderModel::Extended);
    report = Ask("P");
    EXPECT_TRUE(checks::ParametersRead(report));
    for (const char* value : {"V:003", "Z:005", "H:010", "ID:01", "M:0", "F:0", "U:0"}) {
        EXPECT_NE(report.find(value), std::string::npos) << value;
    }
    Ask("H020");
    Ask("V123");
    Ask("M3");
    report = Ask("P");
    EXPECT_NE(report.find("H:020"), std::string::npos);
    EXPECT_NE(report.find("V:123"), std::string::npos);
    EXPECT_NE(report.find("M:3"), std::string::npos);
}

TEST_F(ReaderDeviceTest, SettingsAreConfirmedAndRefusedValuesAreNot) {
    for (ReaderModel model : {ReaderModel::Basic, ReaderModel::Extended}) {
        Make(model);
        EXPECT_TRUE(checks::IdSet(Ask("I42"), "42"));
        EXPECT_TRUE(checks::DigitSet(Ask("M1"), "M:", "1"));
        EXPECT_TRUE(checks::DigitSet(Ask("F1"), "F:", "1"));
        EXPECT_TRUE(checks::DigitSet(Ask("U0"), "U:", "0"));
        EXPECT_TRUE(checks::TimingSet(Ask("H999"), "H", "999"));
        EXPECT_TRUE(checks::TimingSet(Ask("Z000"), "Z", "000"));
        EXPECT_TRUE(checks::TimingSet(Ask("V007"), "V", "007"));
        // Values the reader does not take are answered with the value it keeps.
        EXPECT_EQ(Ask("F7"), "F:1\r\n");
        EXPECT_EQ(Ask("H1x3"), "H:999\r\n");
        EXPECT_EQ(Ask("I\x01"
                      "5"),
                  "ID:42\r\n");
    }
    // Modes 2 and 3 exist only on the extended model.
    Make(ReaderModel::Basic);
    EXPECT_FALSE(checks::DigitSet(Ask("M3"), "M:", "3"));
    Make(ReaderModel::Extended);
    EXPECT_TRUE(checks::DigitSet(Ask("M3"), "M:", "3"));
}

TEST_F(ReaderDeviceTest, ResetRestoresFactoryValuesAndClearsKeysAfterADelay) {
    Make(ReaderModel::Extended);
    Ask("V100");
    Ask("Z200");
    Ask("H300");
    Ask("W\r\n1234\r\nX");
    const Reply reply = m_device->Answer("D");
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply.front().delay, 40ms);
    const std::string bytes = Flat(reply);
    // Exactly the 20 bytes the program waits for: nothing spills into the next reply.
    EXPECT_EQ(bytes.size(), 20u);
    EXPECT_TRUE(checks::ResetDone(bytes));
    EXPECT_TRUE(m_device->Keys().empty());
    EXPECT_EQ(Ask("P"), "V:003 Z:005 H:010 ID:01 M:0 F:0 U:0\r\n");
}

TEST_F(ReaderDeviceTest, KeyListIsWrittenAndReadFramed) {
    Make(ReaderModel::Extended);
    std::string keys;
    EXPECT_TRUE(checks::KeysRead(Ask("K"), keys));
    EXPECT_EQ(keys, "");

    EXPECT_TRUE(checks::KeysWritten(Ask("W\r\n0012ab34\r\n0001223476\r\n\r\nX")));
    EXPECT_EQ(m_device->Keys(), (std::vector<std::string>{"0012AB34", "0001223476"}));
    const std::string reply = Ask("K");
    EXPECT_EQ(reply, "S\r\n0012AB34\r\n0001223476\r\nX");
    EXPECT_TRUE(checks::KeysRead(reply, keys));
    EXPECT_EQ(keys, "0012AB34\r\n0001223476\r\n");

    // Bare line feeds separate lines too; the empty list clears.
    EXPECT_TRUE(checks::KeysWritten(Ask("W\r\n11\n22\r\nX")));
    EXPECT_EQ(m_device->Keys(), (std::vector<std::string>{"11", "22"}));
    EXPECT_TRUE(checks::KeysWritten(Ask("W\r\n\r\nX")));
    EXPECT_TRUE(m_device->Keys().empty());

    // A key that is no number, or too long, refuses the whole list and keeps the old one.
    Ask("W\r\n55\r\nX");
    EXPECT_FALSE(checks::KeysWritten(Ask("W\r\n66\r\nhello\r\nX")));
    EXPECT_FALSE(checks::KeysWritten(Ask("W\r\n12345678901\r\nX")));
    EXPECT_EQ(m_device->Keys(), std::vector<std::string>{"55"});
}

TEST_F(ReaderDeviceTest, TeachInReportsAndLearnsBadges) {
    Make(ReaderModel::Extended);
    Reply output;
    // Outside Teach IN in the default mode: recorded as refused, nothing sent.
    ASSERT_TRUE(m_device->PresentBadge("12ab34", output));
    EXPECT_TRUE(output.empty());
    EXPECT_EQ(m_device->RecordCount(), 1u);

    EXPECT_EQ(Ask("T"), "");
    EXPECT_TRUE(m_device->TeachIn());
    ASSERT_TRUE(m_device->PresentBadge("12AB34", output));
    EXPECT_EQ(Flat(output), "0012AB34\r\n");
    ASSERT_TRUE(m_device->PresentBadge("0012AB34", output));  // already known: not added twice
    EXPECT_EQ(m_device->Keys(), std::vector<std::string>{"0012AB34"});
    EXPECT_EQ(Ask("X"), "");
    EXPECT_FALSE(m_device->TeachIn());

    // A known badge is granted; the records show every event.
    ASSERT_TRUE(m_device->PresentBadge("12AB34", output));
    EXPECT_TRUE(output.empty());
    const std::string records = Ask("L");
    EXPECT_NE(records.find("0012AB34 02\r\n"), std::string::npos);
    EXPECT_NE(records.find("0012AB34 03\r\n"), std::string::npos);
    EXPECT_NE(records.find("0012AB34 01\r\n"), std::string::npos);

    // In the RS232 mode and in decimal, every badge is passed on as a decimal key line.
    Ask("M2");
    Ask("F1");
    ASSERT_TRUE(m_device->PresentBadge("FF", output));
    EXPECT_EQ(Flat(output), "0000000255\r\n");

    for (const char* bad : {"", "123456789", "12G4", "12 4"}) {
        EXPECT_FALSE(m_device->PresentBadge(bad, output)) << bad;
    }
}

TEST_F(ReaderDeviceTest, BasicTransparentModePassesBadgesOn) {
    Make(ReaderModel::Basic);
    Reply output;
    Ask("M1");
    ASSERT_TRUE(m_device->PresentBadge("1", output));
    EXPECT_EQ(Flat(output), "00000001\r\n");
}

TEST_F(ReaderDeviceTest, UnknownRequestsAreIgnored) {
    Make(ReaderModel::Extended, 2);
    for (const char* request : {"?", "A", "\x01", "\xFF", "X", "T"}) {
        EXPECT_EQ(Ask(request), "") << request;
    }
    EXPECT_EQ(m_device->RecordCount(), 2u);
}

}  // namespace
