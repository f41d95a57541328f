// Lines on pages: cut to what the page shows, dotted lines as dashed segments, and whatever a race
// holds, its printed chart stays small. The screen's pixels are guarded by the picture tests.
#include "GraphTestSupport.h"
#include "ScriptedPrompt.h"
#include "data/RaceFileLoader.h"
#include "document/CTarmioDoc.h"
#include "framework/CDC.h"
#include "framework/PrintJob.h"
#include "framework/VectorClip.h"
#include "graph/ChartPictures.h"
#include "graph/TarmioView.h"
#include "tools/racefile/HostileRaces.h"
#include "tools/racefile/MemoryRaceFile.h"
#include "tools/racefile/RaceFileWriter.h"

#include <QBuffer>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtEndian>
#include <cctype>
#include <climits>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>

namespace {

// ---- the span of a segment inside a box

TEST(VisibleSpan, OfASegmentInABox) {
    constexpr double kFullClock = 4294967295.0; // INT_MAX - INT_MIN
    const struct {
        const char* name;
        QPoint from;
        QPoint to;
        std::optional<drawing::SegmentSpan> expected;
    } cases[] = {
        {"inside", {10, 10}, {90, 40}, drawing::SegmentSpan{0.0, 1.0}},
        {"in from the left", {-100, 10}, {100, 10}, drawing::SegmentSpan{0.5, 1.0}},
        {"across both sides", {-100, 25}, {200, 25}, drawing::SegmentSpan{1.0 / 3, 2.0 / 3}},
        {"out at the bottom", {50, 25}, {50, 75}, drawing::SegmentSpan{0.0, 0.5}},
        {"from end to end of the integers",
         {50, INT_MIN},
         {50, INT_MAX},
         drawing::SegmentSpan{2147483648.0 / kFullClock, 2147483698.0 / kFullClock}},
        {"above the box", {10, -20}, {90, -1}, std::nullopt},
        {"past the corner", {-10, 40}, {40, 110}, std::nullopt},
        {"far away both ends", {INT_MIN, INT_MIN}, {INT_MIN, INT_MAX}, std::nullopt},
        {"point inside", {5, 5}, {5, 5}, drawing::SegmentSpan{0.0, 1.0}},
        {"point outside", {-5, 5}, {-5, 5}, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<drawing::SegmentSpan> span =
            drawing::VisibleSpan(c.from, c.to, QRectF(0, 0, 100, 50));
        ASSERT_EQ(span.has_value(), c.expected.has_value()) << c.name;
        if (span) {
            EXPECT_DOUBLE_EQ(span->enter, c.expected->enter) << c.name;
            EXPECT_DOUBLE_EQ(span->leave, c.expected->leave) << c.name;
        }
    }
}

// ---- what a page's content holds

// The page descriptions of a PDF, inflated: one drawing operator a line.
std::string PdfContent(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pdf = file.readAll();
    std::string content;
    qsizetype at = 0;
    while ((at = pdf.indexOf("stream\n", at)) >= 0) {
        const qsizetype dictionary = pdf.lastIndexOf(" obj", at);
        const qsizetype begin = at + 7;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0)
            break;
        at = end + 9; // past "endstream", which ends in "stream" too
        if (pdf.mid(dictionary, begin - dictionary).indexOf("/FlateDecode") < 0)
            continue;
        // The inflater takes a leading size, which is only its first guess.
        QByteArray packed(4, '\0');
        qToBigEndian<quint32>(1 << 20, packed.data());
        packed += pdf.mid(begin, end - begin);
        const QByteArray inflated = qUncompress(packed);
        content.append(inflated.constData(), static_cast<std::size_t>(inflated.size()));
    }
    return content;
}

// Counts of the path operators: moves, lines, dash patterns, text runs, the largest distance of
// any path point outside the page, and the highest and lowest rows of the lines (the content
// draws top down).
struct PathCounts {
    int moves = 0;
    int lines = 0;
    int dashes = 0;
    std::size_t texts = 0;
    double farthestOutside = 0.0;
    double top = 1e9;
    double bottom = -1e9;
};

PathCounts CountPaths(const std::string& content, const QSizeF& page = {}) {
    PathCounts counts;
    std::istringstream lines(content);
    for (std::string line; std::getline(lines, line);) {
        double x = 0;
        double y = 0;
        char op = 0;
        const std::size_t pattern = line.find('[');
        if (pattern != std::string::npos && pattern + 1 < line.size() && std::isdigit(line[pattern + 1]) != 0)
            ++counts.dashes;
        counts.texts += line == "BT";
        if (std::sscanf(line.c_str(), "%lf %lf %c", &x, &y, &op) != 3 || line.size() < 2 ||
            line[line.size() - 2] != ' ' || (op != 'm' && op != 'l'))
            continue;
        ++(op == 'm' ? counts.moves : counts.lines);
        counts.farthestOutside =
            std::max({counts.farthestOutside, -x, -y, x - page.width(), y - page.height()});
        counts.top = std::min(counts.top, y);
        counts.bottom = std::max(counts.bottom, y);
    }
    return counts;
}

struct LinesOnAPage : ::testing::Test {
    QTemporaryDir folder;
    QString pdf = folder.filePath("page.pdf");
    std::unique_ptr<QPrinter> printer = NewJobPrinter();
    QSizeF page;

