#pragma once

#include "framework/Prompter.h"

// Installs a scripted prompter for the life of a test.
class ScopedPrompter : public ScriptedPrompter {
public:
    ScopedPrompter() { AfxSetPrompter(this); }
    ~ScopedPrompter() override { AfxSetPrompter(nullptr); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;
};
