// report: the loaded race as one self-contained HTML page, its charts drawn by the viewer's own
// chart code.
#include "Commands.h"
#include "LoadFiles.h"
#include "PictureOutput.h"
#include "document/CTarmioDoc.h"
#include "graph/ChartPictures.h"

#include <sstream>

namespace {

constexpr const char* kCommand = "report";

struct ReportArguments {
    std::string title;
    std::string output;
    bool distinctColours = false;
    std::vector<std::string> loadArguments;
};

std::optional<ReportArguments> ParseReportArguments(const std::vector<std::string>& args,
                                                    std::string& error) {
    ReportArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--title" || arg == "-o") {
            if (!hasValue) {
                error = arg + (arg == "-o" ? " needs a file name" : " needs a text");
                return std::nullopt;
            }
            (arg == "-o" ? parsed.output : parsed.title) = args[++i];
        } else if (arg == "--distinct-colours") {
            parsed.distinctColours = true;
        } else {
            parsed.loadArguments.push_back(arg);
        }
    }
    if (parsed.output.empty()) {
        error = "no output file (-o OUT.html)";
        return std::nullopt;
    }
    if (!EndsWith(parsed.output, ".html") && !EndsWith(parsed.output, ".htm")) {
        error = "the output file must end in .html (-o OUT.html)";
        return std::nullopt;
    }
    return parsed;
}

} // namespace

int RunReport(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    std::string error;
    const std::optional<ReportArguments> parsed = ParseReportArguments(args, error);
    if (!parsed)
        return BadUsage(err, kCommand, error);
    int exitStatus = kExitDone;
    const std::unique_ptr<LoadedRace> race =
        LoadRaceForOutput(kCommand, parsed->output, parsed->loadArguments, err, exitStatus);
    if (race == nullptr)
        return exitStatus;
    if (parsed->distinctColours)
        race->document.SetDistinctColours(true);
    std::ostringstream page;
    WriteReportOfDocument(page, race->document, parsed->title);
    const std::string html = page.str();
    const bool written = WriteThroughTemporary(parsed->output, [&html](const QString& path) {
        return WriteBytes(path, QByteArray::fromStdString(html));
    });
    if (!written) {
        err << "tarmioview-cli report: cannot write " << parsed->output << '\n';
        return kExitFailed;
    }
    return race->outcome.refused ? kExitFailed : kExitDone;
}
