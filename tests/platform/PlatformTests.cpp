#include "TestFolder.h"
#include "platform/FileIdentity.h"
#include "platform/PollingChangeWaiter.h"
#include "platform/StopSignals.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>

namespace {

void Write(const std::string& path, const std::string& text, std::ios::openmode mode = std::ios::trunc) {
    std::ofstream(path, std::ios::binary | mode) << text;
}

TEST(FileIdentity, LinksShareItAndAFileReplacedByRenameGetsTheNewOnes) {
    TestFolder folder("tarmio-identity-");
    const std::string race = folder.Path("race.zq3");
    Write(race, "first");
    std::filesystem::create_hard_link(race, folder.Path("hard.zq3"));
    const std::optional<FileIdentity> first = IdentifyFile(race);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(IdentifyFile(folder.Path("hard.zq3")), first);
    EXPECT_EQ(IdentifyFile(folder.Get().string() + "/./race.zq3"), first);

    // A logger that saves by rename: same name, same bytes, another file.
    Write(folder.Path("next.tmp"), "first");
    const std::optional<FileIdentity> next = IdentifyFile(folder.Path("next.tmp"));
    std::filesystem::rename(folder.Path("next.tmp"), race);
    EXPECT_NE(IdentifyFile(race), first);
    EXPECT_EQ(IdentifyFile(race), next);

    std::filesystem::remove(race);
    EXPECT_FALSE(IdentifyFile(race).has_value());
}

TEST(StopSignals, EveryStopSignalIsTakenAndTakenOnlyOnce) {
    ASSERT_TRUE(InstallStopSignals());
    EXPECT_FALSE(TakeStopRequest());
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // The process lives on: the handler only notes the request.
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_TRUE(TakeStopRequest()) << signal;
        EXPECT_FALSE(TakeStopRequest()) << signal;
    }
    ASSERT_EQ(std::raise(SIGTERM), 0);
    ASSERT_EQ(std::raise(SIGINT), 0);
    EXPECT_TRUE(TakeStopRequest());
    EXPECT_FALSE(TakeStopRequest());
}

// The only watch on Windows, so it is tested here with a pause that never stops.
class PollingWatchTest : public testing::Test {
protected:
    ChangeWaiter::Wake WaitBriefly() { return waiter->Wait(50); }

    TestFolder folder{"tarmio-polling-"};
    const std::string race = folder.Path("race.zq3");
    std::unique_ptr<PollingChangeWaiter> waiter;
};

TEST_F(PollingWatchTest, SeesAppendsDeletionsReturnsAndReplacementsThatKeepSizeAndTimeAndEndsOnStop) {
    Write(race, "12345");
    waiter = std::make_unique<PollingChangeWaiter>(std::vector{race}, [](int) { return false; });
    EXPECT_EQ(WaitBriefly(), ChangeWaiter::Wake::kQuiet);
    Write(race, "678", std::ios::app);
    EXPECT_EQ(WaitBriefly(), ChangeWaiter::Wake::kChanged);
    EXPECT_EQ(WaitBriefly(), ChangeWaiter::Wake::kQuiet);

    std::filesystem::remove(race);
    EXPECT_EQ(WaitBriefly(), ChangeWaiter::Wake::kChanged);
    EXPECT_EQ(WaitBriefly(), ChangeWaiter::Wake::kQuiet);
    Write(race, "12345678");
    EXPECT_EQ(WaitBriefly(), ChangeWaiter::Wake::kChanged);

    // Same size and time: only the file's identity tells the replacement.
    const std::string next = folder.Path("next.tmp");
    Write(next, "abcdefgh");
    std::filesystem::last_write_time(next, std::filesystem::last_write_time(race));
    std::filesystem::rename(next, race);
    EXPECT_EQ(WaitBriefly(), ChangeWaiter::Wake::kChanged);
    EXPECT_EQ(WaitBriefly(), ChangeWaiter::Wake::kQuiet);
    // A stop during the pause ends the wait.
    PollingChangeWaiter stopped({race}, [](int) { return true; });
    EXPECT_EQ(stopped.Wait(-1), ChangeWaiter::Wake::kStop);
}

} // namespace
