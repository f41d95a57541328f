// table: the driver list as the viewer's left pane shows it, as aligned plain text.
#include "Commands.h"
#include "LoadFiles.h"
#include "data/DriverTexts.h"
#include "data/RaceData.h"
#include "data/RaceExport.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kColumns = 5;
constexpr std::array<const char*, kColumns> kHeadings = {"Driver", "Time", "Laps", "Fastlap", "ID"};
constexpr const char* kColumnGap = "  ";

using Row = std::array<std::string, kColumns>;

void WriteRow(std::ostream& out, const Row& row, const std::array<std::size_t, kColumns>& widths) {
    std::string line;
    for (std::size_t column = 0; column < kColumns; ++column) {
        if (column)
            line += kColumnGap;
        line += row[column];
        if (column + 1 < kColumns)
            line.append(widths[column] - Utf8Length(row[column]), ' ');
    }
    out << line << '\n';
}

} // namespace

int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<LoadArguments> arguments = ParseLoadArguments(args, error);
    if (!arguments)
        return BadUsage(err, "table", error);
    RaceData race;
    const LoadOutcome outcome = LoadFiles(race, *arguments, err);

    std::vector<Row> rows;
    rows.push_back({kHeadings[0], kHeadings[1], kHeadings[2], kHeadings[3], kHeadings[4]});
    for (int i = 0; i < race.drivers->GetCount(); ++i) {
        const DriverTexts texts = MakeDriverTexts(*race.drivers->GetAt(i));
        rows.push_back({NameAsUtf8(texts.name), texts.raceTime, texts.laps, texts.fastestLap, texts.id});
    }
    std::array<std::size_t, kColumns> widths{};
    for (const Row& row : rows)
        for (std::size_t column = 0; column < kColumns; ++column)
            widths[column] = std::max(widths[column], Utf8Length(row[column]));
    for (const Row& row : rows)
        WriteRow(out, row, widths);
    return outcome.refused ? kExitFailed : kExitDone;
}
