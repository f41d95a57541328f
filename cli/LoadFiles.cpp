#include "LoadFiles.h"

#include "common/Prompt.h"
#include "data/DiskFile.h"
#include "data/FileErrors.h"
#include "data/RaceFileLoader.h"

namespace {

constexpr unsigned kButtonsMask = 0xF;

// Writes each message on a line of its own after the file's name and answers the one question
// from the command line, remembering what it said about the current file.
class StreamPrompt : public IPrompt {
public:
    StreamPrompt(std::ostream& err, bool answerYes) : m_err(err), m_answerYes(answerYes) {}

    void StartFile(const std::string& path) {
        m_path = path;
        m_refusalShown = false;
        m_declined = false;
    }
    bool RefusalShown() const { return m_refusalShown; }
    bool Declined() const { return m_declined; }

    int MessageBox(const std::string& text, unsigned style) override {
        m_err << m_path << ": " << text << '\n';
        if ((style & kButtonsMask) != MB_YESNO) {
            m_refusalShown = true;
            return IDOK;
        }
        m_declined = !m_answerYes;
        return m_answerYes ? IDYES : IDNO;
    }

private:
    std::ostream& m_err;
    bool m_answerYes;
    std::string m_path;
    bool m_refusalShown = false;
    bool m_declined = false;
};

} // namespace

std::optional<LoadArguments> ParseLoadArguments(const std::vector<std::string>& args, std::string& error) {
    LoadArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--answer") {
            if (i + 1 == args.size() || (args[i + 1] != "yes" && args[i + 1] != "no")) {
                error = "--answer needs yes or no";
                return std::nullopt;
            }
            parsed.answerYes = args[++i] == "yes";
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (parsed.files.empty()) {
        error = "no files given";
        return std::nullopt;
    }
    return parsed;
}

LoadOutcome LoadFiles(RaceData& race, const LoadArguments& arguments, std::ostream& err) {
    StreamPrompt prompt(err, arguments.answerYes);
    DeferLapStatistics oneRecomputation(race);
    LoadOutcome outcome;
    for (const std::string& path : arguments.files) {
        prompt.StartFile(path);
        try {
            DiskFile file(path);
            if (LoadRaceFile(race, file, prompt) != 0) {
                outcome.merged = true;
                continue;
            }
        } catch (const FileException& e) {
            err << e.message() << '\n';
            ++outcome.refused;
            continue;
        }
        if (prompt.Declined())
            continue;
        // The viewer refuses the shortest files and empty logs without a word; a script needs one.
        if (!prompt.RefusalShown())
            err << path << " contains no laps\n";
        ++outcome.refused;
    }
    return outcome;
}
