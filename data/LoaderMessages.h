#pragma once

#include "common/Prompt.h"

// What the loader tells the user, and how.
constexpr unsigned kRefusalStyle = MB_OK | MB_ICONSTOP;
constexpr unsigned kQuestionStyle = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;

constexpr const char* kNotValidLogFileText = "Not a valid log file";
constexpr const char* kVersionTooNewText = "File version newer than TarmioView can handle";
constexpr const char* kNoRaceInfoText = "No race info found";
constexpr const char* kIncorrectChecksumText = "Incorrect checksum";
constexpr const char* kUnknownGameVersionText = "Could not determine file version";
constexpr const char* kNoLodrunDataText = "No Lodrun data found";
constexpr const char* kNoLapsText = "File does not contain any laps";
constexpr const char* kNotRaceSessionText = "Not a race session";
constexpr const char* kOtherTrackQuestion = "This file is from a different track. Load it anyway?";
// A race file whose parts do not fit together: too short, cut off, or pointing outside itself.
constexpr const char* kDamagedFileText = "File is damaged";
// Beyond what any race file needs (the limits are in ContainerLayout.h).
constexpr const char* kFileTooLargeText = "File is too large";
constexpr const char* kOutOfMemoryText = "Not enough memory to load this file";
