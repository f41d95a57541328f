#include "ScriptedPrompt.h"

int ScriptedPrompt::MessageBox(const std::string& text, unsigned style) {
    messages.push_back({text, style});
    if ((style & MB_TYPEMASK) == MB_OK)
        return IDOK;
    if (messageAnswers.empty())
        return DefaultMessageBoxAnswer(style);
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}
