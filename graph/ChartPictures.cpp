#include "graph/ChartPictures.h"

#include "data/DriverTexts.h"
#include "data/RaceExport.h"
#include "document/CTarmioDoc.h"
#include "framework/PrintJob.h"
#include "graph/ChartKinds.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPicture>
#include <QScrollBar>
#include <QSvgGenerator>
#include <cmath>
#include <optional>
#include <unordered_map>

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

// The title line at the top of the painter's frame and the legend from legendTop down.
void PaintFrameTexts(QPainter& painter, const PictureFrame& frame, const FrameLayout& layout, int legendTop,
                     const QColor& titleColour) {
    const QFontMetrics metrics(painter.font());
    if (!frame.title.empty()) {
        painter.setPen(titleColour);
        painter.drawText(kFrameMargin, kFrameMargin + metrics.ascent(), QString::fromStdString(frame.title));
    }
    for (const LegendEntry& entry : layout.legend) {
        painter.setPen(entry.colour);
        painter.drawText(entry.at + QPoint(0, legendTop), entry.name);
    }
}

// The title above the chart and the legend below it, on the frame's background.
void PaintFrame(QPainter& painter, const PictureFrame& frame, const FrameLayout& layout, const QSize& chart) {
    const int height = layout.titleHeight + chart.height() + layout.legendHeight;
    painter.fillRect(QRect(0, 0, chart.width(), height), QColor(kFrameBackground));
    PaintFrameTexts(painter, frame, layout, layout.titleHeight + chart.height(), QColor(kFrameText));
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

QImage DrawChartImage(CTarmioView& view, const PictureFrame& frame, int scale) {
    const QSize chart = ChartSize(view);
    const FrameLayout layout =
        frame.Empty() ? FrameLayout{} : LayOutFrame(view, frame, FrameFont(), chart.width());
    QImage whole(QSize(chart.width(), layout.titleHeight + chart.height() + layout.legendHeight) * scale,
                 QImage::Format_RGB32);
    whole.setDevicePixelRatio(scale);
    if (!frame.Empty()) {
        QPainter painter(&whole);
        painter.setFont(FrameFont());
        PaintFrame(painter, frame, layout, chart);
    }
    if (chart.isEmpty())
        return whole;
    // The chart is drawn in place, through an image over its own rows of the whole: no second
    // bitmap and no copy, the same pixels as the window's paint (with more of them when scaled).
    QImage chartRows(whole.scanLine(layout.titleHeight * scale), chart.width() * scale,
                     chart.height() * scale, whole.bytesPerLine(), whole.format());
    chartRows.setDevicePixelRatio(scale);
    CDC dc(&chartRows);
    view.DrawScreenPicture(&dc);
    dc.EndPainting();
    return whole;
}

bool PrintChartToPdf(CTarmioView& view, const QString& path, const PictureFrame& frame) {
    if (frame.Empty())
        return PrintViewToPdf(view, path) != FALSE;
    // The frame is laid out in screen pixels and scaled as the printed chart is: one screen pixel
    // becomes its physical size on paper.
    const double scale = static_cast<double>(kPrintResolution) / view.logicalDpiX();
    const int margin = CTarmioView::kPrintPageMargin;
    const QSize page = PdfPrintableSize();
    const FrameLayout layout =
        LayOutFrame(view, frame, FrameFont(), static_cast<int>((page.width() - 2 * margin) / scale));
    const int below = static_cast<int>(std::ceil(layout.legendHeight * scale));
    view.SetPrintedFrameSpace(static_cast<int>(std::ceil(layout.titleHeight * scale)), below);
    const auto paintFrame = [&](QPainter& painter) {
        painter.translate(margin, margin);
        painter.scale(scale, scale);
        painter.setFont(FrameFont());
        const int legendTop = static_cast<int>((page.height() - 2 * margin - below) / scale);
        PaintFrameTexts(painter, frame, layout, legendTop, Qt::black);
    };
    const bool written = PrintViewToPdf(view, path, paintFrame) != FALSE;
    view.SetPrintedFrameSpace(0, 0);
    return written;
}

namespace {
constexpr int kPaletteSize = 256;

// The chart's pixels as indices into a table of its colours; nothing when there are more than a
// palette holds. Neighbouring pixels mostly share a colour, so the table is looked up only on a
// change.
std::optional<QImage> PalettedPicture(const QImage& chart) {
    const QImage rgb =
        chart.format() == QImage::Format_RGB32 ? chart : chart.convertToFormat(QImage::Format_RGB32);
    QImage paletted(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> colours;
    std::unordered_map<QRgb, uchar> indexOf;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* indices = paletted.scanLine(y);
        QRgb last = 0;
        uchar lastIndex = 0;
        bool known = false;
        for (int x = 0; x < rgb.width(); ++x) {
            if (!known || pixels[x] != last) {
                const auto [entry, added] =
                    indexOf.try_emplace(pixels[x], static_cast<uchar>(colours.size()));
                if (added) {
                    if (colours.size() == kPaletteSize)
                        return std::nullopt;
                    colours.append(pixels[x] | 0xFF000000u);
                }
                last = pixels[x];
                lastIndex = entry->second;
                known = true;
            }
            indices[x] = lastIndex;
        }
    }
    paletted.setColorTable(colours);
    return paletted;
}
} // namespace

bool WriteChartPng(const QImage& chart, QIODevice& device, int quality) {
    const std::optional<QImage> paletted = chart.isNull() ? std::nullopt : PalettedPicture(chart);
    return (paletted ? *paletted : chart).save(&device, "PNG", quality);
}

bool SaveChartPng(const QImage& chart, const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && WriteChartPng(chart, file) &&
           file.flush();
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
