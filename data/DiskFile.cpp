#include "DiskFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

DiskFile::DiskFile(std::string path) : m_path(std::move(path)) {
    // Without O_NONBLOCK, opening a pipe would wait for a writer forever.
    do
        m_descriptor = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (m_descriptor < 0 && errno == EINTR);
    if (m_descriptor < 0)
        Fail(errno);
    struct stat status {};
    int error = 0;
    if (::fstat(m_descriptor, &status) != 0)
        error = errno;
    else if (S_ISDIR(status.st_mode))
        error = EISDIR;
    else if (!S_ISREG(status.st_mode))
        error = EACCES; // pipes and devices may never end; only plain files are race files
    else if (::fcntl(m_descriptor, F_SETFL, ::fcntl(m_descriptor, F_GETFL) & ~O_NONBLOCK) != 0)
        error = errno;
    if (error != 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
        Fail(error);
    }
}

DiskFile::~DiskFile() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void DiskFile::Fail(int error) const {
    FileErrorCause cause = FileErrorCauseFromErrno(error);
    // A missing folder on the way is a wrong path rather than a missing file.
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    if (cause == FileErrorCause::NotFound && !folder.empty() &&
        !std::filesystem::is_directory(folder, ignored))
        cause = FileErrorCause::BadPath;
    throw FileException(cause, m_path);
}

std::uint32_t DiskFile::Read(void* buffer, std::uint32_t count) {
    auto* at = static_cast<unsigned char*>(buffer);
    std::uint32_t done = 0;
    // A read may deliver less than asked before the end; only 0 means the end.
    while (done < count) {
        const ssize_t got = ::read(m_descriptor, at + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileException(FileErrorCause::ReadFault, m_path);
        if (got == 0)
            break;
        done += static_cast<std::uint32_t>(got);
    }
    m_position += done;
    return done;
}

std::uint64_t DiskFile::Seek(std::int64_t offset) {
    const off_t position = ::lseek(m_descriptor, static_cast<off_t>(offset), SEEK_CUR);
    if (position < 0)
        throw FileException(FileErrorCause::BadSeek, m_path);
    m_position = static_cast<std::uint64_t>(position);
    return m_position;
}

bool DiskFile::GetStatus(std::uint64_t& size) {
    struct stat status {};
    if (::fstat(m_descriptor, &status) != 0)
        return false;
    size = static_cast<std::uint64_t>(status.st_size);
    return true;
}

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}
