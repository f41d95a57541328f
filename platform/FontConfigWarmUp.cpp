#include "platform/FontConfigWarmUp.h"

#ifdef TARMIO_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontConfigWarmUp::FontConfigWarmUp() {
#ifdef TARMIO_HAVE_FONTCONFIG
    // Fontconfig publishes its configuration atomically: if Qt asks first, both load and one
    // configuration is kept, so an early question costs time, never correctness.
    m_loader = std::thread([] { FcInit(); });
#endif
}

FontConfigWarmUp::~FontConfigWarmUp() {
    Wait();
}

void FontConfigWarmUp::Wait() {
    if (m_loader.joinable())
        m_loader.join();
}
