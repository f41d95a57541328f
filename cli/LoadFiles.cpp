#include "LoadFiles.h"

#include "common/Prompt.h"
#include "data/DiskFile.h"
#include "data/FileErrors.h"
#include "data/RaceFileLoader.h"

namespace {

constexpr unsigned kButtonsMask = 0xF;

// Writes each message as a line of its own and answers the one question from the command line.
class StreamPrompt : public IPrompt {
public:
    StreamPrompt(std::ostream& err, bool answerYes) : m_err(err), m_answerYes(answerYes) {}

    int MessageBox(const std::string& text, unsigned style) override {
        m_err << text << '\n';
        if ((style & kButtonsMask) == MB_YESNO)
            return m_answerYes ? IDYES : IDNO;
        return IDOK;
    }

private:
    std::ostream& m_err;
    bool m_answerYes;
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

bool LoadFiles(RaceData& race, const LoadArguments& arguments, std::ostream& err) {
    StreamPrompt prompt(err, arguments.answerYes);
    DeferLapStatistics oneRecomputation(race);
    bool merged = false;
    for (const std::string& path : arguments.files) {
        try {
            DiskFile file(path);
            if (LoadRaceFile(race, file, prompt) != 0)
                merged = true;
        } catch (const FileException& e) {
            err << e.message() << '\n';
        }
    }
    return merged;
}
