#include "data/Formatting.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {

TEST(TimeTexts, FormatIntoCallerBuffer) {
    const std::tuple<std::uint32_t, const char*, const char*> cases[] = {
        {83456, "1:23.456", "0h01m23.456s"},          {0, "0:00.000", "0h00m00.000s"},
        {3723004, "62:03.004", "1h02m03.004s"},       {5025678, "83:45.678", "1h23m45.678s"},
        {0x0FFFFFFF, "4473:55.455", "74h33m55.455s"}, {0x10000000, "-:--.---", "------------"},
        {0xFFFFFFFF, "-:--.---", "------------"}};
    for (const auto& [time, lapText, raceText] : cases) {
        char lap[kLapTimeTextSize];
        char race[kRaceTimeTextSize];
        EXPECT_EQ(FormatLapTime(lap, time), lap);
        EXPECT_STREQ(lap, lapText);
        EXPECT_EQ(FormatRaceTime(race, time), race);
        EXPECT_STREQ(race, raceText);
    }
}

TEST(TimeTexts, NullBufferCallsShareOneBufferPerRoutine) {
    char* first = FormatLapTime(nullptr, 1000);
    char* raceText = FormatRaceTime(nullptr, 2000);
    EXPECT_EQ(FormatLapTime(nullptr, 83456), first);
    EXPECT_STREQ(first, "1:23.456");
    EXPECT_STREQ(raceText, "0h00m02.000s");
}

TEST(SplitTime, GivesUnitsNotAskedForToTheNextSmallerAndRefusesTopBits) {
    std::uint32_t hours = 7;
    std::uint32_t minutes = 7;
    std::uint32_t seconds = 7;
    std::uint32_t milliseconds = 7;
    EXPECT_FALSE(SplitTime(&hours, &minutes, &seconds, &milliseconds, 0x10000000));
    EXPECT_EQ(hours + minutes + seconds + milliseconds, 28u) << "a refusal writes nothing";
    EXPECT_TRUE(SplitTime(nullptr, &minutes, nullptr, &milliseconds, 3723004));
    EXPECT_EQ(minutes, 62u);
    EXPECT_EQ(milliseconds, 3004u);
}

TEST(TrackNames, NameEveryNumberAndQuestionMarksOutsideTheTable) {
    const std::pair<int, const char*> cases[] = {
        {0, "Interlagos"}, {3, "Monte Carlo"}, {10, "Spa-Francorchamps"}, {15, "Adelaide"}, {16, "???"},
        {255, "???"},      {-1, "???"}};
    for (const auto& [number, name] : cases)
        EXPECT_STREQ(TrackName(number), name) << number;
}

} // namespace
