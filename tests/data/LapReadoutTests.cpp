#include "RaceBuilder.h"
#include "data/LapReadout.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

// Three cars at a steady pace each: Ada (car 1) 90 s a lap, Bea (car 0x47, marked) 90.5 s, Cid
// (car 3) 100 s, so that Cid is a lap down from lap 10 on. Bea's lap 3 carries a type A event;
// Cid has no lap 2.
class LapReadoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [car, name, pace] :
             {std::tuple<std::uint8_t, const char*, std::uint32_t>{1, "Ada", 90000},
              {0x47, "Bea", 90500},
              {3, "Cid", 100000}}) {
            std::vector<LapPlan> laps;
            for (std::uint32_t lap = 1; lap <= 20; ++lap)
                laps.push_back({car == 3 && lap == 2 ? 0 : pace * lap, pace});
            race.drivers->Insert(MakeDriver(car, name, laps));
        }
        LapRecord& beaLap3 = *race.drivers->GetAt(IndexOf("Bea"))->laps.GetAt(2);
        beaLap3.flags = kLapEventA;
        beaLap3.eventTime = 90500 * 3 + 25000;
        race.lapCount = 20;
        race.UpdateLapStatistics();
    }
    int IndexOf(const std::string& name) const {
        for (int d = 0; d < race.drivers->GetCount(); ++d)
            if (race.drivers->GetAt(d)->GetName() == name)
                return d;
        return -1;
    }
    std::optional<LapReadout> At(const std::string& name, int lapNumber, const std::string& reference = "") {
        return LapReadoutModel(race).At(race, IndexOf(name), lapNumber - 1, IndexOf(reference));
    }
    RaceData race;
};

TEST_F(LapReadoutTest, PositionsGapsAndLapsDown) {
    struct Case {
        const char* name;
        int lap;
        int position;
        int fieldSize;
        int lapsDown;
        std::int64_t gapToLeader;
        std::optional<std::int64_t> gapToCarAhead;
        const char* leaderText;
    };
    const Case cases[] = {
        {"Ada", 1, 1, 3, 0, 0, std::nullopt, "leading"},
        {"Bea", 1, 2, 3, 0, 500, 500, "+0.500"},
        {"Cid", 1, 3, 3, 0, 10000, 9500, "+10.000"},
        {"Bea", 2, 2, 2, 0, 1000, 1000, "+1.000"}, // Cid has no lap 2: a field of two
        {"Cid", 9, 3, 3, 0, 90000, 85500, "+1:30.000"},
        {"Cid", 10, 3, 3, 1, 100000, 95000, "+1 lap, +1:40.000"},
        {"Cid", 20, 3, 3, 0, 200000, 190000, "+3:20.000"}, // no later lap tells him lapped
        {"Cid", 19, 3, 3, 1, 190000, 180500, "+1 lap, +3:10.000"},
        {"Cid", 18, 3, 3, 1, 180000, 171000, "+1 lap, +3:00.000"},
    };
    for (const Case& c : cases) {
        const std::optional<LapReadout> r = At(c.name, c.lap);
        ASSERT_TRUE(r) << c.name << " lap " << c.lap;
        EXPECT_EQ(std::tuple(r->position, r->fieldSize, r->lapsDown, r->gapToLeader, r->gapToCarAhead,
                             LeaderGapText(*r)),
                  std::tuple(c.position, c.fieldSize, c.lapsDown, c.gapToLeader, c.gapToCarAhead,
                             std::string(c.leaderText)))
            << c.name << " lap " << c.lap;
    }
}

