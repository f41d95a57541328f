#include "data/DiskFile.h"
#include "data/DriverTexts.h"
#include "data/FileErrors.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>
#include <unistd.h>

namespace {

TEST(DiskFile, ReadsSeeksAndReportsItsSizeWithoutChangingTheFile) {
    const auto path =
        std::filesystem::temp_directory_path() / ("tarmio-" + std::to_string(::getpid()) + "-disk.bin");
    std::ofstream(path, std::ios::binary) << "0123456789";
    const auto written = std::filesystem::last_write_time(path);
    {
        DiskFile file(path.string());
        std::uint64_t size = 0;
        ASSERT_TRUE(file.GetStatus(size));
        EXPECT_EQ(size, 10u);
        char buffer[16] = {};
        EXPECT_EQ(file.Read(buffer, 4), 4u);
        EXPECT_EQ(file.Seek(-2), 2u);
        EXPECT_EQ(file.Read(buffer, 16), 8u);
        EXPECT_EQ(std::string(buffer, 8), "23456789");
        EXPECT_EQ(file.GetPosition(), 10u);
        EXPECT_EQ(file.Read(buffer, 16), 0u);
    }
    EXPECT_EQ(std::filesystem::file_size(path), 10u);
    EXPECT_EQ(std::filesystem::last_write_time(path), written);
    std::filesystem::remove(path);
}

TEST(DiskFile, OpenFailureRaisesFileExceptionWithReadableMessageAsEveryFileErrorHas) {
    const std::tuple<std::string, FileErrorCause, std::string> cases[] = {
        {"/nonexistent-folder/race.zq3", FileErrorCause::BadPath,
         "All or part of the path /nonexistent-folder/race.zq3 is invalid."},
        {"/tmp/no-such-race-file.zq3", FileErrorCause::NotFound, "/tmp/no-such-race-file.zq3 was not found."},
        {"/tmp", FileErrorCause::IsFolder, "/tmp is a folder, not a file."}};
    for (const auto& [path, cause, message] : cases) {
        try {
            DiskFile file(path);
            ADD_FAILURE() << "opened " << path;
        } catch (const FileException& e) {
            EXPECT_EQ(e.cause(), cause);
            EXPECT_EQ(e.message(), message);
            EXPECT_EQ(e.path(), path);
        }
    }
    // The other causes' messages name the file too.
    EXPECT_EQ(FileErrorMessage(FileErrorCause::AccessDenied, "x.zq3"), "Access to x.zq3 was denied.");
    EXPECT_EQ(FileErrorMessage(FileErrorCause::ReadFault, ""),
              "An error occurred while reading an unnamed file.");
    EXPECT_EQ(FileErrorMessage(static_cast<FileErrorCause>(99), "x.zq3"),
              "An unexpected error occurred while accessing x.zq3.");
}

// The driver list shows the usual rows; these are the edges it does not meet.
TEST(DriverTexts, ShowTwoDigitNumbersAndDashesWithoutLaps) {
    EXPECT_EQ(CarIdText(0x3F), "  63");
    EXPECT_EQ(CarIdText(0x80), "# 0");
    DriverRecord driver(3, "Ola Nyberg", 0xFF);
    const DriverTexts lapless = MakeDriverTexts(driver);
    EXPECT_EQ(lapless.raceTime, "------------");
    EXPECT_EQ(lapless.fastestLap, "-:--.---");
    EXPECT_EQ(lapless.laps, "-1");
}

} // namespace
