#pragma once

// Whether Caps Lock, Num Lock and Scroll Lock are on, read from the keyboard's indicators where
// the platform tells them (X11 with XKB); elsewhere nothing is known.

#include <optional>

struct KeyboardLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const KeyboardLocks&) const = default;
};

std::optional<KeyboardLocks> ReadKeyboardLocks();
