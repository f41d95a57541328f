#include "platform/ReadOnlyFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int Descriptor(std::intptr_t native) {
    return static_cast<int>(native);
}
} // namespace

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

void ReadOnlyFile::Close() {
    if (m_native >= 0)
        ::close(Descriptor(m_native));
    m_native = -1;
}

int ReadOnlyFile::Open(const std::string& name) {
    Close();
    int descriptor = -1;
    // Without O_NONBLOCK, opening a pipe would wait for a writer forever.
    do
        descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return errno;
    struct stat status {};
    int error = 0;
    if (::fstat(descriptor, &status) != 0)
        error = errno;
    else if (S_ISDIR(status.st_mode))
        error = EISDIR;
    else if (!S_ISREG(status.st_mode))
        error = EACCES; // pipes and devices may never end
    else if (::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0)
        error = errno;
    if (error != 0) {
        ::close(descriptor);
        return error;
    }
    m_native = descriptor;
    return 0;
}

std::int64_t ReadOnlyFile::Read(void* buffer, std::uint32_t count) {
    auto* at = static_cast<unsigned char*>(buffer);
    std::uint32_t done = 0;
    // A read may deliver less than asked before the end; only 0 means the end.
    while (done < count) {
        const ssize_t got = ::read(Descriptor(m_native), at + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::uint32_t>(got);
    }
    return done;
}

std::int64_t ReadOnlyFile::SeekFromCurrent(std::int64_t offset) {
    const off_t position = ::lseek(Descriptor(m_native), static_cast<off_t>(offset), SEEK_CUR);
    return position < 0 ? -1 : static_cast<std::int64_t>(position);
}

std::optional<std::uint64_t> ReadOnlyFile::Size() const {
    struct stat status {};
    if (::fstat(Descriptor(m_native), &status) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}
