#include "data/RaceReport.h"

#include "data/DriverTexts.h"
#include "data/Formatting.h"
#include "data/JsonText.h"
#include "data/RaceExport.h"
#include "data/RacePositions.h"
#include "data/RaceSummary.h"
#include "data/ReportPage.h"
#include "data/Sha256.h"
#include "data/SvgText.h"

#include <cstdio>

namespace {

std::string HashSource(std::string_view text) {
    const auto digest = Sha256(text);
    return "'sha256-" + Base64(digest.data(), digest.size()) + "'";
}

// JSON inside a script element: no '<' may end the element early.
std::string ScriptJsonString(std::string_view text) {
    std::string json;
    for (const char c : JsonString(text)) {
        if (c == '<')
            json += "\\u003c";
        else if (c == '>')
            json += "\\u003e";
        else if (c == '&')
            json += "\\u0026";
        else
            json += c;
    }
    return json;
}

std::string Name(const RaceData& race, int driver) {
    const std::string& name = race.drivers->GetAt(driver)->name;
    return HtmlEscaped(name.empty() ? std::string(kNoDriverName) : NameAsUtf8(name));
}

std::string ColourHex(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

// A driver's name with its colour swatch, in a cell that chooses the driver.
std::string NameCell(const RaceData& race, int driver) {
    return "<td class=\"c" + std::to_string(driver) + "\"><span class=\"sw\"></span><span class=\"nm\">" +
           Name(race, driver) + "</span></td>";
}

std::string Row(int driver) {
    return "<tr data-d=\"" + std::to_string(driver) + "\">";
}

std::string Style(const RaceData& race) {
    std::string style = report_page::kStyle;
    for (int d = 0; d < race.drivers->GetCount(); ++d)
        style += ".c" + std::to_string(d) + "{color:" + ColourHex(race.drivers->GetAt(d)->colour) + "}\n";
    return style;
}

void WriteResults(std::ostream& out, RaceData& race, const RaceSummary& summary) {
    out << "<h2>Results</h2>\n<table id=\"results\"><thead><tr><th class=\"n\">Pos</th><th>Driver</th>"
           "<th class=\"n\">Total time</th><th>Gap</th><th class=\"n\">Laps</th>"
           "<th class=\"n\">Fastest lap</th><th class=\"n\">Car</th></tr></thead><tbody>\n";
    for (std::size_t i = 0; i < summary.finishOrder.size(); ++i) {
        const FinishEntry& entry = summary.finishOrder[i];
        const DriverTexts texts = MakeDriverTexts(*race.drivers->GetAt(entry.driver));
        out << Row(entry.driver) << "<td class=\"n\">" << i + 1 << "</td>" << NameCell(race, entry.driver)
            << "<td class=\"n\">" << RaceTimeText(entry.raceTime) << "</td><td>"
            << FinishGapText(entry, i == 0) << "</td><td class=\"n\">" << texts.laps
            << "</td><td class=\"n\">" << texts.fastestLap << "</td><td class=\"n\">"
            << HtmlEscaped(CarIdText(entry.car)) << "</td></tr>\n";
    }
    out << "</tbody></table>\n";
}

void WriteLeaders(std::ostream& out, const RaceData& race, const RaceSummary& summary) {
    out << "<h2>Laps led</h2>\n<table id=\"laps-led\"><tbody>\n";
    for (const LapsLed& entry : summary.lapsLed)
        out << Row(entry.driver) << NameCell(race, entry.driver) << "<td class=\"n\">" << entry.laps
            << "</td></tr>\n";
    out << "</tbody></table>\n<h2>Leaders</h2>\n<table id=\"leaders\"><tbody>\n";
    for (const LeaderRun& run : summary.leaders) {
        const std::string laps = run.fromLap == run.toLap ? "Lap " + std::to_string(run.fromLap)
                                                          : "Laps " + std::to_string(run.fromLap) + "-" +
                                                                std::to_string(run.toLap);
        out << Row(run.driver) << "<td>" << laps << "</td>" << NameCell(race, run.driver) << "</tr>\n";
    }
    out << "</tbody></table>\n<h2>Fastest lap</h2>\n";
    if (!summary.fastestLap) {
        out << "<p>none</p>\n";
        return;
    }
    out << "<table id=\"fastest\"><tbody>" << Row(summary.fastestLap->driver)
        << NameCell(race, summary.fastestLap->driver) << "<td class=\"n\">"
        << LapTimeText(summary.fastestLap->lapTime) << "</td><td>lap " << summary.fastestLap->lap
        << "</td></tr></tbody></table>\n";
}

void WriteEvents(std::ostream& out, const RaceData& race, const RaceSummary& summary) {
    out << "<h2>Events</h2>\n";
    if (summary.events.empty()) {
        out << "<p>none</p>\n";
        return;
    }
    out << "<table id=\"events\"><thead><tr><th>Driver</th><th class=\"n\">Lap</th><th>Event</th>"
           "<th class=\"n\">Event time</th><th class=\"n\">Race time</th><th class=\"n\">Lap time</th>"
           "</tr></thead><tbody>\n";
    for (const EventLap& event : summary.events)
        out << Row(event.driver) << NameCell(race, event.driver) << "<td class=\"n\">" << event.lap
            << "</td><td>" << EventKindsText(event.flags) << "</td><td class=\"n\">"
            << RaceTimeText(event.eventTime) << "</td><td class=\"n\">" << RaceTimeText(event.raceTime)
            << "</td><td class=\"n\">" << LapTimeText(event.lapTime) << "</td></tr>\n";
    out << "</tbody></table>\n";
}

// One row per driver in finishing order, one cell per lap: the position at its end, then the lap
// time.
void WriteLapTable(std::ostream& out, const RaceData& race, const RaceSummary& summary) {
    const RacePositions positions(race);
    const int slots = std::max(0, race.lapCount);
    out << "<h2>Lap by lap</h2>\n<div class=\"laps\"><table id=\"lap-by-lap\"><thead><tr><th>Driver</th>";
    for (int slot = 0; slot < slots; ++slot)
        out << "<th class=\"n\">" << slot + 1 << "</th>";
    out << "</tr></thead><tbody>\n";
    for (const FinishEntry& entry : summary.finishOrder) {
        const DriverRecord& driver = *race.drivers->GetAt(entry.driver);
        out << Row(entry.driver) << NameCell(race, entry.driver);
        for (int slot = 0; slot < slots; ++slot) {
            const LapRecord* lap = driver.laps.GetAt(slot);
            out << "<td>";
            if (lap != nullptr)
                out << 'P' << positions.At(entry.driver, slot) << ' ' << LapTimeText(lap->lapTime);
            out << "</td>";
        }
        out << "</tr>\n";
    }
    out << "</tbody></table></div>\n";
}

// The path of each curve over the picture: invisible until its driver is chosen, and the
// target of a click on the curve.
std::string HighlightLayer(const ReportChart& chart) {
    std::string layer = "<g class=\"hl\">";
    for (const CurveTrace& curve : chart.curves) {
        if (curve.points.empty())
            continue;
        layer += "<path data-d=\"" + std::to_string(curve.driver) + "\" class=\"c" +
                 std::to_string(curve.driver) + "\" d=\"";
        for (const TracePoint& point : curve.points)
            layer += (point.joined ? "L" : "M") + std::to_string(point.x) + ' ' + std::to_string(point.y);
        layer += "\"/>";
    }
    return layer + "</g>";
}

// The drawn picture without its XML prologue, marked as chart number index, with the highlight
// layer on top.
std::string InlineSvg(const ReportChart& chart, std::size_t index) {
    const std::string compact = CompactSvg(chart.svg);
    const std::size_t start = compact.find("<svg");
    const std::size_t end = compact.rfind("</svg>");
    if (start == std::string::npos || end == std::string::npos || end < start)
        return "";
    std::string svg = compact.substr(start, end - start);
    svg.insert(4, " class=\"chart\" data-chart=\"" + std::to_string(index) + "\" role=\"img\"");
    return svg + HighlightLayer(chart) + "</svg>";
}

void WriteCharts(std::ostream& out, std::span<const ReportChart> charts) {
    for (std::size_t i = 0; i < charts.size(); ++i)
        out << "<figure><h2>" << HtmlEscaped(charts[i].caption) << "</h2>\n"
            << InlineSvg(charts[i], i) << "</figure>\n";
}

// The read-out's lines after the name begin with one of these labels; the page carries each once
// and a line names its label by index (a digit, which no label starts with).
constexpr const char* kReadoutLabels[] = {"Lap time ",         "Lap ",        "Race time ", "Gap to leader ",
                                          "Gap to car ahead ", "Event time ", "Leading"};

std::string WithLabelIndex(const std::string& line) {
    for (std::size_t i = 0; i < std::size(kReadoutLabels); ++i) {
        const std::string_view label = kReadoutLabels[i];
        if (line.starts_with(label))
            return std::to_string(i) + line.substr(label.size());
    }
    return line;
}

// The read-out of every lap as the viewer's panel words it, its name line once per driver, and
// each chart's curve points (x, y, and the slot plus one, negative where no line joins the point)
// for the search under the pointer.
void WriteScriptData(std::ostream& out, const RaceData& race, std::span<const ReportChart> charts) {
    const LapReadoutModel readouts(race);
    std::vector<std::string> nameLines(static_cast<std::size_t>(race.drivers->GetCount()));
    out << "<script type=\"application/json\" id=\"race-data\">{\"readouts\":[";
    for (int d = 0; d < race.drivers->GetCount(); ++d) {
        out << (d > 0 ? ",[" : "[");
        const int slots = race.drivers->GetAt(d)->laps.GetSize();
        for (int slot = 0; slot < slots; ++slot) {
            if (slot > 0)
                out << ',';
            const std::optional<LapReadout> readout = readouts.At(race, d, slot);
            if (!readout) {
                out << "0";
                continue;
            }
            const std::vector<std::string> lines = ReadoutLines(*readout);
            nameLines[static_cast<std::size_t>(d)] = lines.front();
            std::string text;
            for (std::size_t i = 1; i < lines.size(); ++i)
                text += (i > 1 ? "\n" : "") + WithLabelIndex(lines[i]);
            // The lines hold the files' bytes; JSON's \u00XX reads them as Latin-1, as
            // NameAsUtf8 does.
            out << ScriptJsonString(text);
        }
        out << ']';
    }
    out << "],\"labels\":[";
    for (std::size_t i = 0; i < std::size(kReadoutLabels); ++i)
        out << (i > 0 ? "," : "") << ScriptJsonString(kReadoutLabels[i]);
    out << "],\"names\":[";
    for (std::size_t d = 0; d < nameLines.size(); ++d)
        out << (d > 0 ? "," : "") << ScriptJsonString(nameLines[d]);
    out << "],\"charts\":[";
    for (std::size_t c = 0; c < charts.size(); ++c) {
        out << (c > 0 ? ",[" : "[");
        bool first = true;
        for (const CurveTrace& curve : charts[c].curves) {
            out << (first ? "[" : ",[") << curve.driver << ",[";
            first = false;
            for (std::size_t i = 0; i < curve.points.size(); ++i) {
                const TracePoint& p = curve.points[i];
                out << (i > 0 ? "," : "") << p.x << ',' << p.y << ','
                    << (p.joined ? p.slot + 1 : -(p.slot + 1));
            }
            out << "]]";
        }
        out << ']';
    }
    out << "]}</script>\n";
}

} // namespace

std::string HtmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string RaceTitle(const RaceData& race) {
    const std::string track = race.trackName.empty() ? "Race" : NameAsUtf8(race.trackName);
    const int laps = std::max(0, race.lapCount);
    return track + ", " + std::to_string(laps) + (laps == 1 ? " lap" : " laps");
}

void WriteRaceReport(std::ostream& out, RaceData& race, const std::string& title,
                     std::span<const ReportChart> charts) {
    const std::string heading = HtmlEscaped(title.empty() ? RaceTitle(race) : title);
    const std::string style = race.drivers != nullptr ? Style(race) : report_page::kStyle;
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
        << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; script-src "
        << HashSource(report_page::kScript) << "; style-src " << HashSource(style)
        << "; base-uri 'none'; form-action 'none'\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" << heading
        << "</title>\n<style>" << style << "</style></head>\n<body>\n<h1>" << heading << "</h1>\n";
    if (race.drivers == nullptr || race.drivers->GetCount() == 0) {
        out << "<p>No drivers.</p>\n</body></html>\n";
        return;
    }
    const RaceSummary summary = SummariseRace(race);
    WriteResults(out, race, summary);
    WriteLeaders(out, race, summary);
    WriteEvents(out, race, summary);
    WriteCharts(out, charts);
    WriteLapTable(out, race, summary);
    out << "<div id=\"readout\" hidden></div>\n";
    WriteScriptData(out, race, charts);
    out << "<script>" << report_page::kScript << "</script>\n</body></html>\n";
}
