#include "graph/ChartPictures.h"

#include "document/CTarmioDoc.h"
#include "graph/ChartKinds.h"

#include <QBuffer>
#include <QScrollBar>
#include <QSvgGenerator>

namespace {
constexpr int kReportChartWidth = 1024;
constexpr int kReportChartHeight = 640;
} // namespace

QByteArray DrawChartSvg(CTarmioView& view) {
    CRect client;
    view.GetClientRect(&client);
    QByteArray svg;
    QBuffer buffer(&svg);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(client.Width(), client.Height()));
    generator.setViewBox(QRect(0, 0, client.Width(), client.Height()));
    generator.setResolution(view.logicalDpiX());
    {
        CDC dc(&generator, false);
        view.DrawScreenPicture(&dc);
    }
    return svg;
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
    view.OnUpdate(nullptr, 0, nullptr);
    const std::vector<ReportChart> charts = DrawReportCharts(view);
    WriteRaceReport(out, *document.GetRaceData(), title, charts);
}
