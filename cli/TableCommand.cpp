// table: the driver list as the viewer's left pane shows it, as aligned plain text.
#include "Commands.h"
#include "LoadFiles.h"
#include "data/DriverTexts.h"
#include "data/RaceData.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kColumns = 5;
constexpr std::array<const char*, kColumns> kHeadings = {"Driver", "Time", "Laps", "Fastlap", "ID"};
constexpr const char* kColumnGap = "  ";

using Row = std::array<std::string, kColumns>;

// Names are bytes of the game's Western code page, written out as UTF-8; control characters (C0,
// DEL and C1, which terminals obey) are shown as '?'.
std::string Printable(const std::string& latin1) {
    std::string text;
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
            text += '?';
        } else if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

// Columns line up by characters, not by bytes: a UTF-8 character has one lead byte.
std::size_t CharacterCount(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void WriteRow(std::ostream& out, const Row& row, const std::array<std::size_t, kColumns>& widths) {
    std::string line;
    for (std::size_t column = 0; column < kColumns; ++column) {
        if (column)
            line += kColumnGap;
        line += row[column];
        if (column + 1 < kColumns)
            line.append(widths[column] - CharacterCount(row[column]), ' ');
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
    LoadFiles(race, *arguments, err);

    std::vector<Row> rows;
    rows.push_back({kHeadings[0], kHeadings[1], kHeadings[2], kHeadings[3], kHeadings[4]});
    for (int i = 0; i < race.drivers->GetCount(); ++i) {
        const DriverTexts texts = MakeDriverTexts(*race.drivers->GetAt(i));
        rows.push_back({Printable(texts.name), texts.raceTime, texts.laps, texts.fastestLap, texts.id});
    }
    std::array<std::size_t, kColumns> widths{};
    for (const Row& row : rows)
        for (std::size_t column = 0; column < kColumns; ++column)
            widths[column] = std::max(widths[column], CharacterCount(row[column]));
    for (const Row& row : rows)
        WriteRow(out, row, widths);
    return kExitDone;
}
