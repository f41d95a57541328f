#include "data/LapReadout.h"

#include "data/DriverTexts.h"
#include "data/Formatting.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

constexpr std::uint32_t kUnshowableBits = 0xF0000000;
constexpr const char* kUnknownGapText = "--";

bool Showable(std::uint32_t time) {
    return (time & kUnshowableBits) == 0;
}

std::optional<std::int64_t> Gap(std::uint32_t time, std::uint32_t reference) {
    if (!Showable(time) || !Showable(reference))
        return std::nullopt;
    return std::int64_t{time} - std::int64_t{reference};
}

std::string GapText(const std::optional<std::int64_t>& gap) {
    return gap ? FormatGap(*gap) : std::string(kUnknownGapText);
}

// Control bytes would garble a panel or a status line.
std::string Printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return text;
}

// "  5" reads "5" inside brackets; a marker stays: "% 7".
std::string Trimmed(const std::string& idText) {
    return idText.substr(std::min(idText.find_first_not_of(' '), idText.size()));
}

} // namespace

LapReadoutModel::LapReadoutModel(const RaceData& race) : m_positions(race), m_lapCount(race.lapCount) {
    for (int d = 0; d < race.drivers->GetCount(); ++d)
        m_drivers.push_back(race.drivers->GetAt(d));
}

bool LapReadoutModel::Matches(const RaceData& race) const {
    if (race.lapCount != m_lapCount || race.drivers->GetCount() != static_cast<int>(m_drivers.size()))
        return false;
    for (int d = 0; d < race.drivers->GetCount(); ++d)
        if (race.drivers->GetAt(d) != m_drivers[static_cast<std::size_t>(d)])
            return false;
    return true;
}

std::uint32_t LapReadoutModel::TimeOf(const RaceData& race, int driver, int slot) const {
    const DriverRecord* record = race.drivers->GetAt(driver);
    const LapRecord* lap = record != nullptr ? record->laps.GetAt(slot) : nullptr;
    return lap != nullptr ? lap->raceTime : kNoTime;
}

// The same test as the lapping lines: k laps down when the leader finished lap j + k earlier.
int LapReadoutModel::LapsDown(const RaceData& race, int slot, std::uint32_t raceTime) const {
    int lapsDown = 0;
    for (int later = slot + 1; later < m_positions.SlotCount(); ++later) {
        const int leader = m_positions.DriverAt(later, 1);
        if (leader < 0 || !(raceTime > TimeOf(race, leader, later)))
            break;
        ++lapsDown;
    }
    return lapsDown;
}

std::optional<LapReadout> LapReadoutModel::At(const RaceData& race, int driver, int slot,
                                              int referenceDriver) const {
    DriverRecord* record = race.drivers->GetAt(driver);
    const LapRecord* lap = record != nullptr ? record->laps.GetAt(slot) : nullptr;
    if (lap == nullptr || m_positions.At(driver, slot) == 0)
        return std::nullopt;
    LapReadout readout;
    readout.driver = driver;
    readout.slot = slot;
    readout.name = record->GetName().empty() ? std::string(kNoDriverName) : record->GetName();
    readout.idText = CarIdText(record->car);
    readout.colour = record->colour;
    readout.lapNumber = slot + 1;
    readout.position = m_positions.At(driver, slot);
    readout.fieldSize = m_positions.FieldSizeAt(slot);
    readout.raceTime = lap->raceTime;
    readout.lapTime = lap->lapTime;
    const int leader = m_positions.DriverAt(slot, 1);
    readout.gapToLeader = Gap(lap->raceTime, TimeOf(race, leader, slot));
    readout.lapsDown = LapsDown(race, slot, lap->raceTime);
    if (readout.position > 1) {
        const int ahead = m_positions.DriverAt(slot, readout.position - 1);
        readout.gapToCarAhead = Gap(lap->raceTime, TimeOf(race, ahead, slot));
        const std::string aheadName = race.drivers->GetAt(ahead)->GetName();
        readout.carAheadName = aheadName.empty() ? std::string(kNoDriverName) : aheadName;
    }
    readout.hasEvent = (lap->flags & (kLapEventA | kLapEventB)) != 0;
    readout.eventTime = lap->eventTime;
    if (const DriverRecord* reference = race.drivers->GetAt(referenceDriver)) {
        readout.referenceName =
            reference->GetName().empty() ? std::string(kNoDriverName) : reference->GetName();
        if (const LapRecord* referenceLap = reference->laps.GetAt(slot))
            readout.gapToReference = Gap(lap->raceTime, referenceLap->raceTime);
    }
    return readout;
}

std::string FormatGap(std::int64_t milliseconds) {
    const char sign = milliseconds < 0 ? '-' : '+';
    const std::uint64_t ms = milliseconds < 0 ? 0 - static_cast<std::uint64_t>(milliseconds)
                                              : static_cast<std::uint64_t>(milliseconds);
    const auto hours = static_cast<unsigned long long>(ms / 3600000);
    const auto minutes = static_cast<unsigned long long>(ms / 60000 % 60);
    const auto seconds = static_cast<unsigned long long>(ms / 1000 % 60);
    const auto thousandths = static_cast<unsigned long long>(ms % 1000);
    char text[48];
    if (hours > 0)
        std::snprintf(text, sizeof text, "%c%llu:%02llu:%02llu.%03llu", sign, hours, minutes, seconds,
                      thousandths);
    else if (minutes > 0)
        std::snprintf(text, sizeof text, "%c%llu:%02llu.%03llu", sign, minutes, seconds, thousandths);
    else
        std::snprintf(text, sizeof text, "%c%llu.%03llu", sign, seconds, thousandths);
    return text;
}

