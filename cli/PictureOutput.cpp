#include "PictureOutput.h"

#include "Commands.h"
#include "platform/FileIdentity.h"
#include "platform/ReplaceFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {
// Qt needs a platform even to paint into images; without a display it paints off-screen.
void ChooseHeadlessPlatform() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr)
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

bool EndsWith(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size())
        return false;
    return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool IsOneOfTheInputs(const std::string& output, const std::vector<std::string>& inputs) {
    const std::optional<FileIdentity> target = IdentifyFile(output);
    return target && std::any_of(inputs.begin(), inputs.end(), [&target](const std::string& input) {
               return IdentifyFile(input) == target;
           });
}

// The output is written beside itself under a temporary name and renamed over the old one only
// when complete: a failed render leaves no half file, and whatever was there stays until then.
bool WriteThroughTemporary(const std::string& output, const std::function<bool(const QString&)>& write) {
    const QFileInfo target(QFile::decodeName(output.c_str()));
    QTemporaryFile temporary(target.absolutePath() + "/." + target.fileName() + ".XXXXXX." + target.suffix());
    if (!temporary.open())
        return false;
    temporary.close();
    if (!write(temporary.fileName()))
        return false;
    if (!ReplaceFileWith(QFile::encodeName(temporary.fileName()).toStdString(), output))
        return false;
    temporary.setAutoRemove(false);
    return true;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
           file.flush();
}

HeadlessApplication::HeadlessApplication() {
    ChooseHeadlessPlatform();
    // Standard error is for the tool's own messages; Qt's notes about the session (no runtime
    // folder, fonts) mean nothing to a script.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "tarmioview-cli";
    static char* argv[] = {name, nullptr};
    m_application = std::make_unique<QApplication>(argc, argv);
}

std::unique_ptr<LoadedRace> LoadRaceForOutput(const std::string& command, const std::string& output,
                                              const std::vector<std::string>& loadArguments,
                                              std::ostream& err, int& exitStatus) {
    std::string error;
    const std::optional<LoadArguments> load = ParseLoadArguments(loadArguments, error);
    if (!load || IsOneOfTheInputs(output, load->files)) {
        exitStatus =
            BadUsage(err, command, load ? "the output file " + output + " is one of the input files" : error);
        return nullptr;
    }
    auto race = std::make_unique<LoadedRace>();
    race->document.OnNewDocument();
    race->outcome = LoadFiles(*race->document.GetRaceData(), *load, err);
    if (!race->outcome.merged) {
        err << "tarmioview-cli " << command << ": nothing was loaded\n";
        exitStatus = kExitFailed;
        return nullptr;
    }
    return race;
}