TEST_F(LapReadoutTest, LinesNameTheDriverLapTimesEventAndReferenceAndNoneWhereTheDriverHasNoLap) {
    const std::optional<LapReadout> readout = At("Bea", 3, "Cid");
    ASSERT_TRUE(readout);
    const std::vector<std::string> expected = {
        "Bea  % 7",
        "Lap 3  P2/3",
        "Race time 0h04m31.500s",
        "Lap time 1:30.500",
        "Gap to leader +1.500",
        "Gap to car ahead +1.500 (Ada)",
        "Gap to Cid -28.500",
        "Event time 0h04m56.500s",
    };
    EXPECT_EQ(ReadoutLines(*readout), expected);
    EXPECT_EQ(ReadoutStatusText(*readout),
              "Bea (% 7), lap 3, P2/3, 0h04m31.500s, lap 1:30.500, leader +1.500, "
              "ahead +1.500, to Cid -28.500, event 0h04m56.500s");
    // None where the driver has no lap.
    EXPECT_FALSE(At("Cid", 2));
    EXPECT_FALSE(At("Ada", 21));
    EXPECT_FALSE(LapReadoutModel(race).At(race, 7, 0));
    // The reference has no lap 2: no gap to him there.
    EXPECT_FALSE(At("Ada", 2, "Cid")->gapToReference);
    // None for a lap that came after the model: it has no position for it.
    const LapReadoutModel model(race);
    race.drivers->GetAt(IndexOf("Cid"))->laps.SetAt(1, LapRecord{0, 200'000, 100'000, 0});
    EXPECT_FALSE(model.At(race, IndexOf("Cid"), 1));
}

TEST_F(LapReadoutTest, ModelNoticesAChangedRace) {
    const LapReadoutModel model(race);
    EXPECT_TRUE(model.Matches(race));
    race.Sort(kSortByName);
    race.Sort(kSortByName); // descending: same drivers, other order
    EXPECT_FALSE(model.Matches(race));
    const LapReadoutModel sorted(race);
    // The last driver goes: every remaining one still sits where the model has him.
    race.RemoveDriver(race.drivers->GetCount() - 1);
    EXPECT_FALSE(sorted.Matches(race));
    // The first driver is another: the same count, the rest in place.
    const LapReadoutModel shorter(race);
    race.drivers->InsertAt(0, MakeDriver(9, "Zed", {}));
    race.drivers->RemoveAt(1);
    EXPECT_FALSE(shorter.Matches(race));
}

TEST(FormatGap, SignsAndUnits) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "+0.000"},
        {40, "+0.040"},
        {-40, "-0.040"},
        {59999, "+59.999"},
        {62345, "+1:02.345"},
        {3723456, "+1:02:03.456"},
        {-3600000, "-1:00:00.000"},
        {std::int64_t{0xFFFFFFFF}, "+1193:02:47.295"},
    };
    for (const auto& [ms, text] : cases)
        EXPECT_EQ(FormatGap(ms), text) << ms;
}

TEST(GapToDriverCaption, ShowsControlBytesAsQuestionMarksAndMarkersAsTheListDoes) {
    EXPECT_EQ(GapToDriverCaption(DriverRecord(0x85, "Tab\tDel\x7F", 0)), "Gap to Tab?Del? (# 5)");
    EXPECT_EQ(GapToDriverCaption(DriverRecord(12, "", 0)), "Gap to <no name> (12)");
}

TEST(NearestCurvePoint, PointsFirstThenLinesLaterCurvesOnTop) {
    const CurveTrace curves[] = {
        {0, {{0, 0, 0, false}, {100, 0, 1, true}, {200, 50, 2, true}}},
        {1, {{0, 10, 0, false}, {100, 2, 1, true}, {200, 80, 3, false}}},
        {2, {{300, 100, 0, false}, {300, 200, 1, true}}},
    };
    struct Case {
        int x, y;
        std::optional<CurveHit> hit;
    };
    const Case cases[] = {
        {1, 1, CurveHit{0, 0}},     // a point of curve 0
        {100, 1, CurveHit{1, 1}},   // between two points: the nearer one
        {99, 0, CurveHit{0, 1}},    // on curve 0's point
        {30, 0, CurveHit{0, 0}},    // on curve 0's line, nearer its start
        {70, 0, CurveHit{0, 1}},    // nearer its end
        {40, 3, CurveHit{0, 0}},    // at the line's tolerance, far from its points
        {150, 25, CurveHit{0, 1}},  // mid-line, ties go to the first end found nearer
        {150, 41, std::nullopt},    // curve 1 does not join its last point
        {200, 84, CurveHit{1, 3}},  // a lone point
        {50, 30, std::nullopt},     // near nothing
        {301, 130, CurveHit{2, 0}}, // beside the upright line, nearer its start
        {301, 170, CurveHit{2, 1}}, // nearer its end
    };
    for (const Case& c : cases)
        EXPECT_EQ(NearestCurvePoint(curves, c.x, c.y, 5, 3), c.hit) << c.x << "," << c.y;
}

} // namespace
