#include "GraphTestSupport.h"

#include <gtest/gtest.h>
#include <optional>

using namespace graphtest;

namespace {

constexpr COLORREF kYellow = RGB(240, 240, 0);
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kWhite = 0xFFFFFFFF;

struct Orientation {
    bool relative;
    bool mirrored;
};

// Where the chart puts the race time of a driver's lap, from the chart's own layout.
QPoint PointOf(const CTarmioView& view, const RaceData& race, int slot, std::uint32_t time) {
    const lapgraph::Layout layout = view.GetLayout();
    const int gap =
        lapgraph::GapValue(time, lapgraph::ReferenceTime(lapgraph::TimesOf(race), slot, view.IsRelative()));
    return QPoint(layout.x0 + lapgraph::SlotOffset(slot, layout.plotWidth, race.lapCount),
                  lapgraph::GapToRow(gap, layout, view.GetViewState()));
}

class ChartPaintingTest : public ::testing::TestWithParam<Orientation> {
protected:
    void Orient(ChartFixture& chart, std::optional<int> zoom = {}) {
        lapgraph::ViewState state = chart.view->GetViewState();
        state.relative = GetParam().relative;
        state.mirrored = GetParam().mirrored;
        state.zoom = zoom.value_or(state.zoom);
        chart.view->SetViewState(state);
    }
};

TEST_P(ChartPaintingTest, DrawsEveryLapPointInItsDriversColour) {
    ChartFixture chart({SteadyDriver("Ann", kRed, 8, 0), SteadyDriver("Bob", kBlue, 8, 20'000),
                        SteadyDriver("Cyd", kYellow, 8, 45'000)});
    Orient(chart, lapgraph::kMaxZoom); // the pace line's first laps lie far below the leader
    const QImage image = chart.Render();
    const RaceData& race = chart.Race();
    for (int d = 0; d < race.drivers->GetCount(); ++d) {
        const DriverRecord& driver = *race.drivers->GetAt(d);
        // The last point is a line's end, which is left out.
        for (int slot = 0; slot + 1 < driver.laps.GetSize(); ++slot) {
            const QPoint point = PointOf(*chart.view, race, slot, driver.laps.GetAt(slot)->raceTime);
            ASSERT_TRUE(image.rect().contains(point));
            EXPECT_EQ(image.pixel(point), Rgb(driver.colour)) << driver.name << " slot " << slot;
        }
    }
}

TEST_P(ChartPaintingTest, DrawsGreyLapLinesFromTheFarEdgeToTheAxis) {
    ChartFixture chart(TwoDrivers(6, 20'000));
    Orient(chart);
    const QImage image = chart.Render();
    const lapgraph::Layout layout = chart.view->GetLayout();
    const int farRow = GetParam().mirrored ? layout.graph.bottom - 1 : layout.graph.top;
    const int nearRow = GetParam().mirrored ? layout.yAxis + 1 : layout.yAxis - 1;
    // The last slot lies on the right edge, just outside the client area.
    for (int slot = 0; slot < 5; ++slot) {
        const int x = layout.x0 + lapgraph::SlotOffset(slot, layout.plotWidth, 6);
        EXPECT_EQ(image.pixel(x, farRow), kGrey) << "slot " << slot;
        EXPECT_EQ(image.pixel(x, nearRow), kGrey) << "slot " << slot;
    }
}

TEST_P(ChartPaintingTest, MarksTypeAEventsWithThreeStrokesAndTypeBEventsWithATick) {
    TestDriver marked = SteadyDriver("Ann", kRed, 6, 0);
    for (const auto& [slot, flag] : {std::pair{2, kLapEventA}, std::pair{4, kLapEventB}}) {
        marked.laps[slot].flags = flag;
        marked.laps[slot].eventTime = marked.laps[slot].raceTime + 30'000;
    }
    ChartFixture chart({SteadyDriver("Bob", kBlue, 6, 60'000), marked});
    Orient(chart);
    const QImage image = chart.Render();
    const QRgb red = Rgb(kRed);
    const auto lapAndEvent = [&](int slot) {
        const LapRecord& lap = *chart.Race().drivers->GetAt(1)->laps.GetAt(slot);
        return std::pair{PointOf(*chart.view, chart.Race(), slot, lap.raceTime),
                         PointOf(*chart.view, chart.Race(), slot, lap.eventTime)};
    };

    const auto [lapA, eventA] = lapAndEvent(2);
    const int middleA = (lapA.y() + eventA.y()) / 2;
    for (const int dx : {-1, 0, 1})
        EXPECT_EQ(image.pixel(lapA.x() + dx, middleA), red) << "stroke " << dx;
    EXPECT_NE(image.pixel(lapA.x() - 2, middleA), red);
    EXPECT_NE(image.pixel(lapA.x() + 2, middleA), red);

    const auto [lapB, eventB] = lapAndEvent(4);
    const int middleB = (lapB.y() + eventB.y()) / 2;
    EXPECT_EQ(image.pixel(lapB.x(), middleB), red);
    EXPECT_NE(image.pixel(lapB.x() - 1, middleB), red); // one stroke only
    for (const int dx : {-1, -2, -3})
        EXPECT_EQ(image.pixel(lapB.x() + dx, eventB.y()), red) << "tick " << dx;
}

TEST_P(ChartPaintingTest, DrawsDottedLappingLinesExactlyWhenSomeoneIsLapped) {
    ChartFixture level(TwoDrivers(8, 30'000));
    Orient(level);
    const QImage levelImage = level.Render();
    EXPECT_EQ(CountPixels(levelImage, kWhite, 0, 0, levelImage.width(), levelImage.height()), 0);

    ChartFixture lapped(TwoDrivers(8, 100'000));
    Orient(lapped);
    const QImage image = lapped.Render();
    // One lap down at slot 2 is where the leader is at slot 3.
    const QPoint onLine = PointOf(*lapped.view, lapped.Race(), 2, lapped.Race().leaderTimes[3]);
    const int x1 = onLine.x() + lapgraph::SlotOffset(1, lapped.view->GetLayout().plotWidth, 8);
    EXPECT_GT(CountPixels(image, kWhite, onLine.x(), onLine.y() - 8, x1, onLine.y() + 9), 2);
}

TEST_P(ChartPaintingTest, DrawsOnlyTheLabelledGridAndAStubAtTheLeftEdgeWithFewerThanTwoSlots) {
    for (const int laps : {0, 1}) {
        ChartFixture chart({SteadyDriver("Ann", kRed, laps, 0)});
        Orient(chart);
        const QImage image = chart.Render();
        const lapgraph::Layout layout = chart.view->GetLayout();
        const int top = std::min(layout.graph.top, layout.yAxis);
        const int bottom = std::max(layout.graph.top, layout.yAxis);
        EXPECT_EQ(CountPixels(image, kGrey, layout.x0, top, layout.x0 + 1, bottom), bottom - top) << laps;
        EXPECT_EQ(CountPixels(image, Rgb(kRed), 0, 0, image.width(), image.height()), 0) << laps;
        // The grid line of gap 0 runs along the axis line, its label centred on it left of x0.
        EXPECT_EQ(image.pixel(layout.x0 + 50, layout.yAxis), kGrey);
        const int labelTop = layout.yAxis - layout.lineHeight / 2;
        int lit = 0;
        for (int y = labelTop; y < labelTop + layout.lineHeight; ++y)
            for (int x = 0; x < layout.x0; ++x)
                lit += qGreen(image.pixel(x, y)) > 100 ? 1 : 0;
        EXPECT_GT(lit, 10) << "label of gap 0";
    }
}

INSTANTIATE_TEST_SUITE_P(Orientations, ChartPaintingTest,
                         ::testing::Values(Orientation{true, true}, Orientation{true, false},
                                           Orientation{false, true}, Orientation{false, false}),
                         [](const auto& info) {
                             return std::string(info.param.relative ? "PaceLine" : "LapLeader") +
                                    (info.param.mirrored ? "OriginTop" : "OriginBottom");
                         });

TEST(ChartPainting, DrawsNothingIntoAnEmptyRectangle) {
    ChartFixture chart(TwoDrivers(5, 100'000), 10, 100);
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        CDC dc(&image);
        chart.view->OnPrepareDC(&dc);
        ASSERT_TRUE(chart.view->GetGraphRect().IsRectEmpty());
        chart.view->OnDraw(&dc);
    }
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 255), 0, 0, 200, 100), 200 * 100);
}

} // namespace
