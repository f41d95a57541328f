#pragma once

#include <string>
#include <string_view>

// A JSON string literal of text from the files: every byte outside printable ASCII becomes
// \u00XX of that byte, so the output stays valid JSON whatever the encoding was.
std::string JsonString(std::string_view text);
