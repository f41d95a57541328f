#pragma once

#include <thread>

// Loads the system's font configuration on another core while Qt connects to the display. The
// window's first text would otherwise wait for it on the main thread: on Linux that is parsing
// every fontconfig file and reading the font caches. Where Qt does not use fontconfig, nothing
// is started.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    // Waits for the load, so that the process never ends or forks in the middle of it.
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    void Wait();

private:
    std::thread m_loader;
};
