#pragma once

#include "data/Prompt.h"

#include <deque>
#include <string>
#include <vector>

// Records every message the loader shows and answers its questions from a script.
class ScriptedPrompt : public IPrompt {
public:
    struct Message {
        std::string text;
        unsigned style;
        bool operator==(const Message&) const = default;
    };

    ScriptedPrompt() = default;
    explicit ScriptedPrompt(std::deque<int> answers) : m_answers(std::move(answers)) {}

    // Questions (MB_YESNO) take the next scripted answer, IDNO once the script is used up;
    // every other message is acknowledged with IDOK.
    int MessageBox(const std::string& text, unsigned style) override;

    std::vector<Message> messages;

private:
    std::deque<int> m_answers;
};
