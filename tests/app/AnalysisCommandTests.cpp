// The race-analysis commands of the main window: chart kinds, Race Summary and Export.
#include "AppShellFixture.h"
#include "app/CommandTable.h"
#include "app/RaceSummaryDlg.h"
#include "framework/FileNames.h"

#include <QActionGroup>
#include <algorithm>
#include <set>
#include <unistd.h>

using lapgraph::ChartKind;

namespace {
QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST_F(AppShell, ChartKindIsAChoiceAmongSeveralAndIsKept) {
    Start({WriteRaceFile()});
    Frame().SendCommand(ID_VIEW_CHART_POSITIONS);
    EXPECT_EQ(QSettings("VAZ", "TarmioView").value("Settings/GraphChart").toInt(), 1) << "stored at once";
    // Shown as a choice among several: the menu draws a dot, not a tick.
    EXPECT_TRUE(Action(ID_VIEW_CHART_POSITIONS)->actionGroup()->isExclusive());

    Frame().SendCommand(ID_VIEW_CHART_LAPTIMES);
    Frame().SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Graph().GetChartKind(), ChartKind::LapTimes);
    Exit();
    Start();
    EXPECT_EQ(Graph().GetChartKind(), ChartKind::LapTimes);
    EXPECT_TRUE(Checked(ID_VIEW_CHART_LAPTIMES));
}

// What a new kind must bring: a command with a key and a button, a name and a stored value of its
// own.
TEST(ChartKinds, EachKindHasItsOwnCommandNameAndStoredValueAndAKeyAndButton) {
    std::set<UINT> commands;
    std::set<std::string> names;
    std::set<int> values;
    for (const ChartKindInfo* kind : ChartKinds()) {
        commands.insert(kind->command);
        names.insert(kind->cliName);
        values.insert(static_cast<int>(kind->kind));
        const std::span<const CommandInfo> table = CommandTable();
        const auto row = std::find_if(table.begin(), table.end(),
                                      [kind](const CommandInfo& info) { return info.id == kind->command; });
        ASSERT_NE(row, table.end()) << kind->cliName;
        EXPECT_NE(row->keys[0].key(), Qt::Key_unknown) << kind->cliName;
        EXPECT_NE(row->image, nullptr) << kind->cliName;
    }
    EXPECT_EQ(commands.size(), ChartKinds().size());
    EXPECT_EQ(names.size(), ChartKinds().size());
    EXPECT_EQ(values.size(), ChartKinds().size());
    const std::set<int> earlier = {0, 1, 2}; // what earlier versions stored
    EXPECT_TRUE(std::includes(values.begin(), values.end(), earlier.begin(), earlier.end()));
}

TEST_F(AppShell, RaceSummaryStaysOpenBesideTheWindowAndFollowsTheRace) {
    Start({WriteRaceFile()});
    Frame().SendCommand(ID_VIEW_RACESUMMARY);
    CRaceSummaryDlg* summary = Frame().GetRaceSummary();
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(summary->GetText().contains("    1  Alma Rydberg"));
    // Deleting the winner in the list updates the open summary.
    Document().GetRaceData()->RemoveDriver(0);
    Document().UpdateAllViews(nullptr);
    EXPECT_TRUE(summary->GetText().contains("    1  Bo Castell"));
    EXPECT_FALSE(summary->GetText().contains("Alma"));

    Frame().SendCommand(ID_FILE_NEW);
    EXPECT_TRUE(summary->GetText().contains("No drivers."));
    Frame().SendCommand(ID_VIEW_RACESUMMARY);
    EXPECT_EQ(Frame().GetRaceSummary(), summary) << "one dialog, brought forward";
}

