// Edge cases of the analysis charts' arithmetic; the pictures show the ordinary ones.
#include "graph/AnalysisChartModel.h"

#include <gtest/gtest.h>

using namespace lapgraph;

namespace {

// Laps of one driver, by lap time; flags per lap.
RaceData& RaceOf(RaceData& race, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& laps) {
    auto driver = std::make_unique<DriverRecord>(1, "Ann", 0);
    for (std::size_t i = 0; i < laps.size(); ++i) {
        auto lap = std::make_unique<LapRecord>();
        lap->lapTime = laps[i].first;
        lap->flags = laps[i].second;
        driver->laps.SetAt(static_cast<int>(i), std::move(lap));
    }
    race.drivers->InsertAt(race.drivers->GetCount(), std::move(driver));
    return race;
}

TEST(AnalysisChartModel, LapTimeRangeRunsFromBelowTheFastestValidLapToTheCutoff) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> laps;
        int percent;
        std::optional<std::pair<std::uint32_t, std::uint32_t>> range;
    };
    const std::vector<Case> cases = {
        // median 90 s, cut-off 99 s; 20th of (99 - 80) s below 80 s
        {"plain", {{80000, 0}, {90000, 0}, {95000, 0}}, 110, {{79050, 99000}}},
        {"a marked lap is not the fastest",
         {{70000, kLapMarked}, {90000, 0}, {95000, 0}},
         110,
         {{89550, 99000}}},
        {"only marked laps", {{70000, kLapEventA}}, 110, {{69650, 77000}}},
        {"level laps span a second", {{90000, 0}, {90000, 0}}, 101, {{89950, 91000}}},
        {"no times", {{0, 0}, {kNoTime, 0}}, 110, std::nullopt},
    };
    for (const Case& c : cases) {
        RaceData race;
        const auto range = LapTimeRangeOf(RaceOf(race, c.laps), c.percent);
        ASSERT_EQ(range.has_value(), c.range.has_value()) << c.what;
        if (range) {
            EXPECT_EQ(std::pair(range->low, range->high), *c.range) << c.what;
        }
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

TEST(AnalysisChartModel, ZoomMovesTheCutoffWithinItsSteps) {
    EXPECT_EQ(CutoffPercent(kDefaultLapTimeZoom), 110);
    EXPECT_EQ(CutoffPercent(LapTimeZoomedIn(0)), 101);
    EXPECT_EQ(CutoffPercent(LapTimeZoomedOut(kLapTimeZoomSteps - 1)), 200);
    EXPECT_EQ(ChartKindFromSetting(2), ChartKind::LapTimes);
    EXPECT_EQ(ChartKindFromSetting(3), ChartKind::Gap);
    EXPECT_EQ(ChartKindFromSetting(-1), ChartKind::Gap);
}

} // namespace
