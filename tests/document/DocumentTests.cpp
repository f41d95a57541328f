#include "ScriptedPrompter.h"
#include "common/CommandIds.h"
#include "data/FileErrors.h"
#include "data/LoaderMessages.h"
#include "document/CTarmioDoc.h"
#include "document/RaceFollower.h"
#include "tests/framework/TestViews.h"
#include "tools/racefile/RaceFileWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

struct Document : ::testing::Test {
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    CTarmioDoc document;
    RecordingView view;

    Document() {
        view.Create(nullptr, &document);
        document.OnNewDocument();
    }

    // A log file of a two-lap race of the named cars at this track, car numbers from one.
    QString Log(const QString& name, const std::string& track, const std::vector<std::string>& names,
                bool raceSession = true, int laps = 2) {
        RaceDescription race;
        race.trackName = track;
        // Another track name is another track code, so that mixing tracks asks the question.
        race.trackCode = 0x07A11C00u + static_cast<std::uint8_t>(track.front());
        race.raceSession = raceSession;
        for (std::size_t i = 0; i < names.size(); ++i)
            race.cars.push_back({static_cast<std::uint8_t>(i + 1), names[i], {}});
        for (CarDescription& car : race.cars)
            for (int lap = 1; lap <= laps; ++lap)
                car.laps.push_back({static_cast<std::uint8_t>(lap),
                                    static_cast<std::uint32_t>(lap * 90000 + car.car * 1000), 90000});
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
    // The view was told of the race this often, each time by nobody and without a hint.
    void ExpectRaceUpdates(std::size_t count) const {
        ASSERT_EQ(view.updates.size(), count);
        for (const RecordingView::Update& update : view.updates)
            EXPECT_TRUE(!update.sender && !update.hint);
    }
};

TEST_F(Document, LongAddShowsProgressCancellingOrAMissingFileKeepsTheFilesLoadedSoFar) {
    Add({Log("one.zq3", "Monza", {"Zulu"})});
    EXPECT_TRUE(prompter.progressSteps.isEmpty()) << "one file has no progress to show";
    prompter.cancelProgressAt = 2;
    Add({Log("a.zq3", "Monza", {"Alpha"}), Log("b.zq3", "Monza", {"Bravo"}),
         Log("c.zq3", "Monza", {"Charlie"})});
    EXPECT_EQ(prompter.progressSteps, QStringList({"0/3 a.zq3", "1/3 b.zq3", "2/3 c.zq3"}));
    EXPECT_EQ(prompter.progressEnds, 1);
    EXPECT_EQ(Cars(), 3);
    EXPECT_EQ(document.GetRaceData()->leaderTimes.size(), 2u);

    // A file that cannot be opened is reported and the others still load.
    const QString missing = folder.filePath("missing.zq3");
    Add({missing, Log("d.zq3", "Monza", {"Delta"})});
    EXPECT_EQ(Cars(), 4);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, FileErrorMessage(FileErrorCause::NotFound, missing.toStdString()));
    EXPECT_EQ(prompter.messages[0].style, MB_OK | MB_ICONEXCLAMATION);
    ExpectRaceUpdates(3);
    EXPECT_EQ(document.GetTitle(), "Monza");
    EXPECT_EQ(document.GetLastFolder(), folder.path());
}

// Refused files name the track too, though no view hears of them; a cancelled Add shows it again.
TEST_F(Document, TitleNamesTheFirstFilesTrackAndTheDialogKeepsTheLastConfirmedFilter) {
    document.SetTitle("Untitled");
    CancelAdd();
    EXPECT_EQ(document.GetTitle(), "");
    Add({Log("a.zq3", "Imola", {"Alpha"}, false), Log("b.zq3", "Monza", {"Bravo"}, false)}, 1);
    EXPECT_EQ(Cars(), 0);
    EXPECT_EQ(prompter.messages.at(0).text, kNotRaceSessionText);
    document.SetTitle("Untitled");
    CancelAdd();
    EXPECT_EQ(document.GetTitle(), "Imola");
    ExpectRaceUpdates(0);
    ASSERT_EQ(prompter.fileOpenRequests.size(), 3u);
    EXPECT_EQ(prompter.fileOpenRequests[1].filterIndex, 3);
    EXPECT_EQ(prompter.fileOpenRequests[2].filterIndex, 1);
    EXPECT_EQ(prompter.fileOpenRequests[0].initialFolder, "");
    EXPECT_EQ(prompter.fileOpenRequests[2].initialFolder, folder.path());
}

