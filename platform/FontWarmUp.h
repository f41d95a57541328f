#pragma once

#include <semaphore>
#include <thread>

// Loads the system's fonts on another core while the program starts: fontconfig's configuration
// while Qt connects to the display, then Qt's font database while the window is built. The
// window's first text would otherwise wait for both on the main thread.
class FontWarmUp {
public:
    // Starts on the configuration; before Qt, so that it overlaps Qt's own start.
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Qt's application object exists: its font database can be filled.
    void FillFontDatabase();
    // Waits for the loads; call it before the application object ends.
    void Wait();

private:
    std::binary_semaphore m_qtStarted{0};
    bool m_fillDatabase = false;
    std::thread m_loader;
};
