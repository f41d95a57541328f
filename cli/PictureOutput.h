#pragma once

// What the commands that write pictures and pages share: the output's name checks, writing
// through a temporary file, and Qt without a display.

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
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
