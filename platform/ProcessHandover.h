#pragma once

// How tarmioview-cli hands render and report to the drawing program, so that the text commands
// never load Qt.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// This program's own file; nothing when the system cannot tell.
std::optional<std::filesystem::path> OwnExecutable();

// Runs program with arguments (the first being the program's own name) in place of this process,
// so that its exit status, output and signals are the user's (on Windows, which cannot replace a
// process, this one waits for it and exits with its status). Returns only when it could not be
// started, with the reason.
std::string RunInPlaceOfThisProcess(const std::filesystem::path& program,
                                    const std::vector<std::string>& arguments);
