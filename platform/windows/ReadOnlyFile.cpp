#include "platform/ReadOnlyFile.h"

#include "platform/NativePath.h"

#include <array>
#include <cerrno>
#include <windows.h>

namespace {

struct ErrorPair {
    DWORD system;
    int error;
};
// The system's codes that have a file error text of their own; any other is EINVAL, the generic one.
constexpr std::array kErrorPairs = {
    ErrorPair{ERROR_FILE_NOT_FOUND, ENOENT},
    ErrorPair{ERROR_PATH_NOT_FOUND, ENOTDIR},
    ErrorPair{ERROR_INVALID_NAME, ENOTDIR},
    ErrorPair{ERROR_BAD_PATHNAME, ENOTDIR},
    ErrorPair{ERROR_INVALID_DRIVE, ENOTDIR},
    ErrorPair{ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    ErrorPair{ERROR_TOO_MANY_OPEN_FILES, EMFILE},
    ErrorPair{ERROR_ACCESS_DENIED, EACCES},
    ErrorPair{ERROR_SHARING_VIOLATION, EBUSY},
    ErrorPair{ERROR_LOCK_VIOLATION, EBUSY},
    ErrorPair{ERROR_READ_FAULT, EIO},
    ErrorPair{ERROR_CRC, EIO},
    ErrorPair{ERROR_DISK_FULL, ENOSPC},
    ErrorPair{ERROR_HANDLE_DISK_FULL, ENOSPC},
};

int ErrnoOf(DWORD system) {
    for (const ErrorPair& pair : kErrorPairs)
        if (pair.system == system)
            return pair.error;
    return EINVAL;
}

HANDLE Handle(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

void ReadOnlyFile::Close() {
    if (m_native != -1)
        ::CloseHandle(Handle(m_native));
    m_native = -1;
}

int ReadOnlyFile::Open(const std::string& name) {
    Close();
    const std::wstring path = NativePath(name).wstring();
    // Others may go on writing, renaming and deleting: a race file is read while the game writes it.
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // A folder cannot be opened as a file and only says access was denied.
        return error == ERROR_ACCESS_DENIED && IsFolder(path) ? EISDIR : ErrnoOf(error);
    }
    // Pipes and consoles may never end; only files on a disk are race files.
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return EACCES;
    }
    m_native = reinterpret_cast<std::intptr_t>(file);
    return 0;
}

std::int64_t ReadOnlyFile::Read(void* buffer, std::uint32_t count) {
    auto* at = static_cast<unsigned char*>(buffer);
    std::uint32_t done = 0;
    while (done < count) {
        DWORD got = 0;
        if (!::ReadFile(Handle(m_native), at + done, count - done, &got, nullptr))
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

std::int64_t ReadOnlyFile::SeekFromCurrent(std::int64_t offset) {
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    if (!::SetFilePointerEx(Handle(m_native), distance, &position, FILE_CURRENT))
        return -1;
    return position.QuadPart;
}

std::optional<std::uint64_t> ReadOnlyFile::Size() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Handle(m_native), &size))
        return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}
