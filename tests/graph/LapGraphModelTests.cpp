#include "graph/LapGraphModel.h"

#include <gtest/gtest.h>

using namespace lapgraph;

namespace {

struct GapCase {
    std::int64_t differenceMs;
    int expected;
};
class GapValueTest : public ::testing::TestWithParam<GapCase> {};

TEST_P(GapValueTest, TruncatesTowardZeroAndClamps) {
    const std::uint32_t reference = 5'000'000;
    const auto time = static_cast<std::uint32_t>(reference + GetParam().differenceMs);
    EXPECT_EQ(GapValue(time, reference), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Gaps, GapValueTest,
                         ::testing::Values(GapCase{39, 0}, GapCase{40, 1}, GapCase{-79, -1}, GapCase{-80, -2},
                                           GapCase{1'310'680, 32767}, GapCase{1'310'720, 32767},
                                           GapCase{4'000'000, 32767}, GapCase{-1'310'760, -32768},
                                           GapCase{-4'000'000, -32768}));

TEST(GapValue, WrapsTheDifferenceBeforeReadingItSigned) {
    // A leader earlier than the reference by more than half the range reads as far behind.
    EXPECT_EQ(GapValue(10, 0xFFFFFFF0u), 0);
    EXPECT_EQ(GapValue(0, 40), -1);
}

struct GridCase {
    int height;
    int lineHeight;
    int zoom;
    int expectedStep;
};
class GridStepTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(GridStepTest, PicksTheFirstTableStepThatLeavesRoomForLabels) {
    const GridCase& c = GetParam();
    EXPECT_EQ(GridStep(c.height, c.lineHeight, VerticalExtent(c.zoom)), c.expectedStep);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, GridStepTest,
    ::testing::Values(GridCase{500, 12, 65, 500},          // 27 rows, at least 300 units: 20 s
                      GridCase{6500, 16, 1, 0},            // more label rows than 125 units: no grid
                      GridCase{500, 12, 1, 25},            // 27 rows of at least 4 units: 1 s
                      GridCase{500, 12, 262, 1500},        // at least 1212 units: 60 s
                      GridCase{10, 12, 200, 25000},        // one row of 25000 units: 1000 s
                      GridCase{500, 0, 65, 25},            // no font measured yet: no division by zero
                      GridCase{1, 12, 100000, 53687091})); // beyond the table: its last entry

TEST(GridValues, StartAtTheLowestMultipleWithinTheRange) {
    EXPECT_EQ(FirstGridValue(500), -32500);
    EXPECT_EQ(FirstGridValue(25), -32750);
    EXPECT_EQ(FirstGridValue(25000), -25000);
}

struct LabelCase {
    int gap;
    const char* text;
};
class TimeLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(TimeLabelTest, ShowsSignMinutesAndRoundedSeconds) {
    EXPECT_EQ(TimeLabel(GetParam().gap), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Labels, TimeLabelTest,
                         ::testing::Values(LabelCase{0, " 00:00"}, LabelCase{500, " 00:20"},
                                           LabelCase{-1500, "-01:00"}, LabelCase{30000, " 20:00"},
                                           LabelCase{-32750, "-21:50"}));

TEST(LapLabels, SixtySlotsInFourHundredPixelsLabelEveryThirdLapFromTheFirst) {
    const int interval = LapLabelInterval(400, 60, 15);
    EXPECT_EQ(interval, 3);
    std::vector<int> labelled;
    for (int lap = 1; lap <= 60; ++lap)
        if (IsLapLabelled(lap, 60, interval))
            labelled.push_back(lap);
    ASSERT_EQ(labelled.size(), 20u);
    EXPECT_EQ(labelled.front(), 1);
    EXPECT_EQ(labelled[1], 4);
    EXPECT_EQ(labelled.back(), 58);
}

TEST(LapLabels, OddSlotCountsLabelMultiplesOfTheInterval) {
    const int interval = LapLabelInterval(400, 61, 15);
    EXPECT_EQ(interval, 3);
    EXPECT_FALSE(IsLapLabelled(1, 61, interval));
    EXPECT_TRUE(IsLapLabelled(3, 61, interval));
    EXPECT_TRUE(IsLapLabelled(60, 61, interval));
    EXPECT_TRUE(IsLapLabelled(7, 61, LapLabelInterval(4000, 61, 15))); // room for all
}

TEST(SlotOffsets, SpreadSlotsFromTheLeftToTheRightEdge) {
    EXPECT_EQ(SlotOffset(0, 400, 60), 0);
    EXPECT_EQ(SlotOffset(59, 400, 60), 400);
    EXPECT_EQ(SlotOffset(1, 400, 60), 6);
    EXPECT_EQ(SlotOffset(1, 400, 2), 400);
    EXPECT_EQ(SlotOffset(0, 400, 1), 0);
}

std::vector<std::uint32_t> Times(std::initializer_list<std::uint32_t> values) {
    return values;
}

TEST(ReferenceTime, PaceLineRunsEvenlyToTheBestFinalTime) {
    const auto leaders = Times({100'000, 190'000, 280'003});
    const RaceTimes times{3, &leaders, nullptr};
    EXPECT_EQ(ReferenceTime(times, 0, true), 0u);
    EXPECT_EQ(ReferenceTime(times, 1, true), 140'001u); // 280003 / 2, truncated
    EXPECT_EQ(ReferenceTime(times, 2, true), 280'002u);
    EXPECT_EQ(ReferenceTime(times, 1, false), 190'000u);
    const RaceTimes single{1, &leaders, nullptr};
    EXPECT_EQ(ReferenceTime(single, 0, true), 0u);
}

TEST(VerticalMapping, ScrollingMovesTheDrawingUpInBothOrientations) {
    const AxisMetrics axis{50, 12, 15, 12};
    for (const bool mirrored : {true, false}) {
        ViewState view{65, 0, true, mirrored};
        const Layout layout = ComputeLayout({0, 0, 600, 500}, axis, view);
        EXPECT_EQ(GapToRow(0, layout, view), layout.yAxis);
        const int before = GapToRow(1000, layout, view);
        view.scrollPos = 500;
        EXPECT_LT(GapToRow(1000, layout, view), before) << "mirrored " << mirrored;
    }
    const ViewState top{65, 0, true, true};
    const Layout layout = ComputeLayout({0, 0, 600, 500}, axis, top);
    EXPECT_EQ(layout.yAxis, 24);
    EXPECT_EQ(GapToRow(8125, layout, top), 524); // the whole height shows E
    EXPECT_EQ(ComputeLayout({0, 0, 600, 500}, axis, {65, 0, true, false}).yAxis, 476);
}

// Leader laps of 100 s; the last car is two laps down at slot 2 only.
TEST(LappingLines, FollowTheLeaderLaterLapsWhereSomeoneIsThatFarBehind) {
    const auto leaders = Times({100'000, 200'000, 300'000, 400'000, 500'000});
    const auto lasts = Times({100'000, 200'000, 520'000, 400'000, 500'000});
    const RaceTimes times{5, &leaders, &lasts};
    const std::vector<LappingLine> lines = LappingLines(times, false);
    ASSERT_EQ(lines.size(), 3u); // line 3 applies nowhere and ends the passes
    EXPECT_EQ(lines[0].steps, (std::vector<PenStep>{{false, 1, 2500}, {true, 2, 2500}, {true, 3, 2500}}));
    EXPECT_EQ(lines[1].steps, (std::vector<PenStep>{{false, 1, 5000}, {true, 2, 5000}}));
    EXPECT_TRUE(lines[2].steps.empty());
}

TEST(LappingLines, NoneWhenNobodyIsLappedOrThereIsOneSlot) {
    const auto leaders = Times({100'000, 200'000, 300'000});
    const auto lasts = Times({101'000, 201'000, 301'000});
    const std::vector<LappingLine> lines = LappingLines(RaceTimes{3, &leaders, &lasts}, false);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].steps.empty());
    EXPECT_TRUE(LappingLines(RaceTimes{1, &leaders, &lasts}, false).empty());
}

TEST(LappingLines, SkipAPointThatLiesExactlyOnTheReference) {
    // Pace line of 100 s a lap; the leader at slot 2 is exactly on it one slot earlier.
    const auto leaders = Times({50'000, 80'000, 100'000, 300'000});
    const auto lasts = Times({400'000, 400'000, 400'000, 400'000});
    const std::vector<LappingLine> lines = LappingLines(RaceTimes{4, &leaders, &lasts}, true);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].steps, (std::vector<PenStep>{{false, 0, 2000}, {true, 2, 2500}}));
    EXPECT_EQ(lines[1].steps, (std::vector<PenStep>{{false, 0, 2500}, {true, 1, 5000}}));
    EXPECT_EQ(lines[2].steps, (std::vector<PenStep>{{false, 0, 7500}}));
}

struct ZoomCase {
    std::uint32_t maxGap;
    bool relative;
    std::optional<int> expected;
};
class AutoZoomTest : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(AutoZoomTest, CoversTheLargestGap) {
    EXPECT_EQ(AutoZoom(GetParam().maxGap, GetParam().relative), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Zooms, AutoZoomTest,
                         ::testing::Values(ZoomCase{2'000'000, false, 401}, ZoomCase{2'000'000, true, 801},
                                           ZoomCase{4999, false, 1}, ZoomCase{0, true, std::nullopt},
                                           ZoomCase{0x80000000u, false, std::nullopt}));

TEST(Zoom, CommandsStayWithinOneAndTwoHundredSixtyTwo) {
    EXPECT_EQ(ZoomedIn(1), 1);
    EXPECT_EQ(ZoomedIn(801), 800);
    EXPECT_EQ(ZoomedOut(262), 262);
    EXPECT_EQ(ZoomedOut(801), 262);
    EXPECT_EQ(VerticalExtent(262), 32750);
}

struct ScrollCase {
    ScrollRequest request;
    int from;
    int expected;
};
class ScrollTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollTest, StepsAndStopsAtTheRangeEnds) {
    const ViewState view{65, GetParam().from, true, true};
    EXPECT_EQ(ScrolledTo(GetParam().request, view, -5000), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, ScrollTest,
                         ::testing::Values(ScrollCase{ScrollRequest::LineUp, -32767, -32767},
                                           ScrollCase{ScrollRequest::LineUp, -32700, -32767},
                                           ScrollCase{ScrollRequest::LineDown, 0, 100},
                                           ScrollCase{ScrollRequest::PageUp, 0, -8125},
                                           ScrollCase{ScrollRequest::PageDown, 30000, 32767},
                                           ScrollCase{ScrollRequest::TenthUp, 0, -812},
                                           ScrollCase{ScrollRequest::TenthDown, 32000, 32767},
                                           ScrollCase{ScrollRequest::Track, 0, -5000},
                                           ScrollCase{ScrollRequest::Top, 0, -32767},
                                           ScrollCase{ScrollRequest::Bottom, 0, 32767},
                                           ScrollCase{ScrollRequest::Origin, 5000, 0}));

TEST(ScrollBar, ShowsOnePageOfTheExtentInTheWholeRange) {
    const ScrollBarSettings bar = ScrollBarFor(ViewState{65, -1234, true, true});
    EXPECT_EQ(bar.min, -32767);
    EXPECT_EQ(bar.max, 32767);
    EXPECT_EQ(bar.page, 8125);
    EXPECT_EQ(bar.pos, -1234);
}

} // namespace
