// Edge cases of the analysis charts' arithmetic; the pictures show the ordinary ones.
#include "RaceBuilder.h"
#include "graph/AnalysisChartModel.h"
#include "graph/ChartKinds.h"

#include <gtest/gtest.h>

using namespace lapgraph;

namespace {

TEST(AnalysisChartModel, LapTimeRangeRunsFromBelowTheFastestValidLapToTheCutoff) {
    struct Case {
        const char* what;
        std::vector<LapPlan> laps; // of one driver
        int percent;
        std::optional<std::pair<std::uint32_t, std::uint32_t>> range;
    };
    const std::vector<Case> cases = {
        // median 90 s, cut-off 99 s; 20th of (99 - 80) s below 80 s
        {"plain", {{1, 80000}, {1, 90000}, {1, 95000}}, 110, {{79050, 99000}}},
        {"a marked lap is not the fastest",
         {{1, 70000, kLapMarked}, {1, 90000}, {1, 95000}},
         110,
         {{89550, 99000}}},
        {"only marked laps", {{1, 70000, kLapEventA}}, 110, {{69650, 77000}}},
        {"level laps span a second", {{1, 90000}, {1, 90000}}, 101, {{89950, 91000}}},
        {"no times", {{1, 0}, {1, kNoTime}}, 110, std::nullopt},
    };
    for (const Case& c : cases) {
        RaceData race;
        AppendDriver(race, MakeDriver(1, "Ann", c.laps));
        const auto range = LapTimeRangeOf(race, c.percent);
        EXPECT_EQ(range ? std::optional(std::pair(range->low, range->high)) : std::nullopt, c.range)
            << c.what;
    }
}

TEST(AnalysisChartModel, LapTimeGridAndLabels) {
    // 212 rows, 18 per label: 11 rows for 20 s, so at least 1.82 s apart: 2 s.
    EXPECT_EQ(LapTimeGridStep({80000, 100000}, {0, 212}, 12), 2000u);
    EXPECT_EQ(LapTimeGridStep({80000, 80500}, {0, 212}, 12), 100u);
    EXPECT_EQ(LapTimeGridStep({0, 100000000}, {0, 20}, 12), 600000u);
    EXPECT_EQ(LapTimeLabel(83456), "1:23.4");
    EXPECT_EQ(LapTimeLabel(9000), "0:09.0");
    EXPECT_EQ(LapTimeLabel(3723004), "62:03.0");
}

// Median 90 s: 107 % reaches 96.3 s, 110 % 99 s, 200 % 180 s.
TEST(AnalysisChartModel, ZoomToFitTakesTheLowestCutoffAboveTheSlowestLap) {
    const auto fitted = [](std::uint32_t slowest) {
        RaceData race;
        AppendDriver(race,
                     MakeDriver(1, "Ann", {{1, 88000}, {1, 90000}, {1, 90000}, {1, 90000}, {1, slowest}}));
        return CutoffPercent(LapTimeZoomToFit(race));
    };
    EXPECT_EQ(fitted(97000), 110);
    EXPECT_EQ(fitted(96300), 107);
    EXPECT_EQ(fitted(90500), 101);
    EXPECT_EQ(fitted(400000), 200);
}

TEST(AnalysisChartModel, ZoomMovesTheCutoffWithinItsSteps) {
    EXPECT_EQ(CutoffPercent(kDefaultLapTimeZoom), 110);
    EXPECT_EQ(CutoffPercent(LapTimeZoomedIn(0)), 101);
    EXPECT_EQ(CutoffPercent(LapTimeZoomedOut(kLapTimeZoomSteps - 1)), 200);
    EXPECT_EQ(ChartKindFromSetting(2), ChartKind::LapTimes);
    EXPECT_EQ(ChartKindFromSetting(3), ChartKind::Gap);
    EXPECT_EQ(ChartKindFromSetting(-1), ChartKind::Gap);
}

} // namespace
