// Saving the main window's settings when it is asked to close. Each value is written on its own; a
// write that fails is skipped without a word.
#include "desktop/show_error.h"
#include "registry.h"
#include "setting_forms.h"
#include "main/settings_key.h"
#include "window/window_place.h"
#include "main/frm_main.h"

namespace {

void store(const std::string &name, const std::string &text) {
    ignoringErrors([&] { Registry::setKeyValue(settingsKey, name, text); });
}

// A minimized window's edges say nothing about where it was: the stored place stays.
void storePosition(HWND window) {
    if (IsIconic(window))
        return;
    const TwipsRect frame = windowFrameTwips(window);
    store(settingName::Top, std::to_string(wholeTwips(frame.top)));
    store(settingName::Left, std::to_string(wholeTwips(frame.left)));
}

} // namespace

void FrmMain::saveSettings() {
    ignoringErrors([&] { storePosition(hwnd()); });
    store(settingName::OperationClip, yesNoText(optClipboard.value()));
    store(settingName::OperationSingle, yesNoText(optSingle.value()));
    store(settingName::OperationMultiple, yesNoText(optMultiple.value()));
    store(settingName::FixedTABS, yesNoText(optFixedTABS.value()));
    store(settingName::FixedSpaces, yesNoText(optFixedSpaces.value()));
    store(settingName::SourceS, txtSource.text());
    store(settingName::DestinationS, txtDest.text());
    store(settingName::SourceM, txtMultipleFilesPath.text());
    store(settingName::DestinationM, txtMultipleFilesDestinationPath.text());
    store(settingName::SpacesToUse, txtSpacesToUse.text());
    store(settingName::LastExtension, std::to_string(Combo1.listIndex()));
    store(settingName::Startup, "True");
}
