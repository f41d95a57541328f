#include "platform/FontWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#ifdef TARMIO_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontWarmUp::FontWarmUp() {
    m_loader = std::thread([this] {
#ifdef TARMIO_HAVE_FONTCONFIG
        // Fontconfig publishes its configuration atomically: if Qt asks first, both load and one
        // configuration is kept, so an early question costs time, never correctness.
        FcInit();
#endif
        m_qtStarted.acquire();
        // Qt's font database is shared by all threads and filled once, under its own lock.
        if (m_fillDatabase)
            QFontDatabase::families();
    });
}

FontWarmUp::~FontWarmUp() {
    Wait();
}

void FontWarmUp::FillFontDatabase() {
    if (m_fillDatabase || !m_loader.joinable())
        return;
    m_fillDatabase = true;
    m_qtStarted.release();
}

void FontWarmUp::Wait() {
    if (!m_loader.joinable())
        return;
    if (!m_fillDatabase)
        m_qtStarted.release();
    m_loader.join();
}
