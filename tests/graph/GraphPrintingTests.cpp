#include "GraphTestSupport.h"
#include "framework/CPrintInfo.h"
#include "framework/PrintJob.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace graphtest;

namespace {

constexpr COLORREF kRed = RGB(255, 60, 60);
constexpr COLORREF kBlue = RGB(60, 60, 255);

int PageCount(const QString& pdfPath) {
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

std::vector<TestDriver> LongRace(int laps) {
    std::vector<TestDriver> drivers;
    for (int i = 0; i < 12; ++i)
        drivers.push_back(SteadyDriver("Driver " + std::to_string(i), kPalette[static_cast<std::size_t>(i)],
                                       laps, static_cast<std::uint32_t>(i) * 9'000));
    return drivers;
}

TEST(GraphPrinting, PrintsExactlyOnePageWhateverTheRace) {
    QTemporaryDir folder;
    for (const int laps : {0, 3, 127}) {
        ChartFixture chart(LongRace(laps));
        const QString path = folder.filePath(QStringLiteral("chart%1.pdf").arg(laps));
        ASSERT_TRUE(PrintViewToPdf(*chart.view, path));
        EXPECT_EQ(PageCount(path), 1) << laps << " laps";
    }
}

TEST(GraphPrinting, LaysTheChartOutOnThePageLessItsMarginInPrinterPixels) {
    ChartFixture chart(LongRace(10));
    const int screenLineHeight = chart.view->GetLayout().lineHeight;
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("page.pdf")));
    printer.setResolution(600);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer.setPageSize(QPageSize(QSizeF(8, 11), QPageSize::Inch));
    CPrintInfo info;
    info.m_bDirect = TRUE;
    info.m_pPrinter = &printer;
    ASSERT_TRUE(chart.view->OnPreparePrinting(&info));
    ASSERT_TRUE(RunPrintJob(*chart.view, printer, info));
    EXPECT_EQ(info.GetMaxPage(), 1u);
    EXPECT_EQ(chart.view->GetGraphRect(), CRect(50, 50, 4750, 6550));
    // The screen font is back after the job.
    EXPECT_EQ(chart.view->GetLayout().lineHeight, screenLineHeight);
}

TEST(GraphPrinting, MeasuresThePrinterFontOnThePrinter) {
    ChartFixture chart(LongRace(10));
    QImage page(800, 1000, QImage::Format_RGB32);
    CDC dc(&page, true);
    CPrintInfo info;
    chart.view->OnBeginPrinting(&dc, &info);
    const lapgraph::AxisMetrics printed = chart.view->GetAxisMetrics();
    EXPECT_GE(printed.lineHeight, 16);
    EXPECT_GT(printed.timeLabelWidth, 8 * 8);
    chart.view->OnEndPrinting(&dc, &info);
    EXPECT_LT(chart.view->GetAxisMetrics().lineHeight, printed.lineHeight);
}

// The printed look, drawn the way a print job draws a page.
TEST(GraphPrinting, PrintsOnWhiteWithALegendOfDriverNamesInTheirColours) {
    ChartFixture chart({SteadyDriver("Ann", kRed, 8, 0), SteadyDriver("Bob", kBlue, 8, 100'000)});
    lapgraph::ViewState state = chart.view->GetViewState();
    state.relative = false; // every gap below the axis, clear of the legend
    chart.view->SetViewState(state);
    QImage page(800, 1000, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        CDC dc(&page, true);
        CPrintInfo info;
        chart.view->OnBeginPrinting(&dc, &info);
        chart.view->OnPrepareDC(&dc, &info);
        chart.view->OnPrint(&dc, &info);
        chart.view->OnEndPrinting(&dc, &info);
    }
    EXPECT_EQ(chart.view->GetGraphRect(), CRect(50, 50, 750, 950));
    const lapgraph::Layout layout = chart.view->GetLayout();
    // Every pixel of the page is white, grey, black, text or a driver's colour: no black background.
    EXPECT_LT(CountPixels(page, qRgb(0, 0, 0), 0, 0, 800, 1000), 800 * 1000 / 20);
    CDC measure(&page, true);
    chart.view->OnBeginPrinting(&measure, nullptr);
    const int lineHeight = chart.view->GetAxisMetrics().lineHeight;
    const COLORREF colours[] = {kRed, kBlue};
    for (int i = 0; i < 2; ++i)
        EXPECT_GT(CountPixels(page, Rgb(colours[i]), layout.x0, 50 + i * lineHeight, layout.x0 + 60,
                              50 + (i + 1) * lineHeight),
                  5)
            << "legend line " << i;
}

} // namespace
