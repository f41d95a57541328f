// The command-line tool, run as the user would run it.
#include "LoaderTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

const std::filesystem::path kFolder =
    std::filesystem::temp_directory_path() / ("tarmio-cli-" + std::to_string(::getpid()));

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CliRun RunCli(const std::string& arguments) {
    std::filesystem::create_directories(kFolder);
    const auto out = kFolder / "out.txt";
    const auto err = kFolder / "err.txt";
    const std::string command =
        std::string(TARMIO_CLI) + " " + arguments + " >" + out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
}

std::string WriteTemp(const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(kFolder);
    const auto path = kFolder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::string Sample(const char* name) {
    return std::string(TARMIO_SAMPLES) + "/" + name;
}

// Just enough of a JSON checker to tell valid output from invalid; strings must be ASCII.
bool JsonValue(const std::string& t, std::size_t& at);

bool Eat(const std::string& t, std::size_t& at, char c) {
    while (at < t.size() && std::isspace(static_cast<unsigned char>(t[at])))
        ++at;
    return at < t.size() && t[at] == c && ++at;
}

bool JsonString(const std::string& t, std::size_t& at) {
    if (!Eat(t, at, '"'))
        return false;
    while (at < t.size()) {
        const auto c = static_cast<unsigned char>(t[at++]);
        if (c == '"')
            return true;
        if (c < 0x20 || c >= 0x80 || (c == '\\' && at >= t.size()))
            return false;
        if (c != '\\')
            continue;
        const char escaped = t[at++];
        if (escaped == 'u') {
            for (int i = 0; i < 4; ++i)
                if (at >= t.size() || !std::isxdigit(static_cast<unsigned char>(t[at++])))
                    return false;
        } else if (std::string("\"\\/bfnrt").find(escaped) == std::string::npos) {
            return false;
        }
    }
    return false;
}

bool JsonValue(const std::string& t, std::size_t& at) {
    if (Eat(t, at, '{') || (at < t.size() && t[at] == '[' && ++at)) {
        const bool object = t[at - 1] == '{';
        const char close = object ? '}' : ']';
        if (Eat(t, at, close))
            return true;
        do {
            if ((object && !(JsonString(t, at) && Eat(t, at, ':'))) || !JsonValue(t, at))
                return false;
        } while (Eat(t, at, ','));
        return Eat(t, at, close);
    }
    if (at < t.size() && t[at] == '"')
        return JsonString(t, at);
    if (t.compare(at, 4, "null") == 0)
        return (at += 4);
    const std::size_t start = at;
    at += at < t.size() && t[at] == '-';
    while (at < t.size() && std::isdigit(static_cast<unsigned char>(t[at])))
        ++at;
    return at > start;
}

bool ValidJson(const std::string& text) {
    std::size_t at = 0;
    return JsonValue(text, at) && !Eat(text, at, '\0') && at == text.size();
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

TEST(CliDump, GivesTheSameRaceForBothSamples) {
    const CliRun log = RunCli("dump " + Sample("sample-race.zq3"));
    const CliRun raceFile = RunCli("dump " + Sample("sample-race.ra3"));
    ASSERT_EQ(log.status, 0);
    ASSERT_EQ(raceFile.status, 0);
    EXPECT_EQ(log.err, "");
    EXPECT_EQ(log.out, raceFile.out);
    EXPECT_TRUE(ValidJson(log.out));
    for (const char* key :
         {"\"trackId\": 7", "\"trackCode\": ", "\"trackName\": \"Brackwater Park\"", "\"lapCount\": 56",
          "\"maxGap\": ", "\"leaderTimes\": [", "\"lastTimes\": [", "\"drivers\": ["})
        EXPECT_EQ(Count(log.out, key), 1u) << key;
    for (const char* key :
         {"\"name\": ", "\"car\": ", "\"colour\": ", "\"fastestLap\": ", "\"lastRaceTime\": ",
          "\"timeText\": ", "\"lapsText\": ", "\"fastestLapText\": ", "\"idText\": ", "\"laps\": ["})
        EXPECT_EQ(Count(log.out, key), 20u) << key;
    EXPECT_GT(Count(log.out, "\"eventTime\": "), 900u);
    EXPECT_EQ(Count(log.out, "\"idText\": \"# 16\""), 1u);
}

TEST(CliDump, ReportsAMissingFileAndStillLoadsTheNext) {
    const std::string missing = (kFolder / "missing.zq3").string();
    const CliRun run = RunCli("dump " + missing + " " + Sample("sample-race.zq3"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, missing + " was not found.\n");
    EXPECT_EQ(Count(run.out, "\"name\": "), 20u);

    const CliRun empty = RunCli("dump " + missing); // an empty race is still valid JSON
    EXPECT_EQ(empty.status, 0);
    EXPECT_TRUE(ValidJson(empty.out)) << empty.out;
    EXPECT_NE(empty.out.find("\"trackId\": 255"), std::string::npos);
}

TEST(CliDump, WritesLoaderMessagesAndAnswersTheQuestionFromTheCommandLine) {
    RaceDescription other = ThreeCarRace();
    other.trackCode = 99;
    other.cars[0].laps.back().raceTime += 1; // one car that is not already in the race
    const std::string first = WriteTemp("first.zq3", RaceFileWriter::LogFile(ThreeCarRace()));
    const std::string second = WriteTemp("second.ra3", RaceFileWriter::RaceFile(other, {.compressed = true}));
    const std::string bad = WriteTemp("bad.zq3", Bytes(40, 'x'));
    const std::string question = "This file is from a different track. Load it anyway?\n";

    const CliRun no = RunCli("dump " + first + " " + bad + " " + second);
    EXPECT_EQ(no.status, 0);
    EXPECT_EQ(no.err, "Not a valid log file\n" + question);
    EXPECT_EQ(Count(no.out, "\"name\": "), 3u);

    const CliRun yes = RunCli("dump --answer yes " + first + " " + second);
    EXPECT_EQ(yes.err, question);
    EXPECT_EQ(Count(yes.out, "\"name\": "), 4u); // the other two are duplicates, merged away
}

TEST(CliDump, EscapesNamesSoTheOutputIsAlwaysValidJson) {
    RaceDescription race = ThreeCarRace();
    race.cars[0].name = "Quote\" Back\\ Tab\t";
    race.cars[1].name = "\x01\x1f\x7f\x80\xff\xc3\xa9";
    race.trackName = "Line\nBreak";
    const CliRun run = RunCli("dump " + WriteTemp("names.zq3", RaceFileWriter::LogFile(race)));
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(ValidJson(run.out)) << run.out;
    EXPECT_NE(run.out.find(R"("Quote\" Back\\ Tab\u0009")"), std::string::npos);
    EXPECT_NE(run.out.find(R"("\u0001\u001f\u007f\u0080\u00ff\u00c3\u00a9")"), std::string::npos);
    EXPECT_NE(run.out.find(R"("Line\u000aBreak")"), std::string::npos);
}

class CliUsage : public testing::TestWithParam<const char*> {};

TEST_P(CliUsage, BadUsageExitsWithTwoAndExplains) {
    const CliRun run = RunCli(GetParam());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Cli, CliUsage,
                         testing::Values("", "frobnicate", "dump", "table", "dump --answer",
                                         "dump --answer maybe x", "dump --bogus x", "table --answer yes",
                                         "help extra"));

#ifdef TARMIO_CLI_RENDERS
TEST(CliRender, HighlightAndReferenceNameCarsOfTheRace) {
    const std::string out = (kFolder / "chart.png").string();
    const std::string sample = " -o " + out + " " + Sample("sample-race.zq3");
    for (const char* bad : {"--reference 0", "--highlight 1,0", "--highlight 1,", "--reference"}) {
        const CliRun run = RunCli(std::string("render ") + bad + sample);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << bad;
    }
    std::filesystem::remove(out);
    EXPECT_EQ(RunCli("render --highlight 1,2 --reference 2" + sample).status, 0);
    EXPECT_TRUE(std::filesystem::exists(out));
}
#endif

TEST(CliHelp, ListsTheSubcommands) {
    const CliRun run = RunCli("help");
    EXPECT_EQ(run.status, 0);
    for (const char* name : {"dump", "table", "help"})
        EXPECT_NE(run.out.find(std::string("  ") + name), std::string::npos) << name;
}

TEST(CliTable, PrintsTheDriverListInAlignedColumns) {
    const CliRun run = RunCli("table " + Sample("sample-race.ra3"));
    EXPECT_EQ(run.status, 0);
    std::istringstream lines(run.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 21u);
    const std::size_t timeColumn = rows[0].find("Time");
    const std::size_t idColumn = rows[0].find("ID");
    EXPECT_EQ(rows[0].rfind("Driver", 0), 0u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_GT(rows[i].size(), idColumn) << rows[i];
        EXPECT_EQ(rows[i][timeColumn - 1], ' ') << rows[i];
        EXPECT_NE(rows[i][timeColumn], ' ') << rows[i];
        EXPECT_NE(rows[i].find('h', timeColumn), std::string::npos) << rows[i];
    }
}

} // namespace
