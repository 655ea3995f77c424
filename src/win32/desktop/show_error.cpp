#include "desktop/show_error.h"

void showErrorMessage(Desktop &desktop, const AppError &error, const std::string &procedureLine,
                      std::string_view closingText) {
    MessageBoxRequest request;
    request.owner = GetActiveWindow();
    request.text = standardErrorText(error.number, error.description, procedureLine, closingText);
    request.title = "Error";
    request.style = MB_OK;
    desktop.messageBox(request);
}

AppError caughtError(std::exception_ptr caught) {
    try {
        std::rethrow_exception(caught);
    } catch (const AppError &error) {
        return error;
    } catch (const std::bad_alloc &) {
        return AppError::of(err::OutOfMemory);
    } catch (...) {
        return AppError::of(err::Unexpected);
    }
}
