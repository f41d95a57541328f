// render and report in a build without Qt: listed like the others, so that a user learns why they
// do nothing here.
#include "Commands.h"

namespace {
int LacksDrawing(const char* command, std::ostream& err) {
    err << "tarmioview-cli " << command
        << ": this build of tarmioview-cli cannot draw; it was built without Qt\n";
    return kExitFailed;
}
} // namespace

const char* RenderUsage() {
    return "[OPTIONS] -o OUT FILE...";
}

int RunRender(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    return LacksDrawing("render", err);
}

int RunReport(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    return LacksDrawing("report", err);
}