    PathCounts Draw(const std::function<void(CDC&)>& draw) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        {
            CDC dc(printer.get(), true);
            page = QSizeF(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
            draw(dc);
        }
        return CountPaths(PdfContent(pdf), page);
    }
};

// Each pen, with lines that cross the page from far outside and lines that never reach it; on a
// transparent background a dotted line has no gaps to fill. First an opaque dotted line: one
// dashed segment for the dots and one for the gaps.
TEST_F(LinesOnAPage, OnlyWhatThePageShowsIsEmittedAndDotsAreDashedSegments) {
    CPen pens[] = {CPen(PS_SOLID, 1, RGB(0, 0, 0)), CPen(PS_SOLID, 5, RGB(0, 0, 0)),
                   CPen(PS_DOT, 1, RGB(0, 0, 0))};
    constexpr int kFar = INT_MAX / 2;
    const PathCounts counts = Draw([&](CDC& dc) {
        dc.SelectObject(&pens[2]);
        dc.MoveTo(100, 100);
        dc.LineTo(100, 700);
        dc.SetBkMode(TRANSPARENT);
        for (CPen& pen : pens) {
            dc.SelectObject(&pen);
            dc.MoveTo(300, -kFar);
            dc.LineTo(300, kFar);    // down across the page
            dc.LineTo(-kFar, kFar);  // below it
            dc.LineTo(-kFar, -kFar); // left of it
            dc.LineTo(kFar, kFar);   // across its top left corner
            dc.LineTo(kFar, -kFar);  // right of it
        }
    });
    EXPECT_EQ(counts.lines, 2 + 3 * 2);
    EXPECT_EQ(counts.dashes, 2 + 2); // and one for each visible line of the transparent dots
    EXPECT_LT(counts.farthestOutside, 10.0);
}

// ---- hostile races on paper

// A race and whether the chart shows it against the pace line (or the lap leader).
using HostileCase = std::tuple<hostile::Pattern, bool>;

std::string CaseName(const ::testing::TestParamInfo<HostileCase>& info) {
    return hostile::PatternName(std::get<0>(info.param)) +
           std::string(std::get<1>(info.param) ? "Relative" : "Absolute");
}

// The race loaded as the command line loads it, in a chart as it renders one.
struct HostileChart {
    explicit HostileChart(const HostileCase& c) {
        document.OnNewDocument();
        MemoryRaceFile file(RaceFileWriter::LogFile(hostile::HostileRace(std::get<0>(c))));
        ScriptedPrompt prompt;
        LoadRaceFile(*document.GetRaceData(), file, prompt);
        view.Create(nullptr, &document);
        view.resize(1024, 640);
        view.OnInitialUpdate();
        lapgraph::ViewState state = view.GetViewState();
        state.relative = std::get<1>(c);
        view.SetViewState(state);
        view.OnUpdate(nullptr, 0);
    }
    CTarmioDoc document;
    CTarmioView view;
};

constexpr qint64 kLargestPrintedChart = 5 << 20;
// A full field: a stroke for each lap, five for its events, two for each step of a lapping line.
constexpr int kMostPrintedLines = hostile::kCars * hostile::kLaps * 6 + hostile::kLaps * hostile::kLaps * 2;

class HostileRaceOnPaper : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileRaceOnPaper, PdfStaysSmallWithOnlyWhatThePageShows) {
    HostileChart chart(GetParam());
    ASSERT_GT(chart.document.GetRaceData()->lapCount, 1);
    QTemporaryDir folder;
    const QString pdf = folder.filePath("chart.pdf");
    ASSERT_TRUE(PrintViewToPdf(chart.view, pdf));
    EXPECT_LT(QFile(pdf).size(), kLargestPrintedChart);
    std::unique_ptr<QPrinter> printer = NewJobPrinter();
    const QSizeF page = printer->pageLayout().paintRectPixels(kPrintResolution).size();
    const PathCounts counts = CountPaths(PdfContent(pdf), page);
    EXPECT_GT(counts.lines, 0);
    EXPECT_LT(counts.lines, kMostPrintedLines);
    EXPECT_LT(counts.farthestOutside, 10.0);
}

