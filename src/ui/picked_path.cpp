#include "ui/picked_path.h"
#include "app/appdata.h"
#include "run/path_checks.h"
#include "run/path_text.h"
#include "ui/frm_main.h"

std::string trimBlanks(const std::string &text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool sameAsOtherBox(const std::string &lowerCasedChoice, const std::string &otherBoxText) {
    return trimBlanks(otherBoxText) == lowerCasedChoice;
}

std::string fileDialogStartFolder(const std::string &boxText) {
    std::string start = appDataFolder(programFolder());
    if (boxText == placeholderText) return start;
    const std::string folder = filePart(boxText, pathPart::folder);
    if (DirExists(folder)) start = folder;
    return start;
}
