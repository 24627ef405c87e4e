#include <gtest/gtest.h>

#include "link/LineSettings.h"

namespace {

TEST(LineSettings, TheSystemsDefinitionOverlaysSpeedAndFraming) {
    const std::string text = FormatLineDefinition(19200, 'N', 8, 1);
    EXPECT_EQ(text, "baud=19200 parity=N data=8 stop=1");
    CLineSettings settings;
    settings.parity = 'E';
    settings.outX = true;  // not part of the definition: kept
    ASSERT_TRUE(BuildLineSettings(text, settings));
    EXPECT_EQ(settings.baudRate, 19200u);
    EXPECT_EQ(settings.parity, 'N');
    EXPECT_EQ(settings.dataBits, 8);
    EXPECT_EQ(settings.stopBits, 1);
    EXPECT_TRUE(settings.outX);

    ASSERT_TRUE(BuildLineSettings("BAUD=921600 Parity=o DATA=7 stop=2", settings));
    EXPECT_EQ(settings.baudRate, 921600u);
    EXPECT_EQ(settings.parity, 'O');
    EXPECT_EQ(settings.dataBits, 7);
    EXPECT_EQ(settings.stopBits, 2);
}

TEST(LineSettings, AnyBadPartLeavesTheSettingsUntouched) {
    for (const char* text :
         {"baud=19200 parity=N data=9 stop=1", "baud=0 parity=N data=8 stop=1",
          "baud=-5 parity=N data=8 stop=1", "baud=19200 parity=X data=8 stop=1",
          "baud=19200 parity=NN data=8 stop=1", "baud=19200 parity=N data=8 stop=3",
          "baud=19200 speed=1", "baud=", "baud=99999999999"}) {
        CLineSettings settings;
        settings.baudRate = 4800;
        EXPECT_FALSE(BuildLineSettings(text, settings)) << text;
        EXPECT_EQ(settings.baudRate, 4800u) << text;
        EXPECT_EQ(settings.dataBits, 8) << text;
    }
}

}  // namespace
