#include "DiskFile.h"

#include "platform/NativePath.h"

#include <filesystem>

DiskFile::DiskFile(std::string path) : m_path(std::move(path)) {
    if (const int error = m_file.Open(m_path); error != 0)
        Fail(error);
}

DiskFile::~DiskFile() = default;

void DiskFile::Fail(int error) const {
    FileErrorCause cause = FileErrorCauseFromErrno(error);
    // A missing folder on the way is a wrong path rather than a missing file.
    std::error_code ignored;
    const std::filesystem::path folder = NativePath(m_path).parent_path();
    if (cause == FileErrorCause::NotFound && !folder.empty() &&
        !std::filesystem::is_directory(folder, ignored))
        cause = FileErrorCause::BadPath;
    throw FileException(cause, m_path);
}

std::uint32_t DiskFile::Read(void* buffer, std::uint32_t count) {
    const std::int64_t done = m_file.Read(buffer, count);
    if (done < 0)
        throw FileException(FileErrorCause::ReadFault, m_path);
    m_position += static_cast<std::uint64_t>(done);
    return static_cast<std::uint32_t>(done);
}

std::uint64_t DiskFile::Seek(std::int64_t offset) {
    const std::int64_t position = m_file.SeekFromCurrent(offset);
    if (position < 0)
        throw FileException(FileErrorCause::BadSeek, m_path);
    m_position = static_cast<std::uint64_t>(position);
    return m_position;
}

bool DiskFile::GetStatus(std::uint64_t& size) {
    const std::optional<std::uint64_t> now = m_file.Size();
    if (now)
        size = *now;
    return now.has_value();
}
