#include "data/RaceExport.h"

#include "data/DriverTexts.h"
#include "data/Formatting.h"
#include "data/JsonText.h"
#include "data/RacePositions.h"

#include <algorithm>
#include <vector>

namespace {

constexpr const char* kCsvLineEnd = "\r\n";

bool IsControl(unsigned char byte) {
    return byte < 0x20 || (byte >= 0x7F && byte < 0xA0);
}

// Quoted only where RFC 4180 needs it, and where spaces at either end would be lost to a reader.
std::string CsvField(const std::string& text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// Per slot the race time of the car in first place; the leaderTimes of the statistics are not
// used because they may predate a removal.
std::vector<std::uint32_t> LeaderTimes(const RaceData& race, const RacePositions& positions) {
    std::vector<std::uint32_t> times(static_cast<std::size_t>(positions.SlotCount()), kNoTime);
    for (int slot = 0; slot < positions.SlotCount(); ++slot)
        if (const int leader = positions.DriverAt(slot, 1); leader >= 0)
            times[static_cast<std::size_t>(slot)] = race.drivers->GetAt(leader)->laps.GetAt(slot)->raceTime;
    return times;
}

void WriteDriverRows(std::ostream& out, const DriverRecord& driver, int index, const RacePositions& positions,
                     const std::vector<std::uint32_t>& leaderTimes) {
    const std::string name = CsvField(NameAsUtf8(driver.name));
    const std::string id = CsvField(CarIdText(driver.car));
    for (int slot = 0; slot < driver.laps.GetSize(); ++slot) {
        const LapRecord* lap = driver.laps.GetAt(slot);
        if (lap == nullptr)
            continue;
        // The leader has the smallest race time of the slot, so the gap never wraps.
        const std::uint32_t gap = lap->raceTime - leaderTimes[static_cast<std::size_t>(slot)];
        out << name << ',' << int{driver.car} << ',' << id << ',' << slot + 1 << ','
            << positions.At(index, slot) << ',' << lap->raceTime << ',' << lap->lapTime << ',' << gap << ','
            << lap->flags << ',' << lap->eventTime << kCsvLineEnd;
    }
}

std::string DisplayName(const std::string& name) {
    return name.empty() ? std::string(kNoDriverName) : NameAsUtf8(name);
}

// Columns padded to their widest cell; widths count characters, not UTF-8 bytes.
class TextTable {
public:
    void Add(std::vector<std::string> row) { m_rows.push_back(std::move(row)); }
    void Write(std::ostream& out, const std::vector<bool>& rightAligned) const {
        std::vector<std::size_t> widths;
        for (const auto& row : m_rows)
            for (std::size_t c = 0; c < row.size(); ++c) {
                widths.resize(std::max(widths.size(), row.size()));
                widths[c] = std::max(widths[c], Utf8Length(row[c]));
            }
        for (const auto& row : m_rows) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c) {
                const std::string padding(widths[c] - Utf8Length(row[c]), ' ');
                const bool right = c < rightAligned.size() && rightAligned[c];
                line += "  " + (right ? padding + row[c] : row[c] + padding);
            }
            line.erase(line.find_last_not_of(' ') + 1);
            out << line << '\n';
        }
    }

private:
    std::vector<std::vector<std::string>> m_rows;
};

std::string NameOf(const RaceData& race, int driver) {
    return DisplayName(race.drivers->GetAt(driver)->name);
}

void WriteFinishOrder(std::ostream& out, const RaceData& race, const RaceSummary& summary) {
    out << "Finishing order\n";
    TextTable table;
    table.Add({"Pos", "Driver", "ID", "Laps", "Time", "Gap"});
    for (std::size_t i = 0; i < summary.finishOrder.size(); ++i) {
        const FinishEntry& entry = summary.finishOrder[i];
        char time[kRaceTimeTextSize];
        table.Add({std::to_string(i + 1), NameOf(race, entry.driver), CarIdText(entry.car),
                   std::to_string(entry.laps), FormatRaceTime(time, entry.raceTime),
                   FinishGapText(entry, i == 0)});
    }
    table.Write(out, {true, false, true, true, true, false});
}

void WriteLeaders(std::ostream& out, const RaceData& race, const RaceSummary& summary) {
    out << "\nLaps led\n";
    TextTable led;
    for (const LapsLed& entry : summary.lapsLed)
        led.Add({NameOf(race, entry.driver), std::to_string(entry.laps)});
    led.Write(out, {false, true});
    out << "\nLeaders\n";
    TextTable runs;
    for (const LeaderRun& run : summary.leaders) {
        const std::string laps = run.fromLap == run.toLap ? "Lap " + std::to_string(run.fromLap)
                                                          : "Laps " + std::to_string(run.fromLap) + "-" +
                                                                std::to_string(run.toLap);
        runs.Add({laps, NameOf(race, run.driver)});
    }
    runs.Write(out, {});
}

void WriteFastestLap(std::ostream& out, const RaceData& race, const RaceSummary& summary) {
    out << "\nFastest lap\n";
    if (!summary.fastestLap) {
        out << "  none\n";
        return;
    }
    char time[kLapTimeTextSize];
    out << "  " << FormatLapTime(time, summary.fastestLap->lapTime) << "  "
        << NameOf(race, summary.fastestLap->driver) << ", lap " << summary.fastestLap->lap << '\n';
}

