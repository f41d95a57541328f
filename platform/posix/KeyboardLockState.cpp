#include "platform/KeyboardLockState.h"

#include <QGuiApplication>

#ifdef TARMIO_HAVE_XKB
// After Qt: the X headers define macros (KeyPress, Bool, None) that clash with Qt's names.
#include <X11/XKBlib.h>

namespace {
// The indicator's bit in the state mask, or 0 when the keyboard has no indicator of that name.
unsigned IndicatorBit(Display* display, const char* name) {
    int index = -1;
    const Atom atom = XInternAtom(display, name, False);
    if (atom == 0 || !XkbGetNamedIndicator(display, atom, &index, nullptr, nullptr, nullptr) || index < 0 ||
        index >= XkbNumIndicators)
        return 0;
    return 1u << index;
}
} // namespace

KeyboardLocks ReadKeyboardLocks() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr)
        return {};
    // Indicator names are the keyboard's; looked up once per display.
    static Display* namedFor = nullptr;
    static unsigned capsBit = 0, numBit = 0, scrollBit = 0;
    if (namedFor != display) {
        capsBit = IndicatorBit(display, "Caps Lock");
        numBit = IndicatorBit(display, "Num Lock");
        scrollBit = IndicatorBit(display, "Scroll Lock");
        namedFor = display;
    }
    unsigned state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success)
        return {};
    return KeyboardLocks{(state & capsBit) != 0, (state & numBit) != 0, (state & scrollBit) != 0};
}

#else

KeyboardLocks ReadKeyboardLocks() {
    return {};
}

#endif
