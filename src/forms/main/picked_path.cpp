#include "main/picked_path.h"
#include "appdata.h"
#include "path_checks.h"
#include "path_text.h"
#include "trim_spaces.h"
#include "main/frm_main.h"

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
