#pragma once

#include "FileErrors.h"
#include "RaceFile.h"

#include <cstdint>
#include <optional>
#include <string>

// A file on disk opened for reading only. Opening or reading it raises FileException.
class DiskFile : public IRaceFile {
public:
    explicit DiskFile(std::string path);
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;
    ~DiskFile() override;

    std::uint32_t Read(void* buffer, std::uint32_t count) override;
    std::uint64_t Seek(std::int64_t offset) override;
    std::uint64_t GetPosition() const override { return m_position; }
    bool GetStatus(std::uint64_t& size) override;

    const std::string& GetFilePath() const { return m_path; }

private:
    [[noreturn]] void Fail(int error) const;

    std::string m_path;
    int m_descriptor = -1;
    std::uint64_t m_position = 0;
};

// The same file however it is named (links, "./" and other spellings) has one device and inode.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Empty when the path names no file that can be looked at.
std::optional<FileIdentity> IdentifyFile(const std::string& path);
