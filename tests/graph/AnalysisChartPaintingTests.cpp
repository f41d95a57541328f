// The position chart and the lap-time chart, read back pixel by pixel at the rows and columns
// their arithmetic gives.
#include "GraphTestSupport.h"
#include "data/RacePositions.h"
#include "framework/PrintJob.h"
#include "graph/AnalysisCharts.h"

#include <gtest/gtest.h>

using namespace graphtest;
using lapgraph::ChartKind;

namespace {

constexpr COLORREF kGreen = RGB(60, 200, 60);

// Ann leads, Bob passes her on lap 3 and pits (type A) on lap 5; Cyd is slow and stops after lap 4.
std::vector<TestDriver> ThreeDrivers() {
    return {
        {"Ann", kRed, {{90'000}, {181'000}, {272'000}, {363'000}, {454'000}, {545'000}}},
        {"Bob",
         kBlue,
         {{91'000}, {182'000}, {271'500}, {361'000}, {475'000, kLapEventA, 470'000}, {566'000}}},
        {"Cyd", kGreen, {{95'000}, {190'000}, {285'000}, {380'000}}},
    };
}

class AnalysisChartTest : public ::testing::TestWithParam<bool> {
protected:
    void Show(ChartFixture& chart, ChartKind kind) {
        lapgraph::ViewState state = chart.view->GetViewState();
        state.mirrored = GetParam();
        chart.view->SetViewState(state);
        chart.view->SetChartKind(kind);
    }
    static int Column(const ChartFixture& chart, int slot) {
        const lapgraph::Layout layout = chart.view->GetLayout();
        return layout.x0 +
               lapgraph::SlotOffset(slot, layout.plotWidth, chart.document.GetRaceData()->lapCount);
    }
};

TEST_P(AnalysisChartTest, PositionChartPutsEveryLapOnItsPositionRow) {
    ChartFixture chart(ThreeDrivers());
    Show(chart, ChartKind::Positions);
    const QImage image = chart.Render();
    const RaceData& race = chart.Race();
    const RacePositions positions(race);
    const lapgraph::PlotBand band = lapgraph::ChartBand(chart.view->GetLayout(), GetParam());
    for (int d = 0; d < race.drivers->GetCount(); ++d) {
        const DriverRecord& driver = *race.drivers->GetAt(d);
        for (int slot = 0; slot + 1 < driver.laps.GetSize(); ++slot) {
            if ((driver.laps.GetAt(slot)->flags & kLapEventA) != 0)
                continue; // the mark's own pixels
            const QPoint point(Column(chart, slot), lapgraph::PositionRow(positions.At(d, slot), 3, band));
            EXPECT_EQ(image.pixel(point), Rgb(driver.colour)) << driver.name << " slot " << slot;
        }
    }
    // Bob's pit stop: an upright bar through his point on lap 5.
    const int pitRow = lapgraph::PositionRow(positions.At(1, 4), 3, band);
    EXPECT_EQ(
        CountPixels(image, Rgb(kBlue), Column(chart, 4) - 1, pitRow - 4, Column(chart, 4) + 2, pitRow + 5),
        27);
    // Cyd stops after lap 4: nothing of hers to the right of it.
    EXPECT_EQ(CountPixels(image, Rgb(kGreen), Column(chart, 3) + 1, 0, image.width(), image.height()), 0);
}

TEST_P(AnalysisChartTest, LapTimeChartPutsLapsOnTheirRowsAndSlowLapsOnTheEdge) {
    ChartFixture chart(ThreeDrivers());
    Show(chart, ChartKind::LapTimes);
    const QImage image = chart.Render();
    const RaceData& race = chart.Race();
    const auto range = lapgraph::LapTimeRangeOf(race, lapgraph::CutoffPercent(lapgraph::kDefaultLapTimeZoom));
    ASSERT_TRUE(range);
    const lapgraph::Layout layout = chart.view->GetLayout();
    const lapgraph::PlotBand band = lapgraph::ChartBand(layout, GetParam());
    const DriverRecord& cyd = *race.drivers->GetAt(2); // drawn last, so never covered
    for (int slot = 0; slot + 1 < cyd.laps.GetSize(); ++slot) {
        const int row =
            lapgraph::LapTimeRow(cyd.laps.GetAt(slot)->lapTime, *range, band, layout.lineHeight, GetParam());
        EXPECT_EQ(image.pixel(Column(chart, slot), row), Rgb(kGreen)) << "slot " << slot;
    }
    // Bob's 114 s pit lap lies beyond the cut-off (110 % of the 91 s median): on the band's slow edge.
    ASSERT_GT(race.drivers->GetAt(1)->laps.GetAt(4)->lapTime, range->high);
    const int edge = lapgraph::LapTimeRow(range->high, *range, band, layout.lineHeight, GetParam());
    EXPECT_GT(CountPixels(image, Rgb(kBlue), Column(chart, 4) - 4, edge - 4, Column(chart, 4) + 5, edge + 5),
              9);
}

TEST_P(AnalysisChartTest, ReadOutAndHighlightFollowTheChartShown) {
    for (const ChartKind kind : {ChartKind::Positions, ChartKind::LapTimes}) {
        ChartFixture chart(ThreeDrivers());
        Show(chart, kind);
        // The read-out finds Cyd's lap 2 where the chart drew it.
        const std::optional<CPoint> point = chart.view->LapPoint(2, 1);
        ASSERT_TRUE(point);
        EXPECT_EQ(chart.Render().pixel(point->x, point->y), Rgb(kGreen));
        const std::optional<CurveHit> hit = chart.view->HitTest(*point);
        ASSERT_TRUE(hit);
        EXPECT_EQ(std::pair(hit->driver, hit->slot), std::pair(2, 1));

        // Ann selected: drawn last and wide, the others dimmed.
        chart.document.SetSelectedDrivers(nullptr, {0});
        const QImage lit = chart.Render();
        const std::optional<CPoint> ann = chart.view->LapPoint(0, 2);
        ASSERT_TRUE(ann);
        EXPECT_EQ(lit.pixel(ann->x, ann->y + 1), Rgb(kRed)) << "wide";
        EXPECT_EQ(CountPixels(lit, Rgb(kGreen), 0, 0, lit.width(), lit.height()), 0) << "dimmed";
    }
}

INSTANTIATE_TEST_SUITE_P(BothOrientations, AnalysisChartTest, ::testing::Bool());

TEST(AnalysisChartPrinting, LabelsStayBlackAfterTheLegend) {
    ChartFixture chart(ThreeDrivers());
    for (const ChartKind kind : {ChartKind::Positions, ChartKind::LapTimes}) {
        chart.view->SetChartKind(kind);
        QImage page(800, 600, QImage::Format_RGB32);
        page.fill(Qt::white);
        PrintViewToImage(*chart.view, page);
        // The label column below the three legend lines, left of the curves: black text, none in
        // the last driver's colour. The page keeps a margin of 50.
        const QRect labels(50, 150, 65, 400);
        EXPECT_GT(CountPixels(page, 0xFF000000, labels.left(), labels.top(), labels.right(), labels.bottom()),
                  0);
        EXPECT_EQ(
            CountPixels(page, Rgb(kGreen), labels.left(), labels.top(), labels.right(), labels.bottom()), 0);
    }
}

TEST(AnalysisChartView, ZoomMovesTheLapTimeCutoffAndLeavesTheGapZoom) {
    ChartFixture chart(ThreeDrivers());
    const int gapZoom = chart.view->GetZoom();
    chart.view->SetChartKind(ChartKind::LapTimes);
    chart.view->OnViewZoomOutY();
    EXPECT_EQ(chart.view->GetLapTimeZoom(), lapgraph::kDefaultLapTimeZoom + 1);
    chart.view->SetChartKind(ChartKind::Positions);
    chart.view->OnViewZoomInY();
    EXPECT_EQ(chart.view->GetZoom(), gapZoom);
    EXPECT_EQ(chart.view->GetLapTimeZoom(), lapgraph::kDefaultLapTimeZoom + 1);
}

} // namespace
