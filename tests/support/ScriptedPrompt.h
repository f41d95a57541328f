#pragma once

#include "common/Prompt.h"

#include <deque>
#include <string>
#include <vector>

// Records every message shown and answers the questions from a script. A box with a choice takes
// the next scripted answer, its default button once the script is used up; an OK box gets IDOK.
class ScriptedPrompt : public IPrompt {
public:
    struct Message {
        std::string text;
        unsigned style = 0;
        bool operator==(const Message&) const = default;
    };

    ScriptedPrompt() = default;
    explicit ScriptedPrompt(std::deque<int> answers) : messageAnswers(std::move(answers)) {}

    int MessageBox(const std::string& text, unsigned style) override;

    std::deque<int> messageAnswers;
    std::vector<Message> messages;
};
