#pragma once

// The chart as the window shows it, drawn into pictures outside the window: SVG for the export
// and the web report. The drawing is the view's own, through a device context on the SVG
// generator, so the vector device keeps every rule the printer's has.

#include "data/RaceReport.h"
#include "graph/TarmioView.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>
#include <ostream>
#include <string>

class CTarmioDoc;
#include <vector>

// What an exported picture may carry outside the chart, so that nothing covers a curve: a title
// line above it and a legend of driver names in their colours below it.
struct PictureFrame {
    std::string title; // UTF-8; empty: no title line
    bool legend = false;
    bool Empty() const { return title.empty() && !legend; }
};

// The view's current chart as SVG of its client area, in its frame; texts stay text.
QByteArray DrawChartSvg(CTarmioView& view, const PictureFrame& frame = {});
// The chart as the window shows it, in its frame; scale > 1 draws it for a device with that many
// pixels per window pixel, the same layout in a larger, sharper picture.
QImage DrawChartImage(CTarmioView& view, const PictureFrame& frame, int scale = 1);

// The view's printed page as a one-page PDF; a title line above the chart and the legend below
// it, inside the page's margin, when the frame asks for them. False when it could not be written.
bool PrintChartToPdf(CTarmioView& view, const QString& path, const PictureFrame& frame);

// Qt's PNG quality for charts, zlib level 3, chosen by measurement (BM_SampleChartPng): with a
// palette it writes the sample's charts in half the time of Qt's default level, in files a
// quarter larger, still smaller than the default level made them in RGB; the faster levels grow
// the files more than they save time.
constexpr int kChartPngQuality = 60;
// The chart as PNG: with a palette when it has no more than 256 colours, as a plain chart has,
// else in RGB; either way the same pixels. False when it could not be written.
bool WriteChartPng(const QImage& chart, QIODevice& device, int quality = kChartPngQuality);
bool SaveChartPng(const QImage& chart, const QString& path);

// Every chart kind in the table's order, each as SVG with its curves, for the web report; the
// view shows the kind it showed before.
std::vector<ReportChart> DrawReportCharts(CTarmioView& view);

// The race of document as the web report, with its charts drawn by a view of its own at the
// command line's picture size, as the viewer shows them after an Add.
void WriteReportOfDocument(std::ostream& out, CTarmioDoc& document, const std::string& title);
