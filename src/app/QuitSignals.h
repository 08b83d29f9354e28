#pragma once

namespace orva {

// Makes SIGTERM, SIGINT and SIGHUP quit the application the way closing its
// window does: the windows close, the application quits, and everything that
// ends with it ends (the `claude` it runs, the terminal's shell). Without
// this, the signal would end the process at once and leave those children
// running. Call once, on the main thread, after the application object exists.
void quitOnTerminationSignals();

} // namespace orva
