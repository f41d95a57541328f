#include "platform/ProcessHandover.h"

#include "platform/NativePath.h"

#include <cstdlib>
#include <process.h>
#include <system_error>
#include <windows.h>

std::optional<std::filesystem::path> OwnExecutable() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return std::nullopt;
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name);
        }
        name.resize(name.size() * 2);
    }
}

std::string RunInPlaceOfThisProcess(const std::filesystem::path& program,
                                    const std::vector<std::string>& arguments) {
    // _wspawnv joins the arguments with spaces: each is quoted, its quotes and the backslashes
    // before them escaped, so that the child's command line splits back into the same words.
    std::vector<std::wstring> quoted;
    for (const std::string& argument : arguments) {
        const std::wstring wide = NativePath(argument).wstring();
        std::wstring word = L"\"";
        std::size_t backslashes = 0;
        for (const wchar_t c : wide) {
            if (c == L'\\') {
                ++backslashes;
                continue;
            }
            word.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
            backslashes = 0;
            word += c;
        }
        word.append(backslashes * 2, L'\\');
        quoted.push_back(word + L"\"");
    }
    std::vector<const wchar_t*> argv;
    for (const std::wstring& word : quoted)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);
    const intptr_t status = _wspawnv(_P_WAIT, program.c_str(), argv.data());
    if (status == -1)
        return std::system_category().message(static_cast<int>(GetLastError()));
    std::exit(static_cast<int>(status));
}
