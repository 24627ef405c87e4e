#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "tools/emulator/RequestFramer.h"

using namespace std::chrono_literals;

namespace {

using Clock = CRequestFramer::Clock;

std::vector<std::string> FeedAll(CRequestFramer& framer, const std::string& bytes,
                                 Clock::time_point now) {
    std::vector<std::string> requests;
    for (char byte : bytes) {
        if (std::optional<std::string> request = framer.Feed(byte, now)) {
            requests.push_back(*request);
        }
    }
    return requests;
}

TEST(RequestFramer, EachCommandTakesItsArguments) {
    CRequestFramer framer(200ms);
    const Clock::time_point now{};
    const std::string stream = std::string("RS071226140509LC\xC8PIabM0F1U0H010Z005V003DKTX") +
                               "W\r\n\r\nX" + "W\r\n1\r\nX\r\nX" + "\x05";
    const std::vector<std::string> expected{"R",           "S071226140509",
                                            "L",           "C",
                                            "\xC8",        "P",
                                            "Iab",         "M0",
                                            "F1",          "U0",
                                            "H010",        "Z005",
                                            "V003",        "D",
                                            "K",           "T",
                                            "X",           "W\r\n\r\nX",
                                            "W\r\n1\r\nX", "\r",
                                            "\n",          "X",
                                            "\x05"};
    EXPECT_EQ(FeedAll(framer, stream, now), expected);
    EXPECT_FALSE(framer.Pending());
}

TEST(RequestFramer, ArgumentCharactersAreTakenAsTheyCome) {
    CRequestFramer framer(200ms);
    // Argument characters are not interpreted: a command letter inside them is an argument.
    EXPECT_EQ(FeedAll(framer, "IRLH", {}), std::vector<std::string>{"IRL"});
    EXPECT_TRUE(framer.Pending());
    EXPECT_EQ(FeedAll(framer, "0X1", {}), std::vector<std::string>{"H0X1"});
}

TEST(RequestFramer, IncompleteRequestExpiresOnlyAfterTheTimeout) {
    CRequestFramer framer(200ms);
    const Clock::time_point start{};
    EXPECT_FALSE(framer.Deadline().has_value());
    EXPECT_TRUE(FeedAll(framer, "S0712", start).empty());
    // Each byte restarts the time-out.
    EXPECT_TRUE(FeedAll(framer, "26", start + 150ms).empty());
    ASSERT_TRUE(framer.Deadline().has_value());
    EXPECT_EQ(*framer.Deadline(), start + 350ms);
    EXPECT_FALSE(framer.Expire(start + 340ms).has_value());
    EXPECT_FALSE(framer.Expire(start + 350ms).has_value());
    EXPECT_EQ(framer.Expire(start + 351ms), std::optional<std::string>("S071226"));
    EXPECT_FALSE(framer.Pending());
    EXPECT_FALSE(framer.Expire(start + 2s).has_value());
    // The next byte starts a new request.
    EXPECT_EQ(FeedAll(framer, "R", start + 2s), std::vector<std::string>{"R"});
}

TEST(RequestFramer, OversizedKeyBlockIsSwallowedWhole) {
    CRequestFramer framer(200ms);
    std::string block = "W\r\n";
    while (block.size() <= CRequestFramer::kMaxKeyBlock + 100) {
        block += "12345678\r\n";
    }
    block += "\r\nX";
    EXPECT_TRUE(FeedAll(framer, block, {}).empty());
    EXPECT_FALSE(framer.Pending());
    // Framing goes on normally afterwards, also for a key block that fits.
    EXPECT_EQ(FeedAll(framer, "KW\r\n1\r\nX", {}), (std::vector<std::string>{"K", "W\r\n1\r\nX"}));
}

}  // namespace
