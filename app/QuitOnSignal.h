#pragma once

// Makes SIGTERM, SIGINT and SIGHUP end the event loop the normal way, so that the exit steps
// (settings written, views destroyed) run as after closing the window.
void QuitEventLoopOnTerminationSignals();
