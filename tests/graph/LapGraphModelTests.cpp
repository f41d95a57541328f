#include "RaceBuilder.h"
#include "graph/LapGraphModel.h"

#include <array>
#include <gtest/gtest.h>

using namespace lapgraph;

namespace {

TEST(GapValue, TruncatesTowardZeroAndClamps) {
    constexpr std::uint32_t kRef = 5'000'000;
    for (const auto& [difference, expected] :
         {std::pair{39, 0}, std::pair{40, 1}, std::pair{-79, -1}, std::pair{-80, -2},
          std::pair{1'310'680, 32767}, std::pair{4'000'000, 32767}, std::pair{-1'310'760, -32768},
          std::pair{-4'000'000, -32768}})
        EXPECT_EQ(GapValue(kRef + static_cast<std::uint32_t>(difference), kRef), expected) << difference;
    // The difference wraps before it is read signed.
    EXPECT_EQ(GapValue(10, 0xFFFFFFF0u), 0);
    EXPECT_EQ(GapValue(0, 40), -1);
}

// The ordinary grid steps and labels are in the chart pictures; these are their edges.
TEST(TimeGrid, FallsBackAtTheEdgesOfTheStepTable) {
    for (const auto& [height, lineHeight, zoom, step] :
         {std::array{6500, 16, 1, 0},           // more label rows than 125 units: no grid
          std::array{500, 0, 65, 25},           // no font measured yet: no division by zero
          std::array{10, 12, 200, 25000},       // one row of 25000 units: 1000 s
          std::array{1, 12, 100000, 53687091}}) // beyond the table: its last entry
        EXPECT_EQ(GridStep(height, lineHeight, VerticalExtent(zoom)), step) << height << " " << zoom;
    // Each step is the finest that holds the extent: 1, 2, 3, 5, 10, 20, 30 s, 1 to 5 min, 1000 s.
    const std::array kSteps = {25, 50, 75, 125, 250, 500, 750, 1500, 3000, 4500, 6000, 7500, 25000};
    for (std::size_t i = 1; i < kSteps.size(); ++i)
        EXPECT_EQ(GridStep(1, 0, kSteps[i - 1] + 1), kSteps[i]) << kSteps[i - 1];
    EXPECT_EQ(FirstGridValue(25), -32750);
    EXPECT_EQ(FirstGridValue(0), 0); // no grid: no division
    EXPECT_EQ(TimeLabel(-32750), "-21:50");
}

std::vector<int> LabelledLaps(int plotWidth, int slotCount) {
    const int interval = LapLabelInterval(plotWidth, slotCount, 15);
    std::vector<int> labelled;
    for (int lap = 1; lap <= slotCount; ++lap)
        if (IsLapLabelled(lap, slotCount, interval))
            labelled.push_back(lap);
    return labelled;
}

TEST(LapLabels, EveryThirdFromTheFirstForEvenSlotCountsAndMultiplesOfThreeForOdd) {
    const std::vector<int> even = LabelledLaps(400, 60);
    ASSERT_EQ(even.size(), 20u);
    EXPECT_EQ((std::vector<int>{even[0], even[1], even[2], even.back()}), (std::vector<int>{1, 4, 7, 58}));
    const std::vector<int> odd = LabelledLaps(400, 61);
    ASSERT_EQ(odd.size(), 20u);
    EXPECT_EQ((std::vector<int>{odd[0], odd[1], odd.back()}), (std::vector<int>{3, 6, 60}));
    EXPECT_EQ(LabelledLaps(4000, 61).size(), 61u);       // room for all
    EXPECT_EQ(LabelledLaps(10, 4), std::vector<int>{1}); // narrower than one label: the first lap alone
    EXPECT_EQ(LapLabelInterval(100, 60, 0), 1);          // no font measured yet: every lap
    EXPECT_FALSE(IsLapLabelled(1, 60, 0));               // no interval: no label, and no division
}

TEST(Placement, SlotsSpreadToTheRightEdgeAndThePaceLineRunsEvenlyToTheBestFinalTime) {
    for (const auto& [slot, slots, offset] : {std::array{1, 60, 6}, {59, 60, 400}, {1, 2, 400}, {0, 1, 0}})
        EXPECT_EQ(SlotOffset(slot, 400, slots), offset) << slot << " of " << slots;
    const std::vector<std::uint32_t> leaders{100'000, 190'000, 280'003};
    const RaceTimes times{3, &leaders, nullptr};
    EXPECT_EQ(ReferenceTime(times, 1, true), 140'001u); // 280003 / 2, truncated
    EXPECT_EQ(ReferenceTime(times, 2, true), 280'002u);
    EXPECT_EQ(ReferenceTime(times, 1, false), 190'000u);
    EXPECT_EQ(ReferenceTime(RaceTimes{1, &leaders, nullptr}, 0, true), 0u);
    EXPECT_EQ(ReferenceTime(RaceTimes{2, &leaders, nullptr}, 1, true), 190'000u); // two slots: one lap's step
}

TEST(LappingLines, FollowTheLeaderLaterLapsWhereSomeoneIsThatFarBehind) {
    using Lines = std::vector<std::vector<PenStep>>; // one per line, k laps down
    const std::vector<std::uint32_t> leaderEvery100s = {100'000, 200'000, 300'000, 400'000, 500'000};
    const std::vector<std::uint32_t> twoDownAtSlot2 = {100'000, 200'000, 520'000, 400'000, 500'000};
    const struct {
        const char* name;
        std::vector<std::uint32_t> leaders;
        std::vector<std::uint32_t> lasts;
        bool relative;
        Lines expected;
        ReferenceSeries driver = {}; // empty: the leader or the pace line
    } cases[] = {
        // The last car is two laps down at slot 2 only; line 3 applies nowhere and ends the passes.
        {"two laps down once",
         leaderEvery100s,
         twoDownAtSlot2,
         false,
         {{{false, 1, 2500}, {true, 2, 2500}, {true, 3, 2500}}, {{false, 1, 5000}, {true, 2, 5000}}, {}}},
        {"a chosen driver without a lap breaks the lines",
         leaderEvery100s,
         twoDownAtSlot2,
         false,
         {{{false, 2, 2500}, {true, 3, 2500}}, {{false, 2, 5000}}, {}},
         {100'000, std::nullopt, 300'000, 400'000, 500'000}},
        {"nobody lapped", {100'000, 200'000, 300'000}, {101'000, 201'000, 301'000}, false, {{}}},
        {"level with the leader a lap on is not lapped",
         {100'000, 200'000, 300'000},
         {100'000, 300'000, 300'000},
         false,
         {{}}},
        {"one slot", {100'000}, {400'000}, false, {}},
        // Pace line of 100 s a lap; the leader at slot 2 is exactly on it one slot earlier.
        {"point on the reference skipped",
         {50'000, 80'000, 100'000, 300'000},
         {400'000, 400'000, 400'000, 400'000},
         true,
         {{{false, 0, 2000}, {true, 2, 2500}}, {{false, 0, 2500}, {true, 1, 5000}}, {{false, 0, 7500}}}},
    };
    for (const auto& c : cases) {
        const RaceTimes times{static_cast<int>(c.leaders.size()), &c.leaders, &c.lasts};
        Lines lines;
        for (const LappingLine& line :
             c.driver.empty() ? LappingLines(times, c.relative) : LappingLines(times, c.driver))
            lines.push_back(line.steps);
        EXPECT_EQ(lines, c.expected) << c.name;
    }
}

// Ann leads; Cyd's second lap carries an event 20 s after Bob's time. Bob's stray event time
// without an event mark counts for nothing.
TEST(FitToReference, SpanCoversEveryLapAndEventMarkAndTheFitPutsTheCarFurthestAheadOnTheAxis) {
    RaceData race;
    AppendDriver(race, MakeDriver(1, "Ann", {{100'000}, {200'000}}));
    AppendDriver(race, MakeDriver(1, "Bob", {{110'000, 0, 0, 900'000}, {230'000}}));
    AppendDriver(race, MakeDriver(1, "Cyd", {{105'000}, {215'000, 0, kLapEventA, 250'000}}));
    race.lapCount = 2;
    race.UpdateLapStatistics();
    const RaceTimes times = TimesOf(race);
    const auto against = [&](int driver) {
        return DriverReferenceSeries(times, race.drivers->GetAt(driver)->laps);
    };
    const auto span = [&](const ReferenceSeries& reference) {
        const std::optional<GapSpan> found = CurveGapSpan(race, reference);
        return found ? std::pair(found->low, found->high) : std::pair(-1, -1);
    };
    // Against the leader: 0 .. (250 - 200) s; against Bob: Ann 30 s ahead, Cyd's event 20 s on.
    EXPECT_EQ(span(ReferenceSeriesOf(times, false)), std::pair(0, 1250));
    EXPECT_EQ(span(against(1)), std::pair(-750, 500));
    EXPECT_EQ(FitToReference(race, against(1), true), (ViewFit{11, -750}));
    EXPECT_EQ(FitToReference(race, against(1), false), (ViewFit{11, 750}));
    EXPECT_EQ(FitToReference(race, against(0), true), (ViewFit{11, 0}));
    race.RemoveDriver(2);
    race.RemoveDriver(1);
    EXPECT_EQ(FitToReference(race, against(0), true), std::nullopt);
}

// Worked by hand: the span of 1500 units must take the 380-row band less 19 rows at either end,
// 342 rows of the 400 the extent maps onto, so E >= 1754.4: zoom 15 (E 1875); its middle of 650
// units lies 190 rows (178.1 units) from the axis line.
TEST(ZoomToFit, SmallestZoomThatHoldsTheSpanAndItsMiddleInTheBandsMiddle) {
    EXPECT_EQ(FitSpanToBand({-100, 1400}, 400, 380, true), (ViewFit{15, -241}));
    EXPECT_EQ(FitSpanToBand({-100, 1400}, 400, 380, false), (ViewFit{15, 241}));
    // A level field: the smallest zoom, the field in the middle.
    EXPECT_EQ(FitSpanToBand({50, 50}, 400, 380, true), (ViewFit{1, -9}));
    // 22,601 units over 401 rows need one unit more than 212 zooms show in 342.
    EXPECT_EQ(FitSpanToBand({-10000, 12601}, 401, 380, true).zoom, 213);
    // The widest span the clamped gaps allow stays within the scroll range.
    EXPECT_EQ(FitSpanToBand({kLowestGap, kHighestGap}, 400, 380, true), (ViewFit{614, -kScrollLimit}));
}

TEST(Zoom, AutoZoomCoversTheLargestGapAndCommandsStayWithinOneAndTwoHundredSixtyTwo) {
    EXPECT_EQ(AutoZoom(4999, false), 1);
    EXPECT_EQ(AutoZoom(0, true), std::nullopt);
    EXPECT_EQ(AutoZoom(0x80000000u, false), std::nullopt);
    EXPECT_EQ(ZoomedIn(1), 1);
    EXPECT_EQ(ZoomedOut(262), 262);
    EXPECT_EQ(VerticalExtent(262), 32750);
}

} // namespace
