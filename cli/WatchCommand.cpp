// watch: follows the files while they are written and prints every new lap as one JSON line.
#include "Commands.h"
#include "LoadFiles.h"
#include "common/Prompt.h"
#include "data/FollowedFiles.h"
#include "data/LapFeed.h"
#include "platform/FileChangeWatch.h"

#include <algorithm>
#include <chrono>

namespace {

// Changes come in bursts (a write, then a rename); the files are read once they have been quiet
// this long.
constexpr int kQuietMs = 200;
constexpr auto kLongestDelay = std::chrono::seconds(1);

class Feed {
public:
    Feed(FollowedFiles& files, std::ostream& out) : m_files(files), m_out(out) {}

    // False once the output is closed.
    bool ReadAndPrint() {
        const FollowedFiles::ReadResult result = m_files.ReadAll();
        for (const std::size_t index : result.stateChanged) {
            const FollowedFile& file = m_files.Files()[index];
            m_out << FileStatusLine(file.path, FollowStateName(file.state), file.message) << '\n';
        }
        if (result.contentsChanged || m_first)
            for (const std::string& line : m_feed.NewLaps(*m_files.BuildRace()))
                m_out << line << '\n';
        m_first = false;
        m_out.flush();
        return static_cast<bool>(m_out);
    }

private:
    FollowedFiles& m_files;
    std::ostream& m_out;
    LapFeed m_feed;
    bool m_first = true;
};

} // namespace

int RunWatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> loadArgs = args;
    const auto optionsEnd = std::find(loadArgs.begin(), loadArgs.end(), "--");
    const auto once = std::find(loadArgs.begin(), optionsEnd, "--once");
    const bool onlyOnce = once != optionsEnd;
    if (onlyOnce)
        loadArgs.erase(once);
    std::string error;
    const std::optional<LoadArguments> arguments = ParseLoadArguments(loadArgs, error);
    if (!arguments)
        return BadUsage(err, "watch", error);
    FollowedFiles files(arguments->files, arguments->answerYes ? IDYES : IDNO);
    Feed feed(files, out);
    if (!feed.ReadAndPrint() || onlyOnce)
        return kExitDone;
    const std::unique_ptr<ChangeWaiter> waiter = MakeChangeWaiter(arguments->files);
    for (;;) {
        ChangeWaiter::Wake wake = waiter->Wait(-1);
        // A file that never goes quiet is still read now and then.
        const auto firstChange = std::chrono::steady_clock::now();
        while (wake == ChangeWaiter::Wake::kChanged &&
               std::chrono::steady_clock::now() - firstChange < kLongestDelay)
            wake = waiter->Wait(kQuietMs);
        if (wake == ChangeWaiter::Wake::kStop || !feed.ReadAndPrint())
            return kExitDone;
    }
}
