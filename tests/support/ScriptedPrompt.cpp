#include "ScriptedPrompt.h"

int ScriptedPrompt::MessageBox(const std::string& text, unsigned style) {
    messages.push_back({text, style});
    if ((style & 0xF) != MB_YESNO)
        return IDOK;
    if (m_answers.empty())
        return IDNO;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
