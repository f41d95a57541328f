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
// Beyond the designed settings: whether the race's files are followed while they are written.
inline constexpr const char* kFollowFiles = "FollowFiles";
} // namespace settings
