#pragma once

// Each chart kind's name on the command line (render --chart NAME). They sit below the charts so
// that the text-only command-line program can list them without loading the drawing code.

inline constexpr const char* kGapChartName = "gap";
inline constexpr const char* kPositionChartName = "positions";
inline constexpr const char* kLapTimeChartName = "laptimes";

// In the order of the chart-kind table.
inline constexpr const char* kChartKindNames[] = {kGapChartName, kPositionChartName, kLapTimeChartName};
