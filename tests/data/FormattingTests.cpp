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

TEST(TrackNames, NameEveryNumberAndQuestionMarksOutsideTheTable) {
    const std::pair<int, const char*> cases[] = {
        {0, "Interlagos"}, {3, "Monte Carlo"}, {10, "Spa-Francorchamps"}, {15, "Adelaide"}, {16, "???"},
        {255, "???"},      {-1, "???"}};
    for (const auto& [number, name] : cases)
        EXPECT_STREQ(TrackName(number), name) << number;
}

} // namespace
