#include "GraphTestSupport.h"
#include "framework/CPrintInfo.h"

#include <gtest/gtest.h>

using namespace graphtest;

namespace {

// The printed look, drawn the way a print job draws a page.
TEST(GraphPrinting, PrintsOnWhiteWithTheLargerPrinterFontAndALegendOfDriverNamesInTheirColours) {
    ChartFixture chart(TwoDrivers(8, 100'000));
    const int screenLineHeight = chart.view->GetAxisMetrics().lineHeight;
    lapgraph::ViewState state = chart.view->GetViewState();
    state.relative = false; // every gap below the axis, clear of the legend
    chart.view->SetViewState(state);
    QImage page(800, 1000, QImage::Format_RGB32);
    page.fill(Qt::white);
    lapgraph::AxisMetrics printed;
    lapgraph::Layout layout;
    {
        CDC dc(&page, true);
        CPrintInfo info;
        chart.view->OnBeginPrinting(&dc, &info);
        chart.view->OnPrepareDC(&dc, &info);
        printed = chart.view->GetAxisMetrics();
        layout = chart.view->GetLayout();
        chart.view->OnPrint(&dc, &info);
        chart.view->OnEndPrinting(&dc, &info);
    }
    EXPECT_GE(printed.lineHeight, 16);
    EXPECT_GT(printed.lineHeight, screenLineHeight);
    EXPECT_GT(printed.timeLabelWidth, 8 * 8);
    EXPECT_EQ(chart.view->GetGraphRect(), CRect(50, 50, 750, 950));
    EXPECT_EQ(chart.view->GetAxisMetrics().lineHeight, screenLineHeight) << "the screen font is back";
    // No black background: black is only text and lapping lines.
    EXPECT_LT(CountPixels(page, qRgb(0, 0, 0), 0, 0, 800, 1000), 800 * 1000 / 20);
    const int x0 = layout.x0;
    const COLORREF colours[] = {kRed, kBlue};
    for (int i = 0; i < 2; ++i)
        EXPECT_GT(CountPixels(page, Rgb(colours[i]), x0, 50 + i * printed.lineHeight, x0 + 60,
                              50 + (i + 1) * printed.lineHeight),
                  5)
            << "legend line " << i;
}

} // namespace
