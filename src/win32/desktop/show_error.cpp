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
