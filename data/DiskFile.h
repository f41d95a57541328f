#pragma once

#include "FileErrors.h"
#include "RaceFile.h"
#include "platform/ReadOnlyFile.h"

#include <cstdint>
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
    ReadOnlyFile m_file;
    std::uint64_t m_position = 0;
};
