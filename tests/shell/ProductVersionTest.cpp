#include <gtest/gtest.h>

#include "shell/ProductVersion.h"

namespace {

TEST(ProductVersion, BuildCompilesInTheProjectVersion) {
    EXPECT_EQ(GetProductVersion(), "1.03");
}

TEST(ProductVersion, MissingEmptyOrOverlongVersionReadsAsPlaceholder) {
    EXPECT_EQ(GetProductVersion(nullptr), "1.xx");
    EXPECT_EQ(GetProductVersion(""), "1.xx");
    EXPECT_EQ(GetProductVersion("1.03.0000.0000.00000"), "1.xx");  // 20 characters
    EXPECT_EQ(GetProductVersion("1.03 preview build 7 of many"), "1.xx");
    // Up to 19 characters the version is taken as it stands.
    EXPECT_EQ(GetProductVersion("2.10.0000.0000.0000"), "2.10.0000.0000.0000");  // 19
    EXPECT_EQ(GetProductVersion("1.0ä"), "1.0ä");
}

}  // namespace
