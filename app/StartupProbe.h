#pragma once

// Start-up measured from outside: with TARMIO_EXIT_AFTER_FIRST_PAINT set, the program ends as
// soon as its first window has painted, after printing on standard output
//   first-paint-ns=N max-rss-kb=M
// N on the monotonic clock, so the caller subtracts the moment it started the process; M the
// peak resident memory. bench/startup measures the viewer and a bare Qt window this way.
//
// Call once the QApplication exists; without the variable nothing happens.
void ExitAfterFirstPaintWhenAsked();
