#include "platform/NativePath.h"

#include <windows.h>

namespace {

std::wstring Widen(const std::string& name) {
    if (name.empty())
        return {};
    const int size = static_cast<int>(name.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, name.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const wchar_t* wide) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string name(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, name.data(), length, nullptr, nullptr);
    name.pop_back(); // the terminating zero
    return name;
}

} // namespace

std::filesystem::path NativePath(const std::string& name) {
    return std::filesystem::path(Widen(name));
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int at = 0; at < count; ++at)
        arguments.push_back(Narrow(wide[at]));
    ::LocalFree(wide);
    return arguments;
}
