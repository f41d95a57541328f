// csv and summary: the race's laps and its summary for spreadsheets and scripts.
#include "Commands.h"
#include "LoadFiles.h"
#include "data/RaceExport.h"
#include "data/RaceSummary.h"

int RunCsv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<LoadArguments> arguments = ParseLoadArguments(args, error);
    if (!arguments)
        return BadUsage(err, "csv", error);
    RaceData race;
    const LoadOutcome outcome = LoadFiles(race, *arguments, err);
    WriteLapsCsv(out, race);
    return outcome.refused ? kExitFailed : kExitDone;
}

int RunSummary(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> loadArgs;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--json")
            json = true;
        else
            loadArgs.push_back(arg);
    }
    std::string error;
    const std::optional<LoadArguments> arguments = ParseLoadArguments(loadArgs, error);
    if (!arguments)
        return BadUsage(err, "summary", error);
    RaceData race;
    const LoadOutcome outcome = LoadFiles(race, *arguments, err);
    const RaceSummary summary = SummariseRace(race);
    if (json)
        WriteSummaryJson(out, summary);
    else
        WriteSummaryText(out, race, summary);
    return outcome.refused ? kExitFailed : kExitDone;
}
