#include "console/console_control.h"

#include "win.h"

#include <atomic>

namespace {

// Set by the handler, read by the run between files. The handler runs on a thread the system makes for
// it, so the two meet only through these: a handler cannot be handed an object.
std::atomic<bool> stopAsked{false};
HANDLE runEndedEvent = nullptr;

BOOL WINAPI onConsoleControl(DWORD event) {
    stopAsked = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(runEndedEvent, 4000);
    return TRUE;
}

} // namespace

namespace consoleControl {

void install() {
    runEndedEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

bool stopRequested() { return stopAsked.load(); }

void runEnded() {
    if (runEndedEvent) SetEvent(runEndedEvent);
}

} // namespace consoleControl
