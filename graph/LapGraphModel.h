#pragma once

// The arithmetic of the lap chart: which values are plotted, in which units, where lap slots and
// gaps land on the device, how the time grid and the lap labels are spaced, and how zoom and
// scrolling move. Plain arithmetic on the race and the view's state; no window needed.

#include "data/RaceData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lapgraph {

// Gaps are held in units of 40 ms.
constexpr int kGapUnitMs = 40;
constexpr int kLowestGap = -32768;
constexpr int kHighestGap = 32767;
constexpr int kScrollLimit = 32767;
// The window height shows zoom x 5 s.
constexpr int kMsPerZoomStep = 5000;
constexpr int kDefaultZoom = 65;
constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 262;
constexpr int kScrollLineStep = 100;
// A type B event mark ends in a tick this far to the left.
constexpr int kEventTickLength = 4;
// Up and Down move a tenth of the window height.
constexpr int kKeyStepDivisor = 400;

// What the view shows; the members of the same names in CTarmioView.
struct ViewState {
    int zoom = kDefaultZoom;
    int scrollPos = 0;
    bool relative = true; // pace line rather than lap leader
    bool mirrored = true; // origin at top
};

struct GraphRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The label and font measures the layout depends on.
struct AxisMetrics {
    int timeLabelWidth = 1; // cx of " -00:00 "
    int lapLabelHeight = 1; // cy of "00 "
    int lapLabelWidth = 1;  // cx of "00 "
    int lineHeight = 0;     // tmHeight + tmExternalLeading
};

// E: the gap units that the whole height shows.
int VerticalExtent(int zoom);
int SignedExtent(const ViewState& view);

// Where things go inside the drawing rectangle; recomputed for every drawing.
struct Layout {
    GraphRect graph;
    int extent = 0;       // E
    int signedExtent = 0; // +E origin at top, -E at bottom
    int x0 = 0;           // left of the plot, right of the time-label column
    int plotWidth = 0;    // W
    int plotHeight = 0;   // H, the whole height of the graph
    int yAxis = 0;        // device row of the gap at the origin
    int lineHeight = 0;
};
Layout ComputeLayout(const GraphRect& graph, const AxisMetrics& axis, const ViewState& view);

// The lap times the chart needs, with the race's slot count; missing entries count as nobody.
struct RaceTimes {
    int slotCount = 0;                                   // N
    const std::vector<std::uint32_t>* leaders = nullptr; // B
    const std::vector<std::uint32_t>* lasts = nullptr;   // L
    std::uint32_t Leader(int slot) const;
    std::uint32_t Last(int slot) const;
};
RaceTimes TimesOf(const RaceData& race);

// R(j): the lap leader's time, or an even pace line towards the best final time.
std::uint32_t ReferenceTime(const RaceTimes& times, int slot, bool relative);
// R(j) for every slot: the lap leader or the pace line, or a chosen driver's race times, which
// leave no reference where that driver has no lap.
using ReferenceSeries = std::vector<std::optional<std::uint32_t>>;
ReferenceSeries ReferenceSeriesOf(const RaceTimes& times, bool relative);
ReferenceSeries DriverReferenceSeries(const RaceTimes& times, const LapArray& laps);
// The series the gaps are measured to: the chosen driver's (an index into the driver array), or
// with -1 the lap leader's or the pace line's.
ReferenceSeries ReferenceSeriesFor(const RaceData& race, int referenceDriver, bool relative);
// g: time t behind the reference in gap units, truncated toward zero and clamped.
int GapValue(std::uint32_t time, std::uint32_t reference);
// x(j, W): the slot's offset from the plot's left edge.
int SlotOffset(int slot, int plotWidth, int slotCount);
// Device row of gap value v, rounded as the device's own mapping rounds.
int GapToRow(int gap, const Layout& layout, const ViewState& view);

// Spacing of the time grid in gap units; 0 means no grid and no time labels.
int GridStep(int plotHeight, int lineHeight, int extent);
// The first grid value; later ones rise by the step while below kHighestGap.
int FirstGridValue(int step);
// " 00:20", "-01:00": the label of a grid value.
std::string TimeLabel(int gap);

// Lap numbers carry labels every so many laps, chosen so that they fit side by side.
int LapLabelInterval(int plotWidth, int slotCount, int lapLabelWidth);
bool IsLapLabelled(int lapNumber, int slotCount, int interval);

// The dotted lines where a car k laps down would be, as pen moves over (slot, gap) points.
struct PenStep {
    bool draw = false; // LineTo rather than MoveTo
    int slot = 0;
    int gap = 0;
    bool operator==(const PenStep&) const = default;
};
struct LappingLine {
    int lapsDown = 0;
    std::vector<PenStep> steps;
};
std::vector<LappingLine> LappingLines(const RaceTimes& times, bool relative);
std::vector<LappingLine> LappingLines(const RaceTimes& times, const ReferenceSeries& reference);

// The vertical scroll bar: range -32767 .. 32767, a page of E.
struct ScrollBarSettings {
    int min = -kScrollLimit;
    int max = kScrollLimit;
    int page = 0;
    int pos = 0;
};
ScrollBarSettings ScrollBarFor(const ViewState& view);

int ZoomedIn(int zoom);
int ZoomedOut(int zoom);
// The zoom that shows the largest gap (twice that for the pace line); none for a level race.
std::optional<int> AutoZoom(std::uint32_t maxGap, bool relative);

// Zoom and scroll position that show the whole field, ahead of and behind a chosen driver, with
// the car furthest ahead on the axis line; none when everybody is level with him.
struct ViewFit {
    int zoom = kDefaultZoom;
    int scrollPos = 0;
    bool operator==(const ViewFit&) const = default;
};
std::optional<ViewFit> FitToReference(const RaceData& race, const ReferenceSeries& reference, bool mirrored);

// The lowest and highest gap the curves reach, event marks included, in gap units as drawn; none
// without a lap to plot.
struct GapSpan {
    int low = 0;
    int high = 0;
};
std::optional<GapSpan> CurveGapSpan(const RaceData& race, const ReferenceSeries& reference);
// Rows kept clear at either end of the band when the curves are fitted to it.
int FitMargin(int bandHeight);
// Zoom to Fit: the smallest zoom at which the span takes the band the curves are drawn in
// (bandHeight of the plotHeight rows the extent maps onto) less a margin at either end, and the
// scroll position that centres the span in the band.
ViewFit FitSpanToBand(const GapSpan& span, int plotHeight, int bandHeight, bool mirrored);

// What the scroll bar and the keyboard ask for.
enum class ScrollRequest {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    TenthUp,
    TenthDown,
    Track,
    Top,
    Bottom,
    Origin
};
// The new scroll position, held within -32767 .. 32767.
int ScrolledTo(ScrollRequest request, const ViewState& view, int trackPos = 0);

} // namespace lapgraph