std::string LeaderGapText(const LapReadout& readout) {
    if (readout.position == 1)
        return "leading";
    if (readout.lapsDown == 0)
        return GapText(readout.gapToLeader);
    return "+" + std::to_string(readout.lapsDown) + (readout.lapsDown == 1 ? " lap, " : " laps, ") +
           GapText(readout.gapToLeader);
}

std::vector<std::string> ReadoutLines(const LapReadout& readout) {
    std::vector<std::string> lines;
    lines.push_back(Printable(readout.name) + "  " + readout.idText);
    lines.push_back("Lap " + std::to_string(readout.lapNumber) + "  P" + std::to_string(readout.position) +
                    "/" + std::to_string(readout.fieldSize));
    lines.push_back("Race time " + RaceTimeText(readout.raceTime));
    lines.push_back("Lap time " + LapTimeText(readout.lapTime));
    lines.push_back(readout.position == 1 ? std::string("Leading")
                                          : "Gap to leader " + LeaderGapText(readout));
    if (readout.gapToCarAhead)
        lines.push_back("Gap to car ahead " + GapText(readout.gapToCarAhead) + " (" +
                        Printable(readout.carAheadName) + ")");
    if (readout.gapToReference)
        lines.push_back("Gap to " + Printable(readout.referenceName) + " " + GapText(readout.gapToReference));
    if (readout.hasEvent)
        lines.push_back("Event time " + RaceTimeText(readout.eventTime));
    return lines;
}

std::string ReadoutStatusText(const LapReadout& readout) {
    std::string text = Printable(readout.name) + " (" + Trimmed(readout.idText) + "), lap " +
                       std::to_string(readout.lapNumber) + ", P" + std::to_string(readout.position) + "/" +
                       std::to_string(readout.fieldSize) + ", " + RaceTimeText(readout.raceTime) + ", lap " +
                       LapTimeText(readout.lapTime) + ", " +
                       (readout.position == 1 ? std::string("leading") : "leader " + LeaderGapText(readout));
    if (readout.gapToCarAhead)
        text += ", ahead " + GapText(readout.gapToCarAhead);
    if (readout.gapToReference)
        text += ", to " + Printable(readout.referenceName) + " " + GapText(readout.gapToReference);
    if (readout.hasEvent)
        text += ", event " + RaceTimeText(readout.eventTime);
    return text;
}

std::string GapToDriverCaption(const DriverRecord& driver) {
    const std::string name = driver.GetName().empty() ? std::string(kNoDriverName) : driver.GetName();
    return "Gap to " + Printable(name) + " (" + Trimmed(CarIdText(driver.car)) + ")";
}

namespace {

std::int64_t DistanceSquared(std::int64_t dx, std::int64_t dy) {
    return dx * dx + dy * dy;
}

// From (x, y) to the line from a to b, squared; and whether b is the nearer end.
std::int64_t SegmentDistanceSquared(const TracePoint& a, const TracePoint& b, int x, int y, bool& nearerB) {
    nearerB = DistanceSquared(x - b.x, y - b.y) < DistanceSquared(x - a.x, y - a.y);
    const double dx = double(b.x) - a.x;
    const double dy = double(b.y) - a.y;
    const double length = dx * dx + dy * dy;
    double t = length > 0 ? ((double(x) - a.x) * dx + (double(y) - a.y) * dy) / length : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double px = a.x + t * dx - x;
    const double py = a.y + t * dy - y;
    return static_cast<std::int64_t>(px * px + py * py + 0.5);
}

} // namespace

std::optional<CurveHit> NearestCurvePoint(std::span<const CurveTrace> curves, int x, int y,
                                          int pointTolerance, int lineTolerance) {
    std::optional<CurveHit> pointHit;
    std::int64_t bestPoint = std::int64_t{pointTolerance} * pointTolerance;
    std::optional<CurveHit> lineHit;
    std::int64_t bestLine = std::int64_t{lineTolerance} * lineTolerance;
    for (const CurveTrace& curve : curves) {
        for (std::size_t i = 0; i < curve.points.size(); ++i) {
            const TracePoint& point = curve.points[i];
            const std::int64_t d = DistanceSquared(x - point.x, y - point.y);
            if (d <= bestPoint) {
                bestPoint = d;
                pointHit = CurveHit{curve.driver, point.slot};
            }
            if (i == 0 || !point.joined)
                continue;
            const TracePoint& from = curve.points[i - 1];
            bool nearerEnd = false;
            const std::int64_t line = SegmentDistanceSquared(from, point, x, y, nearerEnd);
            if (line <= bestLine) {
                bestLine = line;
                lineHit = CurveHit{curve.driver, nearerEnd ? point.slot : from.slot};
            }
        }
    }
    return pointHit ? pointHit : lineHit;
}
