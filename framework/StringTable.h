#pragma once

#include "framework/Afx.h"

#include <QString>
#include <span>

// One entry of the program's string resources (prompts, idle text, document strings).
struct StringResource {
    UINT id;
    const char* text;
};

// The program hands its string table over once at start-up; the framework looks texts up in it.
void AfxSetStringTable(std::span<const StringResource> table);
// The string with this id, or an empty string when there is none.
QString AfxLoadString(UINT nID);
