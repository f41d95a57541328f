#include "data/DiskFile.h"
#include "data/DriverTexts.h"
#include "data/FileErrors.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace {

std::filesystem::path TempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("tarmio-" + std::to_string(::getpid()) + "-" + name);
}

TEST(DiskFile, ReadsSeeksAndReportsItsSizeWithoutChangingTheFile) {
    const auto path = TempPath("disk.bin");
    {
        std::ofstream out(path, std::ios::binary);
        out << "0123456789";
    }
    const auto written = std::filesystem::last_write_time(path);
    auto file = std::make_unique<DiskFile>(path.string());
    std::uint64_t size = 0;
    ASSERT_TRUE(file->GetStatus(size));
    EXPECT_EQ(size, 10u);
    char buffer[16] = {};
    EXPECT_EQ(file->Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(file->Seek(-2), 2u);
    EXPECT_EQ(file->Read(buffer, 16), 8u);
    EXPECT_EQ(std::string(buffer, 8), "23456789");
    EXPECT_EQ(file->GetPosition(), 10u);
    EXPECT_EQ(file->Read(buffer, 16), 0u);
    file.reset();
    EXPECT_EQ(std::filesystem::file_size(path), 10u);
    EXPECT_EQ(std::filesystem::last_write_time(path), written);
    std::filesystem::remove(path);
}

struct OpenFailure {
    const char* name;
    std::string path;
    FileErrorCause cause;
    std::string message;
};

class DiskFileOpen : public testing::TestWithParam<OpenFailure> {};

TEST_P(DiskFileOpen, RaisesFileExceptionWithReadableMessage) {
    try {
        DiskFile file(GetParam().path);
        FAIL() << "opened " << GetParam().path;
    } catch (const FileException& e) {
        EXPECT_EQ(e.cause(), GetParam().cause);
        EXPECT_EQ(e.message(), GetParam().message);
        EXPECT_EQ(e.path(), GetParam().path);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DiskFileOpen,
    testing::Values(OpenFailure{"Missing", "/nonexistent-folder/race.zq3", FileErrorCause::BadPath,
                                "All or part of the path /nonexistent-folder/race.zq3 is invalid."},
                    OpenFailure{"MissingInExistingFolder", "/tmp/no-such-race-file.zq3",
                                FileErrorCause::NotFound, "/tmp/no-such-race-file.zq3 was not found."},
                    OpenFailure{"Folder", "/tmp", FileErrorCause::IsFolder, "/tmp is a folder, not a file."}),
    [](const testing::TestParamInfo<OpenFailure>& info) { return info.param.name; });

TEST(FileErrors, EveryCauseNamesTheFile) {
    for (const FileErrorCause cause :
         {FileErrorCause::Generic, FileErrorCause::NotFound, FileErrorCause::BadPath,
          FileErrorCause::TooManyOpenFiles, FileErrorCause::AccessDenied, FileErrorCause::IsFolder,
          FileErrorCause::SharingViolation, FileErrorCause::ReadFault, FileErrorCause::BadSeek,
          FileErrorCause::EndOfFile, FileErrorCause::DiskFull}) {
        const std::string message = FileErrorMessage(cause, "C:/races/a.ra3");
        EXPECT_NE(message.find("C:/races/a.ra3"), std::string::npos) << message;
        EXPECT_EQ(message.find('%'), std::string::npos) << message;
    }
    EXPECT_EQ(FileErrorMessage(FileErrorCause::AccessDenied, "x.zq3"), "Access to x.zq3 was denied.");
    EXPECT_EQ(FileErrorMessage(FileErrorCause::ReadFault, "x.zq3"), "An error occurred while reading x.zq3.");
}

struct IdCase {
    std::uint8_t car;
    const char* text;
};

class CarIdText : public testing::TestWithParam<IdCase> {};

TEST_P(CarIdText, ShowsMarkerAndCarNumber) {
    EXPECT_EQ(::CarIdText(GetParam().car), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(DriverTexts, CarIdText,
                         testing::Values(IdCase{0x05, "  5"}, IdCase{0x45, "% 5"}, IdCase{0x85, "# 5"},
                                         IdCase{0xC5, "% 5"}, IdCase{0x3F, "  63"}, IdCase{0x80, "# 0"}));

TEST(DriverTexts, ShowsTimesLapsAndNoNameText) {
    DriverRecord driver(0x81, "", 0xFF);
    auto lap = [](std::uint32_t flags, std::uint32_t raceTime, std::uint32_t lapTime) {
        auto record = std::make_unique<LapRecord>();
        record->flags = flags;
        record->raceTime = raceTime;
        record->lapTime = lapTime;
        return record;
    };
    driver.laps.SetAt(0, lap(0, 83456, 83456));
    driver.laps.SetAt(1, lap(kLapEventA, 160000, 76544)); // an event lap never counts as fastest
    driver.laps.SetAt(3, lap(0, 5025678, 80000));
    const DriverTexts texts = MakeDriverTexts(driver);
    EXPECT_EQ(texts.name, "<no name>");
    EXPECT_EQ(texts.raceTime, "1h23m45.678s");
    EXPECT_EQ(texts.laps, "3");
    EXPECT_EQ(texts.fastestLap, "1:20.000");
    EXPECT_EQ(texts.id, "# 1");
}

TEST(DriverTexts, ShowsDashesWhenTheLastLapIsMissing) {
    DriverRecord driver(3, "Ola Nyberg", 0xFF);
    const DriverTexts texts = MakeDriverTexts(driver);
    EXPECT_EQ(texts.name, "Ola Nyberg");
    EXPECT_EQ(texts.raceTime, "------------");
    EXPECT_EQ(texts.fastestLap, "-:--.---");
    EXPECT_EQ(texts.laps, "-1");
}

} // namespace
