#pragma once

#include <string>
#include <vector>

// Message box styles and answers, with the platform's values.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_TYPEMASK = 0xF;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONHAND = MB_ICONSTOP;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_ICONMASK = 0xF0;
constexpr unsigned MB_DEFBUTTON1 = 0x000;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr unsigned MB_DEFMASK = 0xF00;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The answers a style offers, in button order.
inline std::vector<int> MessageBoxAnswers(unsigned style) {
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

// The answer the style's default-button bits pick; the platform falls back to the first button
// when the style names one that is not there.
inline int DefaultMessageBoxAnswer(unsigned style) {
    const std::vector<int> answers = MessageBoxAnswers(style);
    const std::size_t defaultButton = (style & MB_DEFMASK) >> 8;
    return defaultButton < answers.size() ? answers[defaultButton] : answers.front();
}

// Where the loader shows its messages and asks its question: message boxes in the program,
// scripted answers in tests and in the command-line tool.
class IPrompt {
public:
    virtual ~IPrompt() = default;
    // Shows text modally with the given style; returns the answer (IDOK, IDYES, IDNO ...).
    virtual int MessageBox(const std::string& text, unsigned style) = 0;
};
