#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A plain file opened for reading with the system's own calls, so that a pipe or a device is
// refused at once instead of waiting for a writer. Failures are errno values on every system
// (Windows' own codes are mapped to them), for the one table of file error texts.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    // 0 once open; EISDIR for a folder and EACCES for anything else that is not a plain file.
    int Open(const std::string& name);
    // Bytes read, fewer than count only at the end of the file; -1 when reading failed.
    std::int64_t Read(void* buffer, std::uint32_t count);
    // The new position after moving by offset from the current one; -1 when it cannot move.
    std::int64_t SeekFromCurrent(std::int64_t offset);
    std::optional<std::uint64_t> Size() const;

private:
    void Close();

    // A descriptor on POSIX systems, a HANDLE on Windows; -1 is the invalid value of both.
    std::intptr_t m_native = -1;
};
