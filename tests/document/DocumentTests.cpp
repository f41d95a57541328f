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

// A two-lap race of the named cars, car numbers from one.
RaceDescription Race(const std::string& track, std::vector<std::string> names, bool raceSession = true) {
    RaceDescription race;
    race.trackName = track;
    race.raceSession = raceSession;
    for (std::size_t i = 0; i < names.size(); ++i)
        race.cars.push_back(
            {static_cast<std::uint8_t>(i + 1), names[i], {{1, 90000, 90000}, {2, 181000, 91000}}});
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
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return file.fileName();
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
            for (const RecordingView::Update& update : view.updates)
                EXPECT_TRUE(!update.sender && !update.hint && !update.object);
        }
    }
};

TEST_F(Document, LongAddShowsProgressAndCancellingKeepsTheFilesLoadedSoFar) {
    Add({WriteLog("one.zq3", Race("Monza", {"Zulu"}))});
    EXPECT_TRUE(prompter.progressSteps.isEmpty()) << "one file has no progress to show";
    prompter.cancelProgressAt = 2;
    Add({WriteLog("a.zq3", Race("Monza", {"Alpha"})), WriteLog("b.zq3", Race("Monza", {"Bravo"})),
         WriteLog("c.zq3", Race("Monza", {"Charlie"}))});
    EXPECT_EQ(prompter.progressSteps, QStringList({"0/3 a.zq3", "1/3 b.zq3", "2/3 c.zq3"}));
    EXPECT_EQ(prompter.progressEnds, 1);
    EXPECT_EQ(Cars(), 3);
    EXPECT_EQ(document.GetRaceData()->leaderTimes.size(), 2u);
    ExpectUpdatesOfEveryView(2);
}

TEST_F(Document, FileThatCannotBeOpenedIsReportedAndTheOthersStillLoad) {
    const QString missing = folder.filePath("missing.zq3");
    Add({WriteLog("a.zq3", Race("Monza", {"Alpha"})), missing, WriteLog("c.zq3", Race("Monza", {"Bravo"}))});
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
    Add({WriteLog("a.zq3", Race("Monza", {"Alpha"}))}, 1);
    document.SetTitle("Untitled");
    CancelAdd();
    EXPECT_EQ(document.GetTitle(), "Monza");
    ExpectUpdatesOfEveryView(1);
    ASSERT_EQ(prompter.fileOpenRequests.size(), 3u);
    EXPECT_EQ(prompter.fileOpenRequests[1].filterIndex, 3);
    EXPECT_EQ(prompter.fileOpenRequests[2].filterIndex, 1);
    EXPECT_EQ(prompter.fileOpenRequests[0].initialFolder, "");
    EXPECT_EQ(prompter.fileOpenRequests[2].initialFolder, folder.path());
}

TEST_F(Document, FilesAllRefusedUpdateNoViewButNameTheFirstFilesTrack) {
    Add({WriteLog("a.zq3", Race("Imola", {"Alpha"}, false)),
         WriteLog("b.zq3", Race("Monza", {"Bravo"}, false))});
    EXPECT_EQ(Cars(), 0);
    ExpectUpdatesOfEveryView(0);
    EXPECT_EQ(document.GetTitle(), "Imola");
    EXPECT_EQ(prompter.messages.at(0).text, kNotRaceSessionText);
}

TEST_F(Document, NewGivesAnEmptyRaceWhoseCarsStartTheColoursAgain) {
    const QString race = WriteLog("a.zq3", Race("Monza", {"Alpha", "Bravo"}));
    Add({race});
    Add({WriteLog("b.zq3", Race("Monza", {"Charlie", "Delta"}))}, 1);
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
    EXPECT_EQ(std::set({document.GetRaceData()->drivers->GetAt(0)->colour,
                        document.GetRaceData()->drivers->GetAt(1)->colour}),
              std::set({kPalette[0], kPalette[1]}));
}

TEST_F(Document, RefreshUpdatesEveryViewAndWithoutARaceAddDoesNothing) {
    EXPECT_TRUE(document.OnCmdMsg(ID_VIEW_REFRESH, nullptr));
    ExpectUpdatesOfEveryView(1);
    document.DeleteContents();
    EXPECT_EQ(document.GetRaceData(), nullptr);
    document.SetTitle("Untitled");
    CancelAdd();
    document.AddFiles({WriteLog("a.zq3", Race("Monza", {"Alpha"}))});
    EXPECT_TRUE(prompter.fileOpenRequests.empty());
    EXPECT_EQ(document.GetTitle(), "Untitled");
    ExpectUpdatesOfEveryView(1);
}

} // namespace
