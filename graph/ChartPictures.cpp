#include "graph/ChartPictures.h"

#include "data/DriverTexts.h"
#include "data/RaceExport.h"
#include "document/CTarmioDoc.h"
#include "graph/ChartKinds.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPainter>
#include <QPicture>
#include <QScrollBar>
#include <QSvgGenerator>

namespace {
constexpr int kReportChartWidth = 1024;
constexpr int kReportChartHeight = 640;
} // namespace

namespace {

constexpr int kFrameMargin = 6;
constexpr int kLegendGap = 14; // between two names on a legend line
constexpr QRgb kFrameBackground = qRgb(0, 0, 0);
constexpr QRgb kFrameText = qRgb(0xC0, 0xDC, 0xC0); // the chart's own label colour
constexpr int kFrameFontPixels = 12;

// Named, so that SVG viewers pick the same face the picture was measured with.
QFont FrameFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kFrameFontPixels);
    return font;
}

struct LegendEntry {
    QString name;
    QColor colour;
    QPoint at; // the text's baseline start, below the chart
};

// The names wrapped into lines as wide as the chart, in the driver array's order.
std::vector<LegendEntry> LayOutLegend(const CTarmioView& view, const QFontMetrics& metrics, int width) {
    std::vector<LegendEntry> entries;
    const RaceData* race = view.GetRaceData();
    if (race == nullptr || race->drivers == nullptr)
        return entries;
    int x = kFrameMargin;
    int line = 0;
    for (int d = 0; d < race->drivers->GetCount(); ++d) {
        const DriverRecord& driver = *race->drivers->GetAt(d);
        const QString name =
            QString::fromStdString(NameAsUtf8(driver.name.empty() ? kNoDriverName : driver.name));
        const int nameWidth = metrics.horizontalAdvance(name);
        if (x > kFrameMargin && x + nameWidth > width - kFrameMargin) {
            x = kFrameMargin;
            ++line;
        }
        entries.push_back(
            {name, QColor(GetRValue(driver.colour), GetGValue(driver.colour), GetBValue(driver.colour)),
             QPoint(x, kFrameMargin + line * metrics.lineSpacing() + metrics.ascent())});
        x += nameWidth + kLegendGap;
    }
    return entries;
}

struct FrameLayout {
    int titleHeight = 0;
    int legendHeight = 0;
    std::vector<LegendEntry> legend;
};

FrameLayout LayOutFrame(const CTarmioView& view, const PictureFrame& frame, const QFont& font, int width) {
    const QFontMetrics metrics(font);
    FrameLayout layout;
    if (!frame.title.empty())
        layout.titleHeight = metrics.lineSpacing() + 2 * kFrameMargin;
    if (frame.legend) {
        layout.legend = LayOutLegend(view, metrics, width);
        const int lastLine =
            layout.legend.empty()
                ? -1
                : (layout.legend.back().at.y() - kFrameMargin - metrics.ascent()) / metrics.lineSpacing();
        const int lines = lastLine + 1;
        layout.legendHeight = lines * metrics.lineSpacing() + 2 * kFrameMargin;
    }
    return layout;
}

// The title above the chart and the legend below it, on the frame's background.
void PaintFrame(QPainter& painter, const PictureFrame& frame, const FrameLayout& layout, const QSize& chart) {
    const int height = layout.titleHeight + chart.height() + layout.legendHeight;
    painter.fillRect(QRect(0, 0, chart.width(), height), QColor(kFrameBackground));
    const QFontMetrics metrics(painter.font());
    if (!frame.title.empty()) {
        painter.setPen(QColor(kFrameText));
        painter.drawText(kFrameMargin, kFrameMargin + metrics.ascent(), QString::fromStdString(frame.title));
    }
    const int legendTop = layout.titleHeight + chart.height();
    for (const LegendEntry& entry : layout.legend) {
        painter.setPen(entry.colour);
        painter.drawText(entry.at + QPoint(0, legendTop), entry.name);
    }
}

QSize ChartSize(const CTarmioView& view) {
    CRect client;
    view.GetClientRect(&client);
    return {client.Width(), client.Height()};
}

} // namespace

QByteArray DrawChartSvg(CTarmioView& view, const PictureFrame& frame) {
    const QSize chart = ChartSize(view);
    const FrameLayout layout = LayOutFrame(view, frame, FrameFont(), chart.width());
    const QSize whole(chart.width(), layout.titleHeight + chart.height() + layout.legendHeight);
    QByteArray svg;
    QBuffer buffer(&svg);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(whole);
    generator.setViewBox(QRect(QPoint(0, 0), whole));
    generator.setResolution(view.logicalDpiX());
    if (frame.Empty()) {
        CDC dc(&generator, false);
        view.DrawScreenPicture(&dc);
        return svg;
    }
    // The chart is recorded first and replayed under the frame's title: one painter at a time.
    QPicture picture;
    picture.setBoundingRect(QRect(QPoint(0, 0), chart));
    {
        CDC dc(&picture, false);
        view.DrawScreenPicture(&dc);
    }
    QPainter painter(&generator);
    painter.setFont(FrameFont());
    PaintFrame(painter, frame, layout, chart);
    painter.drawPicture(0, layout.titleHeight, picture);
    return svg;
}

// The screen picture drawn straight into an image with more pixels than the window has.
QImage DrawScaledScreen(CTarmioView& view, QSize chart, int scale) {
    QImage screen(chart * scale, QImage::Format_RGB32);
    screen.setDevicePixelRatio(scale);
    CDC dc(&screen, false);
    view.DrawScreenPicture(&dc);
    return screen;
}

QImage DrawChartImage(CTarmioView& view, const PictureFrame& frame, int scale) {
    const QSize chart = ChartSize(view);
    const QImage screen =
        scale == 1 ? view.grab(QRect(QPoint(0, 0), chart)).toImage() : DrawScaledScreen(view, chart, scale);
    if (frame.Empty())
        return screen;
    const FrameLayout layout = LayOutFrame(view, frame, FrameFont(), chart.width());
    QImage whole(QSize(chart.width(), layout.titleHeight + chart.height() + layout.legendHeight) * scale,
                 QImage::Format_RGB32);
    whole.setDevicePixelRatio(scale);
    QPainter painter(&whole);
    painter.setFont(FrameFont());
    PaintFrame(painter, frame, layout, chart);
    painter.drawImage(0, layout.titleHeight, screen);
    return whole;
}

std::vector<ReportChart> DrawReportCharts(CTarmioView& view) {
    const lapgraph::ChartKind shown = view.GetChartKind();
    std::vector<ReportChart> charts;
    for (const ChartKindInfo* kind : ChartKinds()) {
        view.SetChartKind(kind->kind);
        const QByteArray svg = DrawChartSvg(view);
        charts.push_back({kind->caption, svg.toStdString(), view.TraceScreenCurves()});
    }
    view.SetChartKind(shown);
    return charts;
}

void WriteReportOfDocument(std::ostream& out, CTarmioDoc& document, const std::string& title) {
    CTarmioView view;
    view.Create(nullptr, &document);
    const QScrollBar* scrollBar = view.GetVerticalScrollBar();
    view.resize(kReportChartWidth + (scrollBar != nullptr ? scrollBar->sizeHint().width() : 0),
                kReportChartHeight);
    view.OnInitialUpdate();
    view.OnUpdate(nullptr, 0);
    const std::vector<ReportChart> charts = DrawReportCharts(view);
    WriteRaceReport(out, *document.GetRaceData(), title, charts);
}
