#include "platform/FileIdentity.h"

#include <sys/stat.h>

std::optional<FileIdentity> IdentifyFile(const std::string& name) {
    struct stat status {};
    if (::stat(name.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}