void WriteEvents(std::ostream& out, const RaceData& race, const RaceSummary& summary) {
    out << "\nEvents\n";
    TextTable table;
    table.Add({"Driver", "Lap", "Event", "Event time", "Race time", "Lap time"});
    for (const EventLap& event : summary.events) {
        char eventTime[kRaceTimeTextSize];
        char raceTime[kRaceTimeTextSize];
        char lapTime[kLapTimeTextSize];
        table.Add({NameOf(race, event.driver), std::to_string(event.lap), EventKindsText(event.flags),
                   FormatRaceTime(eventTime, event.eventTime), FormatRaceTime(raceTime, event.raceTime),
                   FormatLapTime(lapTime, event.lapTime)});
    }
    if (summary.events.empty())
        out << "  none\n";
    else
        table.Write(out, {false, true, false, true, true, true});
}

} // namespace

std::string FinishGapText(const FinishEntry& entry, bool winner) {
    if (winner)
        return "";
    if (entry.lapsDown > 0)
        return "+" + std::to_string(entry.lapsDown) + (entry.lapsDown == 1 ? " lap" : " laps");
    if (entry.raceTime >= kNoTime)
        return "";
    char text[kLapTimeTextSize];
    return std::string("+") + FormatLapTime(text, entry.gap);
}

std::string EventKindsText(std::uint32_t flags) {
    std::string kinds;
    if ((flags & kLapEventA) != 0)
        kinds += "A";
    if ((flags & kLapEventB) != 0)
        kinds += kinds.empty() ? "B" : " B";
    return kinds;
}

std::string NameAsUtf8(const std::string& name) {
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsControl(byte)) {
            text += '?';
        } else if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::size_t Utf8Length(const std::string& text) {
    // Every character has one byte that is not a continuation byte (10xxxxxx).
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void WriteLapsCsv(std::ostream& out, const RaceData& race) {
    out << kLapsCsvHeader << kCsvLineEnd;
    if (race.drivers == nullptr)
        return;
    const RacePositions positions(race);
    const std::vector<std::uint32_t> leaderTimes = LeaderTimes(race, positions);
    for (int index = 0; index < race.drivers->GetCount(); ++index)
        WriteDriverRows(out, *race.drivers->GetAt(index), index, positions, leaderTimes);
}

void WriteSummaryText(std::ostream& out, const RaceData& race, const RaceSummary& summary) {
    const std::string track = NameAsUtf8(race.trackName);
    out << "Race summary" << (track.empty() ? "" : ": " + track) << "\n\n";
    if (summary.finishOrder.empty()) {
        out << "No drivers.\n";
        return;
    }
    WriteFinishOrder(out, race, summary);
    WriteLeaders(out, race, summary);
    WriteFastestLap(out, race, summary);
    WriteEvents(out, race, summary);
}

void WriteSummaryJson(std::ostream& out, const RaceSummary& summary) {
    out << "{\n  \"finishOrder\": [";
    for (std::size_t i = 0; i < summary.finishOrder.size(); ++i) {
        const FinishEntry& e = summary.finishOrder[i];
        out << (i ? ",\n    " : "\n    ") << "{\"car\": " << int{e.car}
            << ", \"name\": " << JsonString(e.name) << ", \"laps\": " << e.laps
            << ", \"raceTime\": " << e.raceTime << '}';
    }
    out << (summary.finishOrder.empty() ? "]" : "\n  ]") << ",\n  \"leaders\": [";
    for (std::size_t i = 0; i < summary.leaders.size(); ++i) {
        const LeaderRun& r = summary.leaders[i];
        out << (i ? ",\n    " : "\n    ") << "{\"car\": " << int{r.car} << ", \"fromLap\": " << r.fromLap
            << ", \"toLap\": " << r.toLap << '}';
    }
    out << (summary.leaders.empty() ? "]" : "\n  ]") << ",\n  \"lapsLed\": [";
    for (std::size_t i = 0; i < summary.lapsLed.size(); ++i) {
        const LapsLed& l = summary.lapsLed[i];
        out << (i ? ",\n    " : "\n    ") << "{\"car\": " << int{l.car} << ", \"laps\": " << l.laps << '}';
    }
    out << (summary.lapsLed.empty() ? "]" : "\n  ]") << ",\n  \"fastestLap\": ";
    if (summary.fastestLap)
        out << "{\"car\": " << int{summary.fastestLap->car} << ", \"lap\": " << summary.fastestLap->lap
            << ", \"lapTime\": " << summary.fastestLap->lapTime << '}';
    else
        out << "null";
    out << ",\n  \"events\": [";
    for (std::size_t i = 0; i < summary.events.size(); ++i) {
        const EventLap& e = summary.events[i];
        out << (i ? ",\n    " : "\n    ") << "{\"car\": " << int{e.car} << ", \"lap\": " << e.lap
            << ", \"flags\": " << e.flags << ", \"eventTime\": " << e.eventTime << '}';
    }
    out << (summary.events.empty() ? "]" : "\n  ]") << "\n}\n";
}
