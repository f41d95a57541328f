#pragma once

// Whether Caps Lock, Num Lock and Scroll Lock are on, read from the keyboard where the platform
// tells it (X11 with XKB, Windows); elsewhere all are off.

struct KeyboardLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

KeyboardLocks ReadKeyboardLocks();
