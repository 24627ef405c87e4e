#include <gtest/gtest.h>

#include "protocol/KeyList.h"

namespace {

// Lists that may go to the reader, and the first line of those that may not.
TEST(KeyList, OnlyLinesOfKeyDigitsPassAndTheFirstOtherLineIsNamed) {
    struct Case {
        std::string list;
        std::size_t badLine;  // 0: the list passes
        std::string badText;
    };
    const Case cases[] = {
        {"", 0, ""},
        {"0012AB34\r\n4294967295\n\n  \nabcdef\r\n", 0, ""},
        {"hello 123456789", 1, "hello 123456789"},
        {"1234\nX\n5678", 2, "X"},
        {"1234\r\n12345678901\r\n", 2, "12345678901"},
        {"1234\n 5678\n", 2, " 5678"},
        {"1234\n-1\n+2\n", 2, "-1"},
        {std::string("12\n3\x00"
                     "4\n",
                     7),
         2,
         std::string("3\x00"
                     "4",
                     3)},
    };
    for (const Case& c : cases) {
        const CKeyListCheck check = CheckKeyList(c.list);
        EXPECT_EQ(check.ok, c.badLine == 0) << c.list;
        EXPECT_EQ(check.line, c.badLine) << c.list;
        EXPECT_EQ(check.text, c.badText) << c.list;
    }
}

}  // namespace
