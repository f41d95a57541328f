// Reading the chart: the read-out under the pointer, selected drivers standing out, and the gap
// to a chosen driver.
#include "GraphTestSupport.h"
#include "framework/CFrameWnd.h"
#include "framework/CommandIds.h"
#include "framework/PrintJob.h"
#include "graph/InfoPanel.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace graphtest;

namespace {

constexpr COLORREF kYellow = RGB(240, 240, 0);

// Ann leads, Bob is 20 s and Cyd 45 s behind; Cyd stops after five laps.
std::vector<TestDriver> ThreeDrivers() {
    return {SteadyDriver("Ann", kRed, 8, 0), SteadyDriver("Bob", kBlue, 8, 20'000),
            SteadyDriver("Cyd", kYellow, 5, 45'000)};
}

int Count(const QImage& image, COLORREF colour) {
    return CountPixels(image, Rgb(colour), 0, 0, image.width(), image.height());
}

void MovePointer(CTarmioView& view, QPoint to) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(view.mapToGlobal(to)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
}

QPoint ToQPoint(CPoint point) {
    return QPoint(point.x, point.y);
}

TEST(ChartHighlight, SelectedDriversAreDrawnLastWideAndTheOthersDimmed) {
    ChartFixture chart(ThreeDrivers());
    const QImage plain = chart.Render();
    chart.document.SetSelectedDrivers(nullptr, {1});
    const QImage lit = chart.Render();
    EXPECT_GT(Count(lit, kBlue), 2 * Count(plain, kBlue));
    EXPECT_EQ(Count(lit, kRed), 0);
    const QColor annDimmed = lit.pixelColor(ToQPoint(*chart.view->LapPoint(0, 3)));
    EXPECT_GT(annDimmed.red(), 0);
    EXPECT_LT(annDimmed.red(), 128);

    chart.view->SetHighlighting(FALSE);
    EXPECT_EQ(chart.Render(), plain);
    chart.view->SetHighlighting(TRUE);
    chart.document.SetSelectedDrivers(nullptr, {});
    EXPECT_EQ(chart.Render(), plain);
}

TEST(ChartHighlight, AHighlightedCurveLiesOverALaterOne) {
    ChartFixture chart(TwoDrivers(6, 0)); // one curve, Bob's drawn over Ann's
    const QImage plain = chart.Render();
    const QPoint point = ToQPoint(*chart.view->LapPoint(0, 2));
    EXPECT_EQ(plain.pixel(point), Rgb(kBlue));
    chart.document.SetSelectedDrivers(nullptr, {0});
    EXPECT_EQ(chart.Render().pixel(point), Rgb(kRed));
}

TEST(ChartHighlight, ThePrintedPageShowsIt) {
    ChartFixture chart(ThreeDrivers());
    QImage plain(800, 600, QImage::Format_RGB32);
    plain.fill(Qt::white);
    QImage lit = plain;
    PrintViewToImage(*chart.view, plain);
    chart.document.SetSelectedDrivers(nullptr, {1});
    PrintViewToImage(*chart.view, lit);
    EXPECT_GT(Count(lit, kBlue), 2 * Count(plain, kBlue));
    EXPECT_LT(Count(lit, kRed), Count(plain, kRed)); // the legend keeps its colours
}

TEST(ChartReference, TheChosenDriverLiesOnTheAxisTheCarAheadToo) {
    ChartFixture chart(ThreeDrivers());
    // Ann leads: she stays on the axis. Bob: the fit puts Ann, 20 s ahead of him, on the axis.
    const struct {
        int reference;
        int onAxis;
        int below;
        int gapUnitsBelow;
    } cases[] = {{0, 0, 1, 500}, {1, 0, 1, 500}, {2, 0, 2, 1125}};
    for (const auto& c : cases) {
        chart.view->SetReferenceDriver(c.reference);
        ASSERT_EQ(chart.view->GetReferenceDriver(), c.reference);
        const QImage image = chart.Render();
        const lapgraph::Layout layout = chart.view->GetLayout();
        const int belowRow =
            lapgraph::GapToRow(c.gapUnitsBelow, layout, {chart.view->GetZoom(), 0, true, true});
        for (int slot = 0; slot < 5; ++slot) {
            const CPoint axisPoint = *chart.view->LapPoint(c.onAxis, slot);
            EXPECT_EQ(axisPoint.y, layout.yAxis) << c.reference << " slot " << slot;
            if (slot < 4) { // a curve's last point is a line's end, left out
                EXPECT_EQ(image.pixel(axisPoint.x, axisPoint.y),
                          Rgb(chart.Race().drivers->GetAt(c.onAxis)->colour));
            }
            EXPECT_EQ(chart.view->LapPoint(c.below, slot)->y, belowRow) << c.reference << " slot " << slot;
        }
    }
}

TEST(ChartReference, CurvesStopWhereTheReferenceDriversLapsStop) {
    ChartFixture chart(ThreeDrivers());
    chart.view->SetReferenceDriver(2); // Cyd has five laps of eight
    const QImage image = chart.Render();
    EXPECT_TRUE(chart.view->LapPoint(0, 4));
    EXPECT_FALSE(chart.view->LapPoint(0, 5));
    const int lastX = chart.view->LapPoint(0, 4)->x;
    EXPECT_EQ(CountPixels(image, Rgb(kRed), lastX + 2, 0, image.width(), image.height()), 0);
    EXPECT_EQ(CountPixels(image, Rgb(kBlue), lastX + 2, 0, image.width(), image.height()), 0);
}

TEST(ChartReference, LeavesTheDriverForTheDesignedReferences) {
    ChartFixture chart(ThreeDrivers());
    chart.view->SetReferenceDriver(1);
    chart.view->OnViewRelative(); // Ctrl+R: toggles as ever and leaves the driver
    EXPECT_EQ(chart.view->GetReferenceDriver(), -1);
    EXPECT_FALSE(chart.view->IsRelative());
    EXPECT_EQ(chart.view->GetScrollPos(), 0); // the auto-zoom of the lap leader again
    EXPECT_EQ(chart.view->GetZoom(), lapgraph::AutoZoom(chart.Race().maxGap, false));

    chart.view->SetReferenceDriver(1);
    chart.Race().RemoveDriver(1);
    chart.document.UpdateAllViews(nullptr);
    EXPECT_EQ(chart.view->GetReferenceDriver(), -1);

    chart.view->SetReferenceDriver(0);
    chart.view->OnViewGapToDriver(); // the command toggles it off
    EXPECT_EQ(chart.view->GetReferenceDriver(), -1);
    chart.document.SetSelectedDrivers(nullptr, {1});
    chart.view->OnViewGapToDriver();
    EXPECT_EQ(chart.view->GetReferenceDriver(), 1);
}

TEST(ChartHover, NamesTheDriverUnderThePointerInEveryOrientation) {
    CFrameWnd frame;
    const UINT messagePane[] = {ID_SEPARATOR};
    frame.SetIndicators(messagePane);
    ChartFixture chart(ThreeDrivers(), 640, 480, &frame);
    CTarmioView& view = *chart.view;
    chart.Render();
    const CInfoPanel* panel = view.GetReadoutPanel();
    const lapgraph::ViewState states[] = {
        {65, 0, true, true}, {40, -300, false, false}, {20, 200, false, true}};
    for (const lapgraph::ViewState& state : states) {
        view.SetViewState(state);
        for (const auto& [driver, slot, name] : {std::tuple{0, 2, "Ann"}, {1, 6, "Bob"}, {2, 4, "Cyd"}}) {
            const QPoint point = ToQPoint(*view.LapPoint(driver, slot)) + QPoint(2, -2);
            MovePointer(view, point);
            ASSERT_TRUE(panel->isVisibleTo(&view)) << name << " zoom " << state.zoom;
            EXPECT_TRUE(panel->GetLines().front().text.startsWith(name));
            EXPECT_EQ(panel->GetLines()[1].text.left(6), QString("Lap %1 ").arg(slot + 1).left(6));
            EXPECT_TRUE(frame.GetMessageText().startsWith(name));
            EXPECT_EQ(chart.document.GetHoveredDriver(), driver);
        }
        // Halfway between Ann's points 1 and 2, on her line: the nearer one.
        const QPoint nearTwo = (2 * ToQPoint(*view.LapPoint(0, 2)) + ToQPoint(*view.LapPoint(0, 1))) / 3;
        MovePointer(view, nearTwo);
        EXPECT_TRUE(panel->GetLines()[1].text.startsWith("Lap 3 "));
        MovePointer(view, QPoint(view.GetLayout().x0 + 3, view.height() - 3));
        EXPECT_FALSE(panel->isVisibleTo(&view));
        EXPECT_EQ(frame.GetMessageText(), "Ready");
        EXPECT_EQ(chart.document.GetHoveredDriver(), -1);
    }
}

} // namespace
