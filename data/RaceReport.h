#pragma once

// The race as one self-contained HTML page: results, leaders, fastest lap, events, a lap-by-lap
// table and the charts as inline SVG. Every text from the files is escaped; the page loads
// nothing and runs only its own script.

#include "data/LapReadout.h"
#include "data/RaceData.h"

#include <ostream>
#include <span>
#include <string>
#include <string_view>

// One chart as the program drew it: SVG markup from its own drawing code, and each driver's
// curve in the picture's pixels for the read-out and the highlight.
struct ReportChart {
    std::string caption;
    std::string svg;
    std::vector<CurveTrace> curves;
};

// title: the page's heading; empty for the track name and the race's length.
void WriteRaceReport(std::ostream& out, RaceData& race, const std::string& title,
                     std::span<const ReportChart> charts);

// UTF-8 text made safe inside HTML and SVG text and attribute values.
std::string HtmlEscaped(std::string_view text);
// "Monza, 53 laps": what the report's and the pictures' title line says by default.
std::string RaceTitle(const RaceData& race);
