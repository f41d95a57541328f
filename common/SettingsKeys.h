#pragma once

// Where the program keeps what it remembers between runs: one section, one key per setting. The
// names are those earlier versions wrote; a change would forget every user's choices.

namespace settings {
inline constexpr const char* kSection = "Settings";
// The Options menu's bits.
inline constexpr const char* kGeneralOptions = "GeneralOpts";
// The chart's choices.
inline constexpr const char* kGraphRelative = "GraphRelative";
inline constexpr const char* kGraphMirrored = "GraphMirrored";
inline constexpr const char* kGraphHighlight = "GraphHighlight";
inline constexpr const char* kGraphChart = "GraphChart";

// Where the windows were, kept beside the designed settings: a place is its left, top, width and
// height (the frame's client area, as Qt gives it).
struct PlaceKeys {
    const char* left;
    const char* top;
    const char* width;
    const char* height;
};
inline constexpr PlaceKeys kMainWindowPlace{"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"};
inline constexpr const char* kMainWindowMaximized = "WindowMaximized";
inline constexpr const char* kListWidth = "ListWidth";
inline constexpr const char* kListBlackBackground = "ListBlackBackground";
inline constexpr PlaceKeys kRaceSummaryPlace{"SummaryLeft", "SummaryTop", "SummaryWidth", "SummaryHeight"};

// Beyond the designed settings: whether the race's files are followed while they are written.
inline constexpr const char* kFollowFiles = "FollowFiles";
// Beyond the designed settings: View, Distinct Colours in place of the designed palette.
inline constexpr const char* kDistinctColours = "DistinctColours";
} // namespace settings
