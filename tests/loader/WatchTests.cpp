// watch, run as a script would run it, on files written while it follows them.
#include "TestFolder.h"
#include "tools/racefile/RaceFileWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

const std::string kSampleLog = std::string(TARMIO_SAMPLES) + "/sample-race.zq3";

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Append(const std::string& path, const Bytes& bytes, std::size_t from, std::size_t to) {
    std::ofstream(path, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(bytes.data() + from), static_cast<std::streamsize>(to - from));
}

// What the tool printed: every line, the file states in order, and each lap line's car and lap.
struct Printed {
    std::vector<QJsonObject> lines;
    std::vector<std::string> states;
    std::vector<std::pair<int, int>> laps;
};

Printed ReadPrinted(const std::string& path) {
    Printed printed;
    std::ifstream in(path);
    for (std::string text; std::getline(in, text);) {
        QJsonParseError error;
        const QJsonObject line = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
        printed.lines.push_back(line);
        if (line["type"].toString() == "file")
            printed.states.push_back(line["status"].toString().toStdString());
        if (line["type"].toString() == "lap")
            printed.laps.emplace_back(line["car"].toInt(), line["lap"].toInt());
    }
    return printed;
}

// The tool in the background, its output going to a file.
class WatchProcess {
public:
    WatchProcess(const std::vector<std::string>& arguments, const std::string& output) {
        m_pid = ::fork();
        if (m_pid == 0) {
            const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, STDOUT_FILENO);
            std::vector<char*> argv{const_cast<char*>(TARMIO_CLI), const_cast<char*>("watch")};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(TARMIO_CLI, argv.data());
            ::_exit(127);
        }
    }
    // The exit status after the signal; -1 if it did not exit by itself.
    int Stop(int signal) {
        ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
};

TEST(Watch, PrintsEveryLapOfALogAppendedInRandomChunksExactlyOnce) {
    TestFolder folder{"tarmio-watch-"};
    const Bytes log = ReadBytes(kSampleLog);
    const std::string path = folder.Path("live.zq3");
    const std::string output = folder.Path("out.ndjson");
    // The header and a few records before the tool starts.
    std::size_t written = 4000;
    Append(path, log, 0, written);
    WatchProcess watch({path}, output);
    std::mt19937 random(7);
    while (written < log.size()) {
        const std::size_t chunk = std::min<std::size_t>(1 + random() % 6000, log.size() - written);
        Append(path, log, written, written + chunk);
        written += chunk;
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 400));
    }
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(watch.Stop(SIGTERM), 0);
    const Printed printed = ReadPrinted(output);
    // The sample's 1070 laps (as csv counts them), none twice.
    ASSERT_EQ(printed.laps.size(), 1070u);
    EXPECT_EQ(std::set(printed.laps.begin(), printed.laps.end()).size(), 1070u);
    EXPECT_EQ(printed.lines.front()["type"].toString(), "file");
    EXPECT_EQ(printed.lines.front()["status"].toString(), "loaded");
}

TEST(Watch, ReportsAFileThatGoesAndComesBackAndEndsWithZeroOnEachStopSignal) {
    TestFolder folder{"tarmio-watch-"};
    const Bytes log = ReadBytes(kSampleLog);
    const std::string path = folder.Path("race.zq3");
    for (const int signal : {SIGINT, SIGHUP, SIGTERM}) {
        std::filesystem::remove(path);
        Append(path, log, 0, log.size());
        const std::string output = folder.Path("out" + std::to_string(signal));
        WatchProcess watch({path}, output);
        std::this_thread::sleep_for(300ms);
        std::filesystem::remove(path);
        std::this_thread::sleep_for(500ms);
        // Back by rename, as a finished file is saved.
        Append(folder.Path("next.tmp"), log, 0, log.size());
        std::filesystem::rename(folder.Path("next.tmp"), path);
        std::this_thread::sleep_for(500ms);
        EXPECT_EQ(watch.Stop(signal), 0) << signal;
        const Printed printed = ReadPrinted(output);
        EXPECT_EQ(printed.states, (std::vector<std::string>{"loaded", "waiting", "loaded"})) << signal;
        EXPECT_EQ(printed.laps.size(), 1070u) << signal;
    }
}

TEST(Watch, OncePrintsWhatIsThereAndAClosedOutputEndsItQuietly) {
    TestFolder folder{"tarmio-watch-"};
    const std::string once = folder.Path("once.txt");
    ASSERT_EQ(std::system((std::string(TARMIO_CLI) + " watch --once " + kSampleLog + " > " + once).c_str()),
              0);
    EXPECT_EQ(ReadPrinted(once).lines.size(), 1071u);
    // head takes one line and goes; the tool must neither hang (timeout would fail it) nor complain.
    const std::string err = folder.Path("err.txt");
    EXPECT_EQ(std::system(("timeout 5 sh -c '" + std::string(TARMIO_CLI) + " watch " + kSampleLog + " 2>" +
                           err + " | head -n 1 >/dev/null'")
                              .c_str()),
              0);
    EXPECT_EQ(std::filesystem::file_size(err), 0u);
}

} // namespace
