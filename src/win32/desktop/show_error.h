// Shows the program's one error message, and applies a procedure's error policy.
#pragma once

#include "app_error.h"
#include "desktop/desktop.h"
#include "error_message.h"

#include <exception>
#include <new>

void showErrorMessage(Desktop &desktop, const AppError &error, const std::string &procedureLine,
                      std::string_view closingText = closing::standard);

// Standard policy: run the procedure; on any failure show the message with its procedure line and
// end the procedure. Returns false when the procedure ended through its handler.
template <class Body> bool guarded(Desktop &desktop, const std::string &procedureLine, Body &&body) {
    try {
        body();
        return true;
    } catch (...) {
        showErrorMessage(desktop, caughtError(std::current_exception()), procedureLine);
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
