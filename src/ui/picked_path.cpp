#include "ui/picked_path.h"
#include "app/appdata.h"
#include "run/path_checks.h"
#include "run/path_text.h"
#include "run/trim_spaces.h"
#include "ui/frm_main.h"

bool sameAsOtherBox(const std::string &lowerCasedChoice, const std::string &otherBoxText) {
    return trimSpaces(otherBoxText) == lowerCasedChoice;
}

std::string fileDialogStartFolder(const std::string &boxText) {
    std::string start = appDataFolder(programFolder());
    if (boxText == placeholderText) return start;
    const std::string folder = filePart(boxText, pathPart::folder);
    if (DirExists(folder)) start = folder;
    return start;
}
