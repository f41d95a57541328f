#pragma once

#include "data/RaceData.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct LoadArguments {
    bool answerYes = false; // the answer to "different track, load it anyway?"
    std::vector<std::string> files;
};

// Parses "[--answer yes|no] FILE..."; nothing on bad usage, with the reason in error.
std::optional<LoadArguments> ParseLoadArguments(const std::vector<std::string>& args, std::string& error);

struct LoadOutcome {
    bool merged = false; // at least one file was merged
    int refused = 0;     // files that could not be read or were refused, each reported
};

// Adds the files to the race in order, as the viewer's Add does. Each refused file is reported
// on a line of its own that names it, also where the viewer refuses without a message; a file
// declined at the different-track question is not a refusal.
LoadOutcome LoadFiles(RaceData& race, const LoadArguments& arguments, std::ostream& err);
