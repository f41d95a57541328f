#include "platform/FileIdentity.h"

#include "platform/NativePath.h"

#include <windows.h>

std::optional<FileIdentity> IdentifyFile(const std::string& name) {
    // No access asked: the identity of a file that may not be read is still known. Folders need
    // the backup flag to be opened at all.
    const HANDLE file =
        ::CreateFileW(NativePath(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = ::GetFileInformationByHandle(file, &information) != 0;
    ::CloseHandle(file);
    if (!known)
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}
