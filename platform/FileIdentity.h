#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The same file however it is named (links, "./" and other spellings): device and inode on POSIX
// systems, volume serial number and file index on Windows.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Empty when the name gives no file that can be looked at.
std::optional<FileIdentity> IdentifyFile(const std::string& name);
