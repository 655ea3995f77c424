// SIGINT and SIGTERM as the console program hears them, as Ctrl+C on Windows: the run stops after the
// file in hand, which is put in place or left untouched, and the process ends with 130 instead of
// being ended halfway through a replace. SIGPIPE is ignored, so that an output whose reader has gone
// is a write that fails with EPIPE, which the program handles.
#pragma once

namespace stopSignals {

// Installs the handlers, without SA_RESTART (a signal that the program was started with ignored, as a
// shell starts background jobs, stays ignored); true when every one was installed.
bool install();
// Whether a stop was asked; the run asks between files.
bool stopRequested();
// A descriptor that becomes readable once a stop is asked (and stays so), for a wait that an
// interrupt must end whichever thread the signal reached; -1 before install().
int wakeDescriptor();

} // namespace stopSignals
