// The command-line tool, run as the user would run it; its JSON read back with Qt's parser.
#include "LoaderTestSupport.h"
#include "data/DriverColours.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
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
const std::string kSample = std::string(TARMIO_SAMPLES) + "/sample-race.ra3";

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CliRun RunProgram(const std::string& program, const std::string& arguments, const std::string& prefix = "") {
    std::filesystem::create_directories(kFolder);
    const auto out = kFolder / "out.txt";
    const auto err = kFolder / "err.txt";
    const int status = std::system(
        (prefix + program + " " + arguments + " >" + out.string() + " 2>" + err.string()).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
}

CliRun RunCli(const std::string& arguments, const std::string& prefix = "") {
    return RunProgram(TARMIO_CLI, arguments, prefix);
}

std::string WriteTemp(const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(kFolder);
    const auto path = kFolder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

QJsonObject Json(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << '\n' << text;
    return document.object();
}

TEST(CliDump, GivesTheSameRaceForBothSamples) {
    const CliRun log = RunCli("dump " + std::string(TARMIO_SAMPLES) + "/sample-race.zq3");
    const CliRun raceFile = RunCli("dump " + kSample);
    ASSERT_EQ(log.status, 0);
    EXPECT_EQ(log.err, "");
    EXPECT_EQ(log.out, raceFile.out);
    const QJsonObject race = Json(log.out);
    EXPECT_EQ(race["trackId"].toInt(), 7);
    EXPECT_EQ(race["trackName"].toString(), "Brackwater Park");
    EXPECT_EQ(race["lapCount"].toInt(), 56);
    const QJsonArray drivers = race["drivers"].toArray();
    ASSERT_EQ(drivers.size(), 20);
    for (const char* key : {"name", "car", "colour", "fastestLap", "lastRaceTime", "timeText", "lapsText",
                            "fastestLapText", "idText", "laps"})
        EXPECT_TRUE(drivers[19].toObject().contains(key)) << key;
}

TEST(CliDump, ReportsFileAndLoaderMessagesAndAnswersTheQuestionFromTheCommandLine) {
    RaceDescription other = ThreeCarRace();
    other.trackCode = 99;
    other.cars[0].laps.back().raceTime += 1; // one car that is not already in the race
    const std::string first = WriteTemp("first.zq3", RaceFileWriter::LogFile(ThreeCarRace()));
    const std::string second = WriteTemp("second.ra3", RaceFileWriter::RaceFile(other, {.compressed = true}));
    const std::string bad = WriteTemp("bad.zq3", Bytes(40, 'x'));
    const std::string tiny = WriteTemp("tiny.zq3", Bytes(8, 'x'));
    const std::string missing = (kFolder / "missing.zq3").string();
    const std::string question = ": This file is from a different track. Load it anyway?\n";

    const CliRun no = RunCli("dump " + missing + " " + first + " " + bad + " " + second + " " + tiny);
    EXPECT_EQ(no.status, 1);
    EXPECT_EQ(no.err, missing + " was not found.\n" + bad + ": Not a valid log file\n" + second + question +
                          tiny + " contains no laps\n");
    EXPECT_EQ(Json(no.out)["drivers"].toArray().size(), 3);

    const CliRun declined = RunCli("dump " + first + " " + second);
    EXPECT_EQ(declined.status, 0) << "a file left out by the answer is not a refusal";

    const CliRun yes = RunCli("dump --answer yes " + first + " " + second);
    EXPECT_EQ(yes.status, 0);
    EXPECT_EQ(yes.err, second + question);
    EXPECT_EQ(Json(yes.out)["drivers"].toArray().size(), 4); // the other two are duplicates, merged away

    for (const char* command : {"table ", "csv ", "summary "})
        EXPECT_EQ(RunCli(command + tiny).status, 1) << command;
    EXPECT_EQ(Json(RunCli("dump " + missing).out)["trackId"].toInt(), 255) << "an empty race is still JSON";
}

TEST(CliDump, EscapesNamesSoTheOutputIsAlwaysValidJson) {
    RaceDescription race = ThreeCarRace();
    race.cars[0].name = "Quote\" Back\\ Tab\t";
    race.cars[1].name = "\x01\x1f\x7f\x80\xff\xc3\xa9";
    race.trackName = "Line\nBreak";
    const CliRun run = RunCli("dump " + WriteTemp("names.zq3", RaceFileWriter::LogFile(race)));
    EXPECT_EQ(Json(run.out)["trackName"].toString(), "Line\nBreak");
    EXPECT_NE(run.out.find(R"("Quote\" Back\\ Tab\u0009")"), std::string::npos);
    EXPECT_NE(run.out.find(R"("\u0001\u001f\u007f\u0080\u00ff\u00c3\u00a9")"), std::string::npos);
}

TEST(CliUsage, BadUsageExitsWithTwoAndExplainsAndHelpListsTheSubcommands) {
    for (const char* arguments : {"", "frobnicate", "dump", "table", "dump --answer", "dump --answer maybe x",
                                  "dump --bogus x", "table --answer yes", "help extra", "csv",
                                  "summary --json", "csv --answer maybe x", "summary --bogus x"}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << arguments;
    }
    for (const char* asked : {"help", "--help", "-h"}) {
        const CliRun help = RunCli(asked);
        EXPECT_EQ(help.status, 0) << asked;
        for (const char* name : {"dump", "table", "csv", "summary", "watch", "render", "report", "help"})
            EXPECT_NE(help.out.find(std::string("  ") + name), std::string::npos) << asked << ' ' << name;
    }
    const CliRun version = RunCli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("tarmioview-cli \\d+\\.\\d+\n"))) << version.out;
}

// Columns are as wide as their widest cell in characters, not bytes.
TEST(CliTable, WritesNamesAsUtf8WithControlsShownAndAlignsByCharacters) {
    RaceDescription race = ThreeCarRace();
    race.cars[0].name = "\xc9t\xe9 \xff"; // Latin-1 letters
    race.cars[1].name = "\x9b"
                        "31m\x85X\x01\x7f"; // C1, C0 and DEL controls
    EXPECT_EQ(RunCli("table " + WriteTemp("latin.zq3", RaceFileWriter::LogFile(race))).out,
              "Driver         Time          Laps  Fastlap   ID\n"
              "\xc3\x89t\xc3\xa9 \xc3\xbf          0h06m40.555s  4     1:20.037    1\n"
              "Cyr Lindqvist  0h06m58.055s  4     1:23.537  % 7\n"
              "?31m?X??       0h07m05.555s  4     1:21.037    2\n");
}

// The texts' layout is the data tests' job; here each subcommand writes those of the race its file
// makes: Ann leads both laps and sets the fastest, Bo stops on his second.
TEST(CliCsvAndSummary, WriteTheTextsOfTheLoadedRace) {
    RaceDescription twoCars;
    twoCars.trackName = "Port Haddon";
    twoCars.cars = {{1, "Ann", {{1, 90'000, 90'000}, {2, 181'000, 91'000}}},
                    {2, "Bo", {{1, 91'000, 91'000}, {2, 182'500, 91'500}}}};
    twoCars.events = {{EventType::A, 2, 2, 190'000}};
    const std::string file = WriteTemp("two-cars.zq3", RaceFileWriter::LogFile(twoCars));

    const std::string csv = RunCli("csv " + file).out;
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "driver,car,id,lap,position,raceTime,lapTime,gapToLeader,flags,eventTime\r");
    EXPECT_EQ(csv.substr(csv.rfind('\n', csv.size() - 2) + 1),
              "Bo,2,\"  2\",2,2,182500,91500,1500,2,190000\r\n");
    const std::string text = RunCli("summary " + file).out;
    EXPECT_EQ(text.substr(0, 27), "Race summary: Port Haddon\n\n");
    EXPECT_EQ(RunCli("summary --json " + file).out,
              "{\n  \"finishOrder\": [\n"
              "    {\"car\": 1, \"name\": \"Ann\", \"laps\": 2, \"raceTime\": 181000},\n"
              "    {\"car\": 2, \"name\": \"Bo\", \"laps\": 2, \"raceTime\": 182500}\n  ],\n"
              "  \"leaders\": [\n    {\"car\": 1, \"fromLap\": 1, \"toLap\": 2}\n  ],\n"
              "  \"lapsLed\": [\n    {\"car\": 1, \"laps\": 2}\n  ],\n"
              "  \"fastestLap\": {\"car\": 1, \"lap\": 1, \"lapTime\": 90000},\n"
              "  \"events\": [\n    {\"car\": 2, \"lap\": 2, \"flags\": 2, \"eventTime\": 190000}\n  ]\n}\n");
}

// The text commands start quickly because they load no Qt: neither the program's list of libraries
// nor a trace of what it opens names one.
TEST(CliTextCommands, LoadNoQtLibrary) {
    const CliRun libraries = RunProgram("readelf", std::string("-d ") + TARMIO_CLI);
    ASSERT_EQ(libraries.status, 0) << libraries.err;
    EXPECT_NE(libraries.out.find("(NEEDED)             Shared library: [libc.so"), std::string::npos);
    EXPECT_EQ(libraries.out.find("Qt"), std::string::npos) << libraries.out;
    if (std::system("command -v strace >/dev/null") != 0)
        GTEST_SKIP() << "strace is not installed";
    const std::string trace = (kFolder / "trace.txt").string();
    const auto traced = [&](const std::string& command) {
        std::filesystem::remove(trace);
        const CliRun run = RunProgram("strace", "-f -e trace=open,openat -o " + trace + " " + TARMIO_CLI +
                                                    " " + command + " " + kSample);
        EXPECT_EQ(run.status, 0) << command << '\n' << run.err;
        const std::string opened = ReadAll(trace);
        EXPECT_NE(opened.find("sample-race.ra3\""), std::string::npos) << command << ": nothing traced";
        return opened.find("libQt") != std::string::npos;
    };
    for (const char* command : {"dump", "table", "csv", "summary", "watch --once"})
        EXPECT_FALSE(traced(command)) << command;
#ifdef TARMIO_CLI_RENDERS
    EXPECT_TRUE(traced("render -o " + (kFolder / "traced.png").string()))
        << "the trace sees Qt where it loads";
#endif
}

#ifdef TARMIO_CLI_RENDERS
std::string Out(const std::string& name) {
    return (kFolder / name).string();
}

// Draws the sample into the named file of the test folder.
CliRun Render(const std::string& options, const std::string& name) {
    return RunCli("render " + options + " -o " + Out(name) + " " + kSample);
}

// Installed, the command finds its drawing program under libexec and hands it the whole run; alone
// (as in a build without Qt) it refuses only the drawing commands, with one line.
TEST(CliDrawingCommands, FoundWhereInstalledAndRefusedWithoutTheDrawingProgram) {
    const auto prefix = kFolder / "usr";
    std::filesystem::remove_all(prefix);
    const CliRun install =
        RunProgram(TARMIO_CMAKE, "--install " TARMIO_BUILD " --component cli --prefix " + prefix.string());
    ASSERT_EQ(install.status, 0) << install.err;
    const std::string installed = (prefix / "bin/tarmioview-cli").string();
    const std::string picture = Out("installed.png");
    const CliRun render = RunProgram(installed, "render -o " + picture + " " + kSample);
    EXPECT_EQ(render.status, 0) << render.err;
    EXPECT_EQ(ReadAll(picture).substr(1, 3), "PNG");
    const CliRun badUsage = RunProgram(installed, "report -o");
    EXPECT_EQ(badUsage.status, 2);
    EXPECT_EQ(badUsage.err.substr(0, 22), "tarmioview-cli report:") << badUsage.err;

    const auto alone = kFolder / "alone" / "tarmioview-cli";
    std::filesystem::create_directories(alone.parent_path());
    std::filesystem::copy_file(installed, alone, std::filesystem::copy_options::overwrite_existing);
    for (const char* command : {"render -o x.png ", "report -o x.html "}) {
        const CliRun refused = RunProgram(alone.string(), command + kSample);
        EXPECT_EQ(refused.status, 1) << command;
        EXPECT_EQ(refused.out, "") << command;
        EXPECT_EQ(refused.err, "tarmioview-cli: this build has no drawing commands (render, report)\n");
    }
    EXPECT_EQ(RunProgram(alone.string(), "summary " + kSample).status, 0);
    EXPECT_NE(RunProgram(alone.string(), "help").out.find("  report"), std::string::npos);
    std::filesystem::remove_all(prefix);
    std::filesystem::remove_all(alone.parent_path());
}

TEST(CliRender, DrawsEachChartKindAndChecksCarsOfTheRace) {
    std::vector<std::string> pictures;
    for (const char* kind : {"gap", "positions", "laptimes"}) {
        const std::string out = Out(std::string(kind) + ".png");
        // Without a runtime folder Qt complains on standard error; a script must not see it.
        const CliRun run =
            RunCli(std::string("render --chart ") + kind + " --highlight 1,2 -o " + out + " " + kSample,
                   "env -u XDG_RUNTIME_DIR ");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        pictures.push_back(ReadAll(out));
    }
    EXPECT_EQ(pictures[0].substr(1, 3), "PNG");
    EXPECT_NE(pictures[0], pictures[1]);
    EXPECT_NE(pictures[1], pictures[2]);
    // Fitted, the sample's gaps of a few seconds spread over the chart instead of hugging the axis.
    EXPECT_EQ(Render("--fit --highlight 1,2", "fitted.png").status, 0);
    EXPECT_NE(ReadAll(Out("fitted.png")), pictures[0]);
    for (const char* bad : {"--reference 0", "--highlight 1,", "--chart pie", "--legend --print", "--scale 0",
                            "--scale 5", "--scale 2 --print"})
        EXPECT_EQ(Render(bad, "x.png").status, 2) << bad;
    EXPECT_EQ(Render("--scale 2", "x.svg").status, 2);
}

TEST(CliRender, RefusesAnOutputThatIsAnInputAndLeavesNoHalfFile) {
    const Bytes bytes = RaceFileWriter::RaceFile(ThreeCarRace());
    const std::string input = WriteTemp("race.png", bytes); // a race file by any name is still an input
    const std::string folder = kFolder.string();
    std::filesystem::remove(kFolder / "link.png");
    std::filesystem::remove(kFolder / "symlink.png");
    std::filesystem::create_hard_link(input, kFolder / "link.png");
    std::filesystem::create_symlink(input, kFolder / "symlink.png");
    for (const std::string& output : {input, folder + "/./race.png", folder + "/link.png",
                                      folder + "/symlink.png", folder + "/chart.ra3", folder + "/chart"})
        EXPECT_EQ(RunCli("render -o " + output + " " + input).status, 2) << output;
    EXPECT_EQ(ReadAll(input), std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(std::filesystem::exists(kFolder / "chart.ra3"));

    const auto render = kFolder / "render";
    std::filesystem::create_directories(render / "taken.png");
    EXPECT_EQ(RunCli("render -o " + (render / "chart.pdf").string() + " " + input).status, 0);
    EXPECT_EQ(ReadAll(render / "chart.pdf").substr(0, 5), "%PDF-");
    // A render that cannot be written (the name is taken by a folder) leaves no file behind.
    EXPECT_EQ(RunCli("render -o " + (render / "taken.png").string() + " " + input).status, 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(render), {}), 2);
}

// The frame goes around the chart, never over it: the picture grows by a title line and the
// legend's lines, and the chart's own pixels stay as they were.
TEST(CliRender, FramesTheScreenPictureWithTitleAndLegend) {
    ASSERT_EQ(Render("", "plain.png").status, 0);
    ASSERT_EQ(Render("--legend --title 'Brackwater <Park>'", "framed.png").status, 0);
    const QImage chart(QString::fromStdString(Out("plain.png")));
    const QImage whole(QString::fromStdString(Out("framed.png")));
    ASSERT_EQ(whole.width(), chart.width());
    const int frameHeight = whole.height() - chart.height();
    EXPECT_GT(frameHeight, 40) << "a title line and two legend lines of twenty names";
    bool chartFound = false;
    for (int top = 1; top < frameHeight && !chartFound; ++top)
        chartFound =
            whole.copy(0, top, chart.width(), chart.height()) == chart.convertToFormat(whole.format());
    EXPECT_TRUE(chartFound);
    EXPECT_EQ(Render("--legend --title Round", "framed.pdf").status, 0);
    EXPECT_EQ(ReadAll(Out("framed.pdf")).substr(0, 5), "%PDF-");
}

// Twice the pixels, not the same pixels doubled.
TEST(CliRender, ScaleDrawsASharpPictureOfTheSameLayout) {
    ASSERT_EQ(Render("--width 600 --height 400", "plain-scale.png").status, 0);
    ASSERT_EQ(Render("--width 600 --height 400 --scale 2", "sharp.png").status, 0);
    const QImage one =
        QImage(QString::fromStdString(Out("plain-scale.png"))).convertToFormat(QImage::Format_RGB32);
    const QImage two = QImage(QString::fromStdString(Out("sharp.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(two.size(), QSize(1200, 800));
    EXPECT_NE(two, one.scaled(two.size())) << "pixel-doubled";
    // The same layout: shrunk back, the sharp picture is close to the one drawn a pixel a pixel.
    const QImage shrunk = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int far = 0;
    for (int i = 0; i < one.width() * one.height(); ++i)
        far += std::abs(qGray(shrunk.pixel(i % 600, i / 600)) - qGray(one.pixel(i % 600, i / 600))) > 128;
    EXPECT_LT(far, one.width() * one.height() / 100);
}

// Texts stay texts; with distinct colours the twenty cars of the sample each have a colour of their
// own, in the curves and in the legend.
TEST(CliRender, WritesSvgWithTextsAsTextsAndDistinctColoursInChartAndLegend) {
    ASSERT_EQ(Render("--width 800 --height 500", "chart.SVG").status, 0);
    const std::string plain = ReadAll(Out("chart.SVG"));
    EXPECT_NE(plain.find("viewBox=\"0 0 800 500\""), std::string::npos);
    EXPECT_NE(plain.find(">01</text>"), std::string::npos) << "the first lap's label";
    ASSERT_EQ(Render("--legend --distinct-colours --title 'Brackwater <Park>'", "framed.svg").status, 0);
    const std::string svg = ReadAll(Out("framed.svg"));
    EXPECT_NE(svg.find(">Brackwater &lt;Park&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find(">Felix Ostrander</text>"), std::string::npos);
    for (const COLORREF colour : kDistinctColours) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", GetRValue(colour), GetGValue(colour),
                      GetBValue(colour));
        EXPECT_NE(svg.find(std::string("stroke=\"") + hex), std::string::npos) << hex;
        EXPECT_NE(svg.find(std::string("fill=\"") + hex), std::string::npos) << hex;
    }
}

TEST(CliReport, WritesOnePageWithEveryChartUnderTheOutputRules) {
    const CliRun run = RunCli("report --distinct-colours --title 'R<3>' -o " + Out("r.html") + " " + kSample);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const std::string page = ReadAll(Out("r.html"));
    EXPECT_NE(page.find("<h1>R&lt;3&gt;</h1>"), std::string::npos);
    EXPECT_NE(page.find(".c0{color:#8700ff}"), std::string::npos) << "the first distinct colour";
    for (const char* caption : {"<h2>Gap chart</h2>", "<h2>Position chart</h2>", "<h2>Lap time chart</h2>"})
        EXPECT_NE(page.find(caption), std::string::npos) << caption;
    EXPECT_LT(page.size(), 400'000u);

    const std::string input = WriteTemp("race.html", RaceFileWriter::RaceFile(ThreeCarRace()));
    EXPECT_EQ(RunCli("report -o " + input + " " + input).status, 2);
    EXPECT_EQ(RunCli("report -o " + Out("race.htm.txt") + " " + kSample).status, 2);
    EXPECT_EQ(RunCli("report -o").status, 2);
}
#endif

} // namespace
