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

// Adds the files to the race in order, as the viewer's Add does: a file that cannot be opened or
// read is reported and skipped, the loader's messages are written one per line.
// True when at least one file was merged.
bool LoadFiles(RaceData& race, const LoadArguments& arguments, std::ostream& err);
