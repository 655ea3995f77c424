// Shows the program's one error message, and applies a procedure's error policy.
#pragma once

#include "app_error.h"
#include "error_message.h"

#include <exception>
#include <new>

void showErrorMessage(const AppError &error, const std::string &procedureLine,
                      std::string_view closingText = closing::standard);

// What reached a handler, as the error value (memory and unknown failures get their numbers).
AppError caughtError(std::exception_ptr caught);

// Raised between two files of a run when the main window was asked to close meanwhile: it ends every
// procedure of the run without a word, up to the run button, which then lets the window close.
struct RunStopped {};

// Standard policy: run the procedure; on any failure show the message with its procedure line and
// end the procedure. Returns false when the procedure ended through its handler. A stopped run is
// no failure of the procedure and passes on.
template <class Body> bool guarded(const std::string &procedureLine, Body &&body) {
    try {
        body();
        return true;
    } catch (const RunStopped &) {
        throw;
    } catch (...) {
        showErrorMessage(caughtError(std::current_exception()), procedureLine);
        return false;
    }
}

// Ignore policy: a failing step is skipped without a word.
template <class Body> void ignoringErrors(Body &&body) noexcept {
    try {
        body();
    } catch (...) {
    }
}
