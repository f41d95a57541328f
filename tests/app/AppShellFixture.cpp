#include "AppShellFixture.h"

#include "app/VersionInfo.h"
#include "driverlist/DriverView.h"
#include "framework/CMenu.h"
#include "framework/CSplitterWnd.h"
#include "graph/TarmioView.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTest>

void AppShell::SetUp() {
    QSettings("VAZ", "TarmioView").clear();
    AfxSetPrompter(&prompter);
    CMenu::SetTrackHook({});
}

void AppShell::TearDown() {
    app.reset();
    AfxSetPrompter(nullptr);
    CMenu::SetTrackHook({});
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

RaceDescription AppShell::ThreeCarRace() {
    RaceDescription race;
    race.trackId = 3;
    race.trackCode = 0x12345678;
    race.trackName = "Port Haddon";
    const std::uint32_t paces[] = {80000, 81000, 83500};
    const std::uint8_t cars[] = {1, 2, 3};
    const char* names[] = {"Alma Rydberg", "Bo Castell", "Cyr Lindqvist"};
    for (int c = 0; c < 3; ++c) {
        CarDescription car{cars[c], names[c], {}};
        std::uint32_t raceTime = 0;
        for (std::uint8_t lap = 1; lap <= 5; ++lap) {
            const std::uint32_t lapTime = paces[c] + lap * 37;
            raceTime += lapTime;
            car.laps.push_back({lap, raceTime, lapTime, false});
        }
        race.cars.push_back(car);
    }
    return race;
}

QString AppShell::WriteRaceFile(const QString& name) {
    const Bytes bytes = RaceFileWriter::LogFile(ThreeCarRace());
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}
