#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A file name inside the program is a std::string: the bytes the system gives on POSIX systems,
// which need not be text in any encoding, and UTF-8 on Windows, whose names are UTF-16.

// Whether a name may hold bytes that are not text; the GUI then keeps them through its dialogs.
#ifdef _WIN32
constexpr bool kFileNamesAreBytes = false;
#else
constexpr bool kFileNamesAreBytes = true;
#endif

// The name as the system's file calls and std::filesystem take it.
std::filesystem::path NativePath(const std::string& name);

// The program's arguments as names of the form above; on Windows read again from the wide
// command line, since argv holds them in the local code page, which may not spell them.
std::vector<std::string> ProgramArguments(int argc, char** argv);
