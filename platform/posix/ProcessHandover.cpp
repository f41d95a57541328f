#include "platform/ProcessHandover.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

std::optional<std::filesystem::path> OwnExecutable() {
    // Linux names the running program here; other systems need their own way.
    std::error_code error;
    std::filesystem::path own = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    return own;
}

std::string RunInPlaceOfThisProcess(const std::filesystem::path& program,
                                    const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    return std::strerror(errno);
}
