#pragma once

#include <ostream>
#include <string>
#include <vector>

constexpr int kExitDone = 0;
// An input file was refused, or the output could not be written.
constexpr int kExitFailed = 1;
constexpr int kExitBadUsage = 2;

// One subcommand of the tool: its arguments exclude the subcommand's own name.
using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct Subcommand {
    const char* name;
    const char* arguments; // shown after the name in the usage text
    const char* summary;
    CommandFunction run;
};

// Writes the reason and the subcommand's usage line to err; returns kExitBadUsage.
int BadUsage(std::ostream& err, const std::string& command, const std::string& reason);

int RunDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCsv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunSummary(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunWatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The drawing commands: in tarmioview-cli they hand the process over to the drawing program
// (DrawingCommands.cpp), in which they are the commands themselves.
int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
