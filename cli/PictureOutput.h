#pragma once

// What the commands that write pictures and pages share: the output's name checks, writing
// through a temporary file, and Qt without a display.

#include "LoadFiles.h"
#include "document/CTarmioDoc.h"

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Case-insensitive for the suffix: "RACE.SVG" ends in ".svg".
bool EndsWith(const std::string& text, const std::string& suffix);
bool IsOneOfTheInputs(const std::string& output, const std::vector<std::string>& inputs);
// write fills the temporary file it is given; false when it or the rename failed.
bool WriteThroughTemporary(const std::string& output, const std::function<bool(const QString&)>& write);
bool WriteBytes(const QString& path, const QByteArray& bytes);

// A QApplication that paints off-screen when there is no display and keeps Qt's notes off
// standard error.
class HeadlessApplication {
public:
    HeadlessApplication();

private:
    std::unique_ptr<QApplication> m_application;
};

// The race of a command that writes a file: Qt without a display, and the files loaded into a
// new document as the viewer's Add would.
struct LoadedRace {
    HeadlessApplication application;
    CTarmioDoc document;
    LoadOutcome outcome;
};

// Reads the load arguments, refuses an output that is one of the inputs and loads the files.
// Null when the command is over, with its exit status in exitStatus and its message on err.
std::unique_ptr<LoadedRace> LoadRaceForOutput(const std::string& command, const std::string& output,
                                              const std::vector<std::string>& loadArguments,
                                              std::ostream& err, int& exitStatus);
