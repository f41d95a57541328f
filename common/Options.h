#pragma once

// The Options menu's bits. The application keeps them and saves them; the chart reads them here,
// so that it needs nothing of the application (the command-line tool draws it without one).

constexpr int kOptionFlickerFree = 1;
constexpr int kOptionAutoZoom = 2;
constexpr int kDefaultOptions = kOptionFlickerFree | kOptionAutoZoom;

// Where the running application keeps its option bits; null without one.
inline const int*& TarmioOptionsSource() {
    static const int* source = nullptr;
    return source;
}

// The option bits of the running application, or the defaults without one.
inline int AfxGetTarmioOptions() {
    const int* options = TarmioOptionsSource();
    return options != nullptr ? *options : kDefaultOptions;
}
