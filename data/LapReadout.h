#pragma once

// The read-out under the pointer: where one driver stood at the end of one lap, its texts, and the
// search for the curve point nearest the pointer. Plain arithmetic on the race, shared by every
// chart and the command line.

#include "data/RaceData.h"
#include "data/RacePositions.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct LapReadout {
    int driver = -1; // index into the race's driver array
    int slot = -1;
    std::string name; // the driver list's name text
    std::string idText;
    COLORREF colour = 0;
    int lapNumber = 0;
    int position = 0; // at the end of the lap, among the drivers who have the slot
    int fieldSize = 0;
    std::uint32_t raceTime = kNoTime;
    std::uint32_t lapTime = kNoTime;
    // Laps the leader had completed beyond this one when this lap ended; the gap is to the
    // leader's time of the same slot either way.
    int lapsDown = 0;
    std::optional<std::int64_t> gapToLeader;   // none where a time cannot be shown
    std::optional<std::int64_t> gapToCarAhead; // none for the leader
    std::string carAheadName;
    bool hasEvent = false;
    std::uint32_t eventTime = 0;
    // To the chosen reference driver, where he has the slot.
    std::optional<std::int64_t> gapToReference;
    std::string referenceName;
};

// Builds read-outs for one race; keeps the positions, so build it again when the race changes.
class LapReadoutModel {
public:
    explicit LapReadoutModel(const RaceData& race);

    // The driver's lap in the slot; none when the driver has no lap there. referenceDriver is an
    // index into the driver array, or -1.
    std::optional<LapReadout> At(const RaceData& race, int driver, int slot, int referenceDriver = -1) const;
    // Whether the race still has the drivers, order and slots this model was built for.
    bool Matches(const RaceData& race) const;
    const RacePositions& Positions() const { return m_positions; }

private:
    std::uint32_t TimeOf(const RaceData& race, int driver, int slot) const;
    int LapsDown(const RaceData& race, int slot, std::uint32_t raceTime) const;

    RacePositions m_positions;
    std::vector<const DriverRecord*> m_drivers; // compared, never followed
    int m_lapCount = 0;
};

// "+12.345", "-0.040", "+1:02.345", "+1:02:03.456".
std::string FormatGap(std::int64_t milliseconds);
// "+12.345", "+1 lap, +1:32.000", "+2 laps, ..."; "leader" for the leader.
std::string LeaderGapText(const LapReadout& readout);
// The panel's lines, the name line first.
std::vector<std::string> ReadoutLines(const LapReadout& readout);
// One line for the status bar.
std::string ReadoutStatusText(const LapReadout& readout);
// "Gap to Bea (% 7)", "Gap to Ada (1)": what a chart measured against this driver says of itself.
std::string GapToDriverCaption(const DriverRecord& driver);

// A curve as drawn, in device pixels: its points in drawing order; a joined point has a line to
// it from the point before.
struct TracePoint {
    int x = 0;
    int y = 0;
    int slot = 0;
    bool joined = false;
};
struct CurveTrace {
    int driver = -1;
    std::vector<TracePoint> points;
};
struct CurveHit {
    int driver = -1;
    int slot = -1;
    bool operator==(const CurveHit&) const = default;
};

// The point nearest to (x, y) within pointTolerance pixels; else, on a line within lineTolerance,
// the nearer end of that line. Curves later in the span lie on top and win ties.
std::optional<CurveHit> NearestCurvePoint(std::span<const CurveTrace> curves, int x, int y,
                                          int pointTolerance, int lineTolerance);