TEST_F(Document, NewGivesAnEmptyRaceWhoseCarsStartTheColoursAgain) {
    const QString race = Log("a.zq3", "Monza", {"Alpha", "Bravo"});
    Add({race});
    Add({Log("b.zq3", "Monza", {"Charlie", "Delta"})}, 1);
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

TEST_F(Document, RefreshUpdatesEveryViewAndWithoutFilesReloadOrWithoutARaceAddDoesNothing) {
    EXPECT_TRUE(document.OnCmdMsg(ID_VIEW_REFRESH, nullptr));
    document.OnCmdMsg(ID_FILE_RELOAD, nullptr);
    ExpectRaceUpdates(1);
    document.DeleteContents();
    EXPECT_EQ(document.GetRaceData(), nullptr);
    document.SetTitle("Untitled");
    CancelAdd();
    document.AddFiles({Log("a.zq3", "Monza", {"Alpha"})});
    EXPECT_TRUE(prompter.fileOpenRequests.empty());
    EXPECT_EQ(document.GetTitle(), "Untitled");
    ExpectRaceUpdates(1);
}

TEST_F(Document, ReloadReadsTheRaceFilesAgainKeepingSelectionSortAndAnswers) {
    const QString first = Log("a.zq3", "Monza", {"Alpha", "Bravo"});
    prompter.messageAnswers = {IDYES};
    Add({first, Log("b.zq3", "Imola", {"Charlie"}), Log("c.zq3", "Monza", {"Delta"}, false)});
    ASSERT_EQ(prompter.messages.size(), 2u) << "the track question and the session refusal";
    ASSERT_EQ(Cars(), 3);
    document.GetRaceData()->Sort(kSortByName);
    document.GetRaceData()->Sort(kSortByName); // descending: Charlie, Bravo, Alpha
    document.SetSelectedDrivers(nullptr, {1, 2});
    Log("a.zq3", "Monza", {"Alpha", "Bravo"}, true, 5);
    view.updates.clear();

    EXPECT_TRUE(document.OnCmdMsg(ID_FILE_RELOAD, nullptr));
    EXPECT_EQ(prompter.messages.size(), 2u) << "nothing asked again, the refused file not read";
    ASSERT_EQ(Cars(), 3);
    const DriverArray& drivers = *document.GetRaceData()->drivers;
    EXPECT_EQ(drivers.GetAt(0)->name, "Charlie");
    EXPECT_EQ(drivers.GetAt(2)->name, "Alpha");
    EXPECT_EQ(drivers.GetAt(2)->laps.GetSize(), 5);
    EXPECT_EQ(document.GetSelectedDrivers(), (std::vector<int>{1, 2})) << "Bravo and Alpha";
    ASSERT_EQ(view.updates.size(), 1u);
    EXPECT_EQ(view.updates[0].hint, CTarmioDoc::kHintRaceReplaced);

    // A file gone since: its message as at Add, the others load.
    QFile::remove(first);
    document.OnCmdMsg(ID_FILE_RELOAD, nullptr);
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(prompter.messages[2].text, FileErrorMessage(FileErrorCause::NotFound, first.toStdString()));
    EXPECT_EQ(Cars(), 1);
    EXPECT_TRUE(document.GetSelectedDrivers().empty());
}

// Waits for the race to reach the lap count, as the event loop delivers the file notifications.
qint64 MillisecondsUntilLaps(const CTarmioDoc& document, int laps) {
    QElapsedTimer timer;
    timer.start();
    while (document.GetRaceData()->lapCount != laps && timer.elapsed() < 3000)
        QTest::qWait(5);
    return timer.elapsed();
}

TEST_F(Document, FollowingReadsChangedFilesWithoutAnyMessageAndWaitsForOnesThatAreGone) {
    const QString path = Log("a.zq3", "Monza", {"Alpha", "Bravo"});
    Add({path});
    document.SetFollowingFiles(true);
    ASSERT_NE(document.GetFollower(), nullptr);
    Log("a.zq3", "Monza", {"Alpha", "Bravo"}, true, 3);
    EXPECT_LT(MillisecondsUntilLaps(document, 3), 1000);
    EXPECT_TRUE(document.GetFollower()->GetStatusText().endsWith("leader on lap 3"))
        << document.GetFollower()->GetStatusText().toStdString();

    // Gone, then back by rename.
    QFile::remove(path);
    QTest::qWait(3 * CRaceFollower::kQuietMs);
    EXPECT_TRUE(document.GetFollower()->GetStatusText().startsWith("Waiting for a.zq3: "))
        << document.GetFollower()->GetStatusText().toStdString();
    EXPECT_EQ(Cars(), 2) << "its last laps stay";
    QFile::rename(Log("b.tmp", "Monza", {"Alpha", "Bravo"}, true, 4), path);
    EXPECT_LT(MillisecondsUntilLaps(document, 4), 1000);
    EXPECT_TRUE(prompter.messages.empty());

    document.SetFollowingFiles(false);
    Log("a.zq3", "Monza", {"Alpha", "Bravo"}, true, 6);
    QTest::qWait(3 * CRaceFollower::kQuietMs);
    EXPECT_EQ(document.GetRaceData()->lapCount, 4) << "no longer followed";
}

} // namespace
