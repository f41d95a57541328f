// tarmioview-cli: loads race files the way the viewer's Add does and prints what it would show.
// The drawing program shares this table and entry, so that both give the same usage texts.
#include "Commands.h"
#include "common/ChartKindNames.h"
#include "platform/NativePath.h"

#include <array>
#include <iostream>

namespace {

int RunHelp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

const char* RenderUsage() {
    static const std::string usage = [] {
        std::string kinds;
        for (const char* name : kChartKindNames)
            kinds += (kinds.empty() ? "" : "|") + std::string(name);
        return "[--chart " + kinds +
               "] [--width W --height H] [--absolute] [--origin-bottom] [--zoom Z] [--fit] [--scale S] "
               "[--distinct-colours] [--print] "
               "[--highlight CAR[,CAR...]] [--reference CAR] [--legend] [--title TEXT] -o OUT FILE...";
    }();
    return usage.c_str();
}

// Adding a subcommand: one line here and a file with its Run function.
const std::array kSubcommands = {
    Subcommand{"dump", "[--answer yes|no] FILE...", "load the files and print the race as JSON", RunDump},
    Subcommand{"table", "[--answer yes|no] FILE...", "load the files and print the driver list", RunTable},
    Subcommand{"csv", "[--answer yes|no] FILE...", "load the files and print every lap as CSV", RunCsv},
    Subcommand{"summary", "[--json] [--answer yes|no] FILE...", "load the files and print the race summary",
               RunSummary},
    Subcommand{"watch", "[--answer yes|no] [--once] FILE...",
               "follow the files while they are written and print each new lap as a JSON line", RunWatch},
    Subcommand{"render", RenderUsage(), "draw a chart into a PNG or SVG picture or a one-page PDF",
               RunRender},
    Subcommand{"report", "[--answer yes|no] [--title TEXT] [--distinct-colours] -o OUT.html FILE...",
               "write the race as one self-contained HTML page with every chart", RunReport},
    Subcommand{"help", "", "list the subcommands", RunHelp},
};

void PrintUsage(std::ostream& stream) {
    stream << "usage: tarmioview-cli SUBCOMMAND [ARGUMENTS]\n\nsubcommands:\n";
    for (const Subcommand& command : kSubcommands) {
        std::string line = std::string("  ") + command.name;
        if (*command.arguments)
            line += std::string(" ") + command.arguments;
        stream << line << '\n' << "      " << command.summary << '\n';
    }
    stream
        << "\nThe different-track question is answered by --answer (default no).\n"
           "Exit status: 0 when the command ran, 1 when an input file was refused or the output could not\n"
           "be written, 2 on bad usage.\n";
}

int RunHelp(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        PrintUsage(err);
        return kExitBadUsage;
    }
    PrintUsage(out);
    return kExitDone;
}

} // namespace

int BadUsage(std::ostream& err, const std::string& command, const std::string& reason) {
    err << "tarmioview-cli " << command << ": " << reason << '\n';
    for (const Subcommand& entry : kSubcommands)
        if (command == entry.name)
            err << "usage: tarmioview-cli " << entry.name << ' ' << entry.arguments << '\n';
    return kExitBadUsage;
}

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    if (arguments.size() < 2) {
        PrintUsage(std::cerr);
        return kExitBadUsage;
    }
    const std::string& name = arguments[1];
    const bool alone = arguments.size() == 2;
    if (name == "--version" && alone) {
        std::cout << "tarmioview-cli " << TARMIO_VERSION << '\n';
        return kExitDone;
    }
    if ((name == "--help" || name == "-h") && alone) {
        PrintUsage(std::cout);
        return kExitDone;
    }
    const std::vector<std::string> args(arguments.begin() + 2, arguments.end());
    for (const Subcommand& command : kSubcommands)
        if (name == command.name)
            return command.run(args, std::cout, std::cerr);
    std::cerr << "tarmioview-cli: unknown subcommand " << name << "\n\n";
    PrintUsage(std::cerr);
    return kExitBadUsage;
}
