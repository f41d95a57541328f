// render and report as tarmioview-cli runs them: the drawing program, which needs Qt, takes over
// the process, so that the text commands start without loading Qt at all.
#include "Commands.h"
#include "platform/ProcessHandover.h"

#include <iostream>

namespace {

// Beside this program in the build tree; under libexec once installed.
std::optional<std::filesystem::path> FindDrawingProgram() {
    const std::optional<std::filesystem::path> own = OwnExecutable();
    if (!own)
        return std::nullopt;
    const std::filesystem::path folder = own->parent_path();
    for (const std::filesystem::path& candidate :
         {folder / TARMIO_DRAWING_PROGRAM,
          folder / TARMIO_DRAWING_FOLDER_FROM_BIN / TARMIO_DRAWING_PROGRAM}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

int RunDrawingCommand(const std::string& command, const std::vector<std::string>& args, std::ostream& err) {
    const std::optional<std::filesystem::path> program = FindDrawingProgram();
    if (!program) {
        err << "tarmioview-cli: this build has no drawing commands (render, report)\n";
        return kExitFailed;
    }
    std::vector<std::string> arguments{program->string(), command};
    arguments.insert(arguments.end(), args.begin(), args.end());
    std::cout.flush();
    err.flush();
    const std::string reason = RunInPlaceOfThisProcess(*program, arguments);
    err << "tarmioview-cli " << command << ": cannot start " << program->string() << ": " << reason << '\n';
    return kExitFailed;
}

} // namespace

int RunRender(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    return RunDrawingCommand("render", args, err);
}

int RunReport(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    return RunDrawingCommand("report", args, err);
}