TEST_F(AppShell, ExportWritesTheFormatOfTheExtension) {
    Start({WriteRaceFile()});
    const QString csv = folder.filePath("laps.csv"), png = folder.filePath("chart.png"),
                  pdf = folder.filePath("chart.pdf"), svg = folder.filePath("chart.svg"),
                  html = folder.filePath("race.html");
    for (const QString& path : {csv, png, pdf, svg, html})
        prompter.fileSaveAnswers.push_back({true, {path}, 1});
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_EQ(prompter.fileSaveRequests.size(), 5u);
    // The former three entries keep their order; the new ones follow.
    EXPECT_EQ(prompter.fileSaveRequests[0].filter,
              "CSV Files (*.csv)|*.csv|PNG Pictures (*.png)|*.png|PDF Documents (*.pdf)|*.pdf|"
              "SVG Pictures (*.svg)|*.svg|HTML Race Reports (*.html)|*.html||");
    EXPECT_TRUE(ReadAll(csv).startsWith(
        "driver,car,id,lap,position,raceTime,lapTime,gapToLeader,flags,eventTime\r\n"));
    EXPECT_EQ(ReadAll(csv).count("\r\n"), 16); // header and 3 x 5 laps
    CRect client;
    Graph().GetClientRect(&client);
    EXPECT_EQ(QImage(png).size(), QSize(client.Width(), client.Height()));
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));
    EXPECT_TRUE(ReadAll(svg).contains(
        QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(client.Width()).arg(client.Height()).toLatin1()));
    EXPECT_TRUE(ReadAll(html).startsWith("<!DOCTYPE html>"));
    // Rows of drivers: results, laps led and leader runs (Alma leads all the way), fastest lap,
    // lap by lap.
    EXPECT_EQ(ReadAll(html).count("<tr data-d="), 3 + 1 + 1 + 1 + 3);
    EXPECT_TRUE(prompter.messages.empty());
}

// The dialog offers the race's title line and a legend, unticked; what the user chose reaches the
// picture and is offered again next time, an edited title kept.
TEST_F(AppShell, ExportCarriesTheTitleAndLegendChosenInTheDialog) {
    Start({WriteRaceFile()});
    const QString svg = folder.filePath("framed.svg");
    const QString png = folder.filePath("framed.png");
    const QString pdf = folder.filePath("framed.pdf");
    for (const QString& path : {svg, png, pdf})
        prompter.fileSaveAnswers.push_back({true, {path}, 1});
    prompter.pictureFrameAnswers.push_back({true, "Round <3>", true});
    for (int i = 0; i < 3; ++i)
        Frame().SendCommand(ID_FILE_EXPORT);
    ASSERT_EQ(prompter.pictureFramesOffered.size(), 3u);
    const auto offered = [this](int i) {
        const auto& frame = prompter.pictureFramesOffered[static_cast<std::size_t>(i)];
        return std::tuple(frame.title, frame.legend, frame.titleText);
    };
    EXPECT_EQ(offered(0), std::tuple(false, false, QString("Port Haddon, 5 laps")));
    EXPECT_EQ(offered(1), std::tuple(true, true, QString("Round <3>")));
    const QByteArray text = ReadAll(svg);
    EXPECT_TRUE(text.contains(">Round &lt;3&gt;</text>"));
    for (const char* name : {">Alma Rydberg</text>", ">Bo Castell</text>", ">Cyr Lindqvist</text>"})
        EXPECT_TRUE(text.contains(name)) << name;
    CRect client;
    Graph().GetClientRect(&client);
    const QImage picture(png);
    EXPECT_EQ(picture.width(), client.Width());
    EXPECT_GT(picture.height(), client.Height() + 30) << "a title line and a legend line";
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));
    EXPECT_TRUE(prompter.messages.empty());
}

// Also when the input's name is not UTF-8: the file is known by its bytes.
TEST_F(AppShell, ExportNeverWritesOverAnInputFile) {
    const QByteArray inputBytes = QFile::encodeName(folder.path()) + "/race\xe9.zq3";
    ASSERT_EQ(::rename(QFile::encodeName(WriteRaceFile()).constData(), inputBytes.constData()), 0);
    const QString input = DecodeFileName(inputBytes);
    const QString link = folder.filePath("link.csv");
    ASSERT_EQ(::link(inputBytes.constData(), QFile::encodeName(link).constData()), 0);
    Start({});
    Document().AddFiles({input});
    ASSERT_EQ(Document().GetRaceData()->drivers->GetCount(), 3);
    const QByteArray before = ReadAll(link);
    for (const QString& path : {input, link})
        prompter.fileSaveAnswers.push_back({true, {path}, 1});
    Frame().SendCommand(ID_FILE_EXPORT);
    Frame().SendCommand(ID_FILE_EXPORT);
    EXPECT_EQ(ReadAll(link), before);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text,
              "This file is one of the race's input files and will not be overwritten.");
    EXPECT_EQ(prompter.messages[1].style & MB_ICONMASK, MB_ICONSTOP);
}
