// Ctrl+C, Ctrl+Break and the closing of its console, as the console program hears them: the run stops
// after the file in hand, and the process ends with 130 instead of being ended at once with
// 0xC000013A halfway through a replace.
#pragma once

namespace consoleControl {

// Installs the handler. Closing the console ends the process when the handler returns (the logoff and
// shutdown signals reach services only): the handler waits first for runEnded(), within the few
// seconds the system gives it.
void install();
// Whether a stop was asked; the run asks between files.
bool stopRequested();
// The run has put its last file in place or left it.
void runEnded();

} // namespace consoleControl
