// csv and summary of the command-line tool, read back as a spreadsheet or a script would and
// held against dump of the same race.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun RunCli(const std::string& arguments) {
    const std::string command = std::string(TARMIO_CLI) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[65536];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

const std::string kSample = std::string(TARMIO_SAMPLES) + "/sample-race.ra3";

QJsonObject Json(const std::string& text) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

// RFC 4180: CRLF between records, quoted fields with doubled quotes.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                rows.back().back() += text[++i];
            else if (c == '"')
                quoted = false;
            else
                rows.back().back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            rows.emplace_back(1);
        } else {
            rows.back().back() += c;
        }
    }
    EXPECT_FALSE(quoted);
    EXPECT_EQ(rows.back(), std::vector<std::string>(1)) << "the last record ends with CRLF";
    rows.pop_back();
    return rows;
}

TEST(CliCsv, EveryLapOfTheSampleAgreesWithDump) {
    const CliRun csv = RunCli("csv " + kSample);
    ASSERT_EQ(csv.status, 0);
    const auto rows = ParseCsv(csv.out);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], (std::vector<std::string>{"driver", "car", "id", "lap", "position", "raceTime",
                                                 "lapTime", "gapToLeader", "flags", "eventTime"}));
    const QJsonObject dump = Json(RunCli("dump " + kSample).out);
    const QJsonArray leaders = dump["leaderTimes"].toArray();
    std::size_t row = 1;
    std::map<int, std::map<std::int64_t, int>> positionsByLap; // lap -> race time -> position
    for (const QJsonValue& driverValue : dump["drivers"].toArray()) {
        const QJsonObject driver = driverValue.toObject();
        const QJsonArray laps = driver["laps"].toArray();
        for (int slot = 0; slot < laps.size(); ++slot) {
            if (laps[slot].isNull())
                continue;
            ASSERT_LT(row, rows.size());
            const std::vector<std::string>& cells = rows[row++];
            ASSERT_EQ(cells.size(), 10u);
            const QJsonObject lap = laps[slot].toObject();
            EXPECT_EQ(cells[0], driver["name"].toString().toStdString());
            EXPECT_EQ(cells[1], std::to_string(driver["car"].toInt()));
            EXPECT_EQ(cells[2], driver["idText"].toString().toStdString());
            EXPECT_EQ(cells[3], std::to_string(slot + 1));
            const std::int64_t raceTime = lap["raceTime"].toInteger();
            EXPECT_EQ(cells[5], std::to_string(raceTime));
            EXPECT_EQ(cells[6], std::to_string(lap["lapTime"].toInteger()));
            EXPECT_EQ(cells[7], std::to_string(raceTime - leaders[slot].toInteger()));
            EXPECT_EQ(cells[8], std::to_string(lap["flags"].toInt()));
            EXPECT_EQ(cells[9], std::to_string(lap["eventTime"].toInteger()));
            positionsByLap[slot + 1][raceTime] = std::stoi(cells[4]);
        }
    }
    EXPECT_EQ(row, rows.size());
    for (const auto& [lap, positions] : positionsByLap) {
        int expected = 1; // faster race time, better position, no gaps (the sample has no ties)
        for (const auto& [time, position] : positions)
            EXPECT_EQ(position, expected++) << "lap " << lap;
    }
}

TEST(CliSummary, JsonOfTheSampleAgreesWithDump) {
    const CliRun run = RunCli("summary --json " + kSample);
    ASSERT_EQ(run.status, 0);
    const QJsonObject summary = Json(run.out);
    const QJsonObject dump = Json(RunCli("dump " + kSample).out);
    const QJsonArray drivers = dump["drivers"].toArray(); // loaded in race order
    const QJsonArray finish = summary["finishOrder"].toArray();
    ASSERT_EQ(finish.size(), drivers.size());
    qint64 fastest = std::numeric_limits<qint64>::max();
    int eventLaps = 0;
    for (int i = 0; i < drivers.size(); ++i) {
        const QJsonObject driver = drivers[i].toObject();
        const QJsonObject entry = finish[i].toObject();
        EXPECT_EQ(entry["car"].toInt(), driver["car"].toInt());
        EXPECT_EQ(entry["name"].toString(), driver["name"].toString());
        EXPECT_EQ(entry["laps"].toInt(), driver["laps"].toArray().size());
        EXPECT_EQ(entry["raceTime"].toInteger(), driver["lastRaceTime"].toInteger());
        fastest = std::min(fastest, driver["fastestLap"].toInteger());
        for (const QJsonValue lap : driver["laps"].toArray())
            eventLaps += !lap.isNull() && (lap.toObject()["flags"].toInt() & 6) != 0;
    }
    EXPECT_EQ(summary["fastestLap"].toObject()["lapTime"].toInteger(), fastest);
    EXPECT_EQ(summary["events"].toArray().size(), eventLaps);

    // The leader runs cover every lap once, in order; laps led add up to them.
    int nextLap = 1;
    std::map<int, int> ledByCar;
    for (const QJsonValue value : summary["leaders"].toArray()) {
        const QJsonObject run = value.toObject();
        EXPECT_EQ(run["fromLap"].toInt(), nextLap);
        nextLap = run["toLap"].toInt() + 1;
        ledByCar[run["car"].toInt()] += nextLap - run["fromLap"].toInt();
    }
    EXPECT_EQ(nextLap, dump["lapCount"].toInt() + 1);
    for (const QJsonValue value : summary["lapsLed"].toArray())
        EXPECT_EQ(value.toObject()["laps"].toInt(), ledByCar[value.toObject()["car"].toInt()]);
    EXPECT_EQ(summary["lapsLed"].toArray().size(), static_cast<qsizetype>(ledByCar.size()));
}

TEST(CliAnalysis, BadUsageExitsWithTwo) {
    for (const char* arguments : {"csv", "summary --json", "csv --answer maybe x", "summary --bogus x"})
        EXPECT_EQ(RunCli(arguments).status, 2) << arguments;
}

} // namespace

#ifdef TARMIO_CLI_RENDERS
TEST(CliRender, EachChartKindDrawsItsOwnPicture) {
    const std::string folder = ::testing::TempDir();
    std::vector<std::string> pictures;
    for (const char* kind : {"gap", "positions", "laptimes"}) {
        const std::string out = folder + "/chart-" + kind + ".png";
        ASSERT_EQ(RunCli(std::string("render --chart ") + kind + " -o " + out + " " + kSample).status, 0)
            << kind;
        FILE* file = std::fopen(out.c_str(), "rb");
        ASSERT_NE(file, nullptr) << kind;
        std::string bytes;
        char buffer[65536];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, n);
        std::fclose(file);
        pictures.push_back(bytes);
    }
    EXPECT_NE(pictures[0], pictures[1]);
    EXPECT_NE(pictures[1], pictures[2]);
    EXPECT_EQ(RunCli(std::string("render --chart pie -o x.png ") + kSample).status, 2);
}
#endif
