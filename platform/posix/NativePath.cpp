#include "platform/NativePath.h"

std::filesystem::path NativePath(const std::string& name) {
    return std::filesystem::path(name);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}
