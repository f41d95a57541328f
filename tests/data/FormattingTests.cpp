#include "data/Formatting.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct TimeTextCase {
    std::uint32_t time;
    const char* lapText;
    const char* raceText;
};

class TimeTexts : public testing::TestWithParam<TimeTextCase> {};

TEST_P(TimeTexts, FormatIntoCallerBuffer) {
    char lap[kLapTimeTextSize];
    char race[kRaceTimeTextSize];
    EXPECT_EQ(FormatLapTime(lap, GetParam().time), lap);
    EXPECT_STREQ(lap, GetParam().lapText);
    EXPECT_EQ(FormatRaceTime(race, GetParam().time), race);
    EXPECT_STREQ(race, GetParam().raceText);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeTexts,
                         testing::Values(TimeTextCase{83456, "1:23.456", "0h01m23.456s"},
                                         TimeTextCase{0, "0:00.000", "0h00m00.000s"},
                                         TimeTextCase{3723004, "62:03.004", "1h02m03.004s"},
                                         TimeTextCase{5025678, "83:45.678", "1h23m45.678s"},
                                         TimeTextCase{0x0FFFFFFF, "4473:55.455", "74h33m55.455s"},
                                         TimeTextCase{0x10000000, "-:--.---", "------------"},
                                         TimeTextCase{0xFFFFFFFF, "-:--.---", "------------"}));

TEST(TimeTexts, LongestTextsFitTheirBuffers) {
    EXPECT_EQ(std::string(FormatLapTime(nullptr, 0x0FFFFFFF)).size() + 1, std::size_t{kLapTimeTextSize});
    EXPECT_EQ(std::string(FormatRaceTime(nullptr, 0x0FFFFFFF)).size() + 1, std::size_t{kRaceTimeTextSize});
}

TEST(TimeTexts, NullBufferCallsShareOneBufferPerRoutine) {
    char* first = FormatLapTime(nullptr, 1000);
    char* raceText = FormatRaceTime(nullptr, 2000);
    char* second = FormatLapTime(nullptr, 83456);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "1:23.456");
    EXPECT_NE(raceText, first);
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

struct TrackCase {
    int number;
    const char* name;
};

class TrackNames : public testing::TestWithParam<TrackCase> {};

TEST_P(TrackNames, NameEveryNumberAndQuestionMarksOutsideTheTable) {
    EXPECT_STREQ(TrackName(GetParam().number), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Cases, TrackNames,
                         testing::Values(TrackCase{0, "Interlagos"}, TrackCase{3, "Monte Carlo"},
                                         TrackCase{10, "Spa-Francorchamps"}, TrackCase{15, "Adelaide"},
                                         TrackCase{16, "???"}, TrackCase{255, "???"}, TrackCase{-1, "???"}));

} // namespace
