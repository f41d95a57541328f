#include "AppShellFixture.h"

#include "app/VersionInfo.h"
#include "driverlist/DriverView.h"
#include "framework/CSplitterWnd.h"
#include "graph/TarmioView.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTest>

void AppShell::SetUp() {
    QSettings("VAZ", "TarmioView").clear();
    AfxSetPrompter(&prompter);
}

void AppShell::TearDown() {
    app.reset();
    AfxSetPrompter(nullptr);
    CVersionInfo::SetResourceSource({});
}

CMainFrame& AppShell::Start(const QStringList& arguments) {
    app = std::make_unique<CTarmioApp>();
    app->ParseCommandLine(arguments);
    EXPECT_TRUE(app->InitInstance());
    CMainFrame& frame = Frame();
    frame.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
    frame.UpdateAllCommandUI();
    return frame;
}

void AppShell::Exit() {
    app->CloseAllDocuments();
    app->ExitInstance();
    app.reset();
}

CDriverView& AppShell::DriverList() const {
    return *static_cast<CDriverView*>(Frame().GetSplitter()->GetPane(0, 0));
}

CTarmioView& AppShell::Graph() const {
    return *static_cast<CTarmioView*>(Frame().GetSplitter()->GetPane(0, 1));
}

bool AppShell::Checked(UINT nID) const {
    Frame().UpdateAllCommandUI();
    return Action(nID)->isChecked();
}

QString AppShell::WriteRaceFile(const QString& name) {
    RaceDescription race;
    race.trackId = 3;
    race.trackCode = 0x12345678;
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
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}