INSTANTIATE_TEST_SUITE_P(Races, HostileRaceOnPaper,
                         ::testing::Combine(::testing::ValuesIn(hostile::kPatterns), ::testing::Bool()),
                         CaseName);

// The title line and the legend are printed only when asked, one text run for the title and one
// for each name; the title takes room of its own above the chart, and the next page without them
// is the plain one again.
TEST(FramedPdfPage, MakesRoomForTitleAndLegendAndOnlyWhenAsked) {
    graphtest::ChartFixture chart(graphtest::ThreeDrivers());
    QTemporaryDir folder;
    const auto print = [&](const PictureFrame& frame, const QString& name) {
        const QString pdf = folder.filePath(name);
        EXPECT_TRUE(PrintChartToPdf(*chart.view, pdf, frame));
        return PdfContent(pdf);
    };
    const std::string plain = print({}, "plain.pdf");
    const PathCounts framed = CountPaths(print({"Round 3", true}, "framed.pdf"));
    const PathCounts titled = CountPaths(print({"Round 3", false}, "titled.pdf"));
    const PathCounts bare = CountPaths(plain);
    EXPECT_EQ(framed.texts, bare.texts + 1 + 3);
    EXPECT_EQ(titled.texts, bare.texts + 1);
    EXPECT_GT(titled.top, bare.top + 30) << "a title line of 12 screen pixels and its margins, on paper";
    EXPECT_DOUBLE_EQ(titled.bottom, bare.bottom);
    EXPECT_EQ(print({}, "plain-again.pdf"), plain);
}

// A PNG gives back the very pixels drawn, whether they fit a palette or not: the chart itself,
// and pictures of 256 and of 257 colours either side of the palette's limit.
TEST(ChartPng, GivesBackThePixelsDrawnWithOrWithoutAPalette) {
    graphtest::ChartFixture chart(graphtest::ThreeDrivers());
    std::vector<QImage> pictures = {chart.Render().convertToFormat(QImage::Format_RGB32)};
    for (const int colours : {256, 257}) {
        QImage strip(colours, 3, QImage::Format_RGB32);
        for (int x = 0; x < colours; ++x)
            for (int y = 0; y < 3; ++y)
                strip.setPixel(x, y, qRgb(x % 256, x / 256 * 128, 7));
        pictures.push_back(strip);
    }
    for (const QImage& picture : pictures) {
        QByteArray png;
        QBuffer buffer(&png);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(WriteChartPng(picture, buffer));
        EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32), picture)
            << picture.width() << " x " << picture.height();
    }
}

} // namespace
