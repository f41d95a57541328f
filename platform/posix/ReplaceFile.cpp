#include "platform/ReplaceFile.h"

#include <cstdio>
#include <sys/stat.h>

bool ReplaceFileWith(const std::string& temporary, const std::string& target) {
    // Temporary files are made private; the result gets what the user's umask gives new files.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::chmod(temporary.c_str(), 0666 & ~mask) == 0 &&
           std::rename(temporary.c_str(), target.c_str()) == 0;
}
