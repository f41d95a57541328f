#include "RaceFileWriter.h"
#include "ScriptedPrompter.h"
#include "common/CommandIds.h"
#include "data/CTarmioDoc.h"
#include "data/FileErrors.h"
#include "data/LoaderMessages.h"
#include "tests/framework/TestViews.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace {

CarDescription Car(std::uint8_t number, const std::string& name) {
    return {number, name, {{1, 90000, 90000}, {2, 181000, 91000}}};
}

RaceDescription Race(const std::string& track, std::vector<CarDescription> cars, bool raceSession = true) {
    RaceDescription race;
    race.trackName = track;
    race.cars = std::move(cars);
    race.raceSession = raceSession;
    return race;
}

struct Document : ::testing::Test {
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    CTarmioDoc document;
    RecordingView views[2];

    Document() {
        for (RecordingView& view : views)
            view.Create(nullptr, &document);
        document.OnNewDocument();
    }

    QString WriteLog(const QString& name, const RaceDescription& race) {
        const Bytes bytes = RaceFileWriter::LogFile(race);
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path;
    }

    // Add through the command, with the dialog confirming paths on filter index.
    void Add(const QStringList& paths, int filterIndex = CTarmioDoc::kDefaultFilterIndex) {
        prompter.fileOpenAnswers.push_back({true, paths, filterIndex});
        document.OnCmdMsg(ID_FILE_ADD, nullptr);
    }
    void CancelAdd() { document.OnCmdMsg(ID_FILE_ADD, nullptr); }

    int Cars() const { return document.GetRaceData()->drivers->GetCount(); }
    void ExpectUpdatesOfEveryView(std::size_t count) const {
        for (const RecordingView& view : views) {
            ASSERT_EQ(view.updates.size(), count);
            for (const RecordingView::Update& update : view.updates) {
                EXPECT_EQ(update.sender, nullptr);
                EXPECT_EQ(update.hint, 0);
                EXPECT_EQ(update.object, nullptr);
            }
        }
    }
};

TEST_F(Document, LongAddShowsProgressAndCancellingKeepsTheFilesLoadedSoFar) {
    prompter.cancelProgressAt = 2;
    Add({WriteLog("a.zq3", Race("Monza", {Car(1, "Alpha")})),
         WriteLog("b.zq3", Race("Monza", {Car(2, "Bravo")})),
         WriteLog("c.zq3", Race("Monza", {Car(3, "Charlie")}))});

    EXPECT_EQ(prompter.progressSteps, QStringList({"0/3 a.zq3", "1/3 b.zq3", "2/3 c.zq3"}));
    EXPECT_EQ(prompter.progressEnds, 1);
    EXPECT_EQ(Cars(), 2);
    EXPECT_EQ(document.GetRaceData()->leaderTimes.size(), 2u) << "statistics made once, at the end";
    ExpectUpdatesOfEveryView(1);
}

TEST_F(Document, FileThatCannotBeOpenedIsReportedAndTheOthersStillLoad) {
    const QString missing = folder.filePath("missing.zq3");
    Add({WriteLog("a.zq3", Race("Monza", {Car(1, "Alpha")})), missing,
         WriteLog("c.zq3", Race("Monza", {Car(2, "Bravo")}))});

    EXPECT_EQ(Cars(), 2);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, FileErrorMessage(FileErrorCause::NotFound, missing.toStdString()));
    EXPECT_EQ(prompter.messages[0].style, MB_OK | MB_ICONEXCLAMATION);
    ExpectUpdatesOfEveryView(1);
    EXPECT_EQ(document.GetTitle(), "Monza");
    EXPECT_EQ(document.GetLastFolder(), folder.path());
}

TEST_F(Document, CancelledAddShowsTheTrackOrNothingAndTheDialogKeepsTheLastConfirmedFilter) {
    document.SetTitle("Untitled");
    CancelAdd();
    EXPECT_EQ(document.GetTitle(), "");
    Add({WriteLog("a.zq3", Race("Monza", {Car(1, "Alpha")}))}, 1);
    document.SetTitle("Untitled");
    CancelAdd();
    EXPECT_EQ(document.GetTitle(), "Monza");
    ExpectUpdatesOfEveryView(1);

    std::vector<int> shownFilters;
    for (const FileOpenRequest& request : prompter.fileOpenRequests)
        shownFilters.push_back(request.filterIndex);
    EXPECT_EQ(shownFilters, (std::vector<int>{3, 3, 1}));
    EXPECT_EQ(prompter.fileOpenRequests[0].initialFolder, "");
    EXPECT_EQ(prompter.fileOpenRequests[2].initialFolder, folder.path());
    EXPECT_EQ(document.GetFilterIndex(), 1);
}

TEST_F(Document, FilesAllRefusedUpdateNoViewButNameTheFirstFilesTrack) {
    Add({WriteLog("a.zq3", Race("Imola", {Car(1, "Alpha")}, false)),
         WriteLog("b.zq3", Race("Monza", {Car(2, "Bravo")}, false))});

    EXPECT_EQ(Cars(), 0);
    ExpectUpdatesOfEveryView(0);
    EXPECT_EQ(document.GetTitle(), "Imola");
    ASSERT_GE(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kNotRaceSessionText);
}

TEST_F(Document, NewGivesAnEmptyRaceWhoseCarsStartTheColoursAgain) {
    const QString race = WriteLog("a.zq3", Race("Monza", {Car(1, "Alpha"), Car(2, "Bravo")}));
    Add({race});
    Add({WriteLog("b.zq3", Race("Monza", {Car(3, "Charlie"), Car(4, "Delta")}))}, 1);
    ASSERT_EQ(Cars(), 4);
    EXPECT_FALSE(document.OnOpenDocument(race)) << "open by path is refused and keeps the race";
    EXPECT_EQ(Cars(), 4);

    ASSERT_TRUE(document.OnNewDocument());
    EXPECT_EQ(Cars(), 0);
    EXPECT_EQ(document.GetRaceData()->GetTrackName(), "");
    EXPECT_EQ(document.GetLastFolder(), "");
    EXPECT_EQ(document.GetFilterIndex(), 1) << "New keeps the dialog's file type";

    document.AddFiles({race});
    EXPECT_EQ(prompter.fileOpenRequests.size(), 2u) << "adding by path asks nothing";
    ASSERT_EQ(Cars(), 2);
    std::set<COLORREF> colours;
    for (int i = 0; i < Cars(); ++i)
        colours.insert(document.GetRaceData()->drivers->GetAt(i)->colour);
    EXPECT_EQ(colours, (std::set<COLORREF>{kPalette[0], kPalette[1]}));
}

TEST_F(Document, RefreshUpdatesEveryViewAndWithoutARaceAddDoesNothing) {
    EXPECT_TRUE(document.OnCmdMsg(ID_VIEW_REFRESH, nullptr));
    EXPECT_TRUE(document.OnCmdMsg(ID_VIEW_REFRESH, nullptr));
    ExpectUpdatesOfEveryView(2);
    document.DeleteContents();
    EXPECT_EQ(document.GetRaceData(), nullptr);
    document.SetTitle("Untitled");
    CancelAdd();
    document.AddFiles({WriteLog("a.zq3", Race("Monza", {Car(1, "Alpha")}))});
    EXPECT_TRUE(prompter.fileOpenRequests.empty());
    EXPECT_EQ(document.GetTitle(), "Untitled");
    ExpectUpdatesOfEveryView(2);
}

} // namespace
