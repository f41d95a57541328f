#pragma once

// Whether Caps Lock, Num Lock and Scroll Lock are on, read from the keyboard's indicators where
// the platform tells them (X11 with XKB); elsewhere all are off.

struct KeyboardLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

KeyboardLocks ReadKeyboardLocks();
