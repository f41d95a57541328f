#include "platform/KeyboardLockState.h"

#include <windows.h>

KeyboardLocks ReadKeyboardLocks() {
    // The low bit of a lock key's state is its toggle.
    const auto on = [](int key) { return (::GetKeyState(key) & 1) != 0; };
    return KeyboardLocks{on(VK_CAPITAL), on(VK_NUMLOCK), on(VK_SCROLL)};
}
