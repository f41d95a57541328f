#pragma once

#include <string>

// Message box styles and answers, with the platform's values.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Where the loader shows its messages and asks its question: message boxes in the program,
// scripted answers in tests and in the command-line tool.
class IPrompt {
public:
    virtual ~IPrompt() = default;
    // Shows text modally with the given style; returns the answer (IDOK, IDYES, IDNO ...).
    virtual int MessageBox(const std::string& text, unsigned style) = 0;
};
