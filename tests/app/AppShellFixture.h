#pragma once

#include "ScriptedPrompter.h"
#include "app/MainFrame.h"
#include "app/TarmioApp.h"
#include "app/VersionInfo.h"
#include "document/CTarmioDoc.h"
#include "driverlist/DriverView.h"
#include "framework/CSplitterWnd.h"
#include "graph/TarmioView.h"
#include "tools/racefile/RaceFileWriter.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// Starts the whole program in-process on the offscreen platform: application object, New, the
// main frame with both panes, answered by a scripted prompter, with empty settings.
class AppShell : public ::testing::Test {
protected:
    void SetUp() override { QSettings("VAZ", "TarmioView").clear(); }
    void TearDown() override {
        app.reset();
        CVersionInfo::SetResourceSource({});
    }

    // InitInstance with these command-line arguments; the frame is shown and active.
    void Start(const QStringList& arguments = {}) {
        app = std::make_unique<CTarmioApp>();
        app->ParseCommandLine(arguments);
        EXPECT_TRUE(app->InitInstance());
        Frame().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        Frame().UpdateAllCommandUI();
    }
    // The program's exit: frame and views destroyed, then ExitInstance.
    void Exit() {
        app->CloseAllDocuments();
        app->ExitInstance();
        app.reset();
    }

    CMainFrame& Frame() const { return *static_cast<CMainFrame*>(app->m_pMainWnd); }
    CDriverView& DriverList() const {
        return *static_cast<CDriverView*>(Frame().GetSplitter()->GetPane(0, 0));
    }
    CTarmioView& Graph() const { return *static_cast<CTarmioView*>(Frame().GetSplitter()->GetPane(0, 1)); }
    CTarmioDoc& Document() const { return *app->GetDocument(); }
    QAction* Action(UINT nID) const { return Frame().GetCommandAction(nID); }
    // The action's check mark after the frame's idle update.
    bool Checked(UINT nID) const {
        Frame().UpdateAllCommandUI();
        return Action(nID)->isChecked();
    }

    // A log file of a small three-car race at "Port Haddon", written to a private folder.
    QString WriteRaceFile(const QString& name = "race.zq3") {
        RaceDescription race;
        race.trackName = "Port Haddon";
        const char* names[] = {"Alma Rydberg", "Bo Castell", "Cyr Lindqvist"};
        for (std::uint8_t car = 1; car <= 3; ++car) {
            race.cars.push_back({car, names[car - 1], {}});
            const std::uint32_t pace = car == 3 ? 83500 : 79000 + car * 1000;
            for (std::uint32_t lap = 1, raceTime = 0; lap <= 5; ++lap) {
                raceTime += pace + lap * 37;
                race.cars.back().laps.push_back(
                    {static_cast<std::uint8_t>(lap), raceTime, pace + lap * 37, false});
            }
        }
        const Bytes bytes = RaceFileWriter::LogFile(race);
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return file.fileName();
    }

    ScriptedPrompter prompter; // installed for the test's lifetime
    std::unique_ptr<CTarmioApp> app;
    QTemporaryDir folder;
};
