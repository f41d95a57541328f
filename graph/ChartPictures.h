#pragma once

// The chart as the window shows it, drawn into pictures outside the window: SVG for the export
// and the web report. The drawing is the view's own, through a device context on the SVG
// generator, so the vector device keeps every rule the printer's has.

#include "data/RaceReport.h"
#include "graph/TarmioView.h"

#include <QByteArray>
#include <QImage>
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

// Every chart kind in the table's order, each as SVG with its curves, for the web report; the
// view shows the kind it showed before.
std::vector<ReportChart> DrawReportCharts(CTarmioView& view);

// The race of document as the web report, with its charts drawn by a view of its own at the
// command line's picture size, as the viewer shows them after an Add.
void WriteReportOfDocument(std::ostream& out, CTarmioDoc& document, const std::string& title);
