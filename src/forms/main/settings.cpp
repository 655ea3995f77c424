// The main window's settings: restored from the registry at load, saved at close.
#include "appdata.h"
#include "desktop/show_error.h"
#include "folders.h"
#include "main/frm_main.h"
#include "main/settings_key.h"
#include "path_text.h"
#include "registry.h"
#include "setting_forms.h"
#include "window/window_place.h"
#include "write_probe.h"

namespace {

std::string stored(const std::string &name) { return Registry::getKeyValue(settingsKey, name); }

// True when the stored place was taken and keeps the window on the screen.
bool placeAtStoredPosition(HWND window) {
    if (!yesNoFromText(stored(settingName::Startup)).value_or(false)) return false;
    ignoringErrors([&] {
        if (auto top = positionFromText(stored(settingName::Top))) setWindowTopTwips(window, *top);
    });
    ignoringErrors([&] {
        if (auto left = positionFromText(stored(settingName::Left))) setWindowLeftTwips(window, *left);
    });
    const TwipsRect frame = windowFrameTwips(window);
    // A stored place on no monitor any more would leave the window out of reach.
    return frame.top >= 0 && frame.left >= 0 && onSomeMonitor(window);
}

void centreOnScreen(HWND window) {
    const TwipsRect frame = windowFrameTwips(window);
    setWindowLeftTwips(window, centredEdge(screenWidthTwips(), frame.width));
    setWindowTopTwips(window, centredEdge(screenHeightTwips(), frame.height));
}

void restoreSpaces(TextBox &box) {
    box.setText(cutToTwo(stored(settingName::SpacesToUse)));
    if (box.text() == "Er") box.setText("8");
}

void restoreOption(OptionButton &option, const std::string &name) {
    if (auto selected = yesNoFromText(stored(name))) option.setValue(*selected);
}

void restorePath(TextBox &box, const std::string &name) {
    box.setText(stored(name));
    if (box.text() == Registry::readFailure) box.setText(placeholderText);
}

void selectStoredExtension(FrmMain &frm) {
    const auto index = extensionIndexFromText(stored(settingName::LastExtension), frm.Combo1.listCount());
    if (index && frm.Combo1.setListIndex(*index)) frm.Combo1_Click();
}

void selectFirstExtensionWhenNone(FrmMain &frm) {
    if (frm.Combo1.listIndex() != -1) return;
    if (frm.Combo1.setListIndex(0)) frm.Combo1_Click();
}

void keepOnlyReadableSource(TextBox &box) {
    if (!fileExists(box.text())) box.setText(placeholderText);
}

void keepOnlyDestinationInExistingFolder(TextBox &box) {
    if (!DirExists(filePart(box.text(), pathPart::folder))) box.setText(placeholderText);
}

void keepOnlySourceFolderWithFiles(FrmMain &frm) {
    frm.countFILES();
    if (frm.List1.listCount() == 0) frm.txtMultipleFilesPath.setText(placeholderText);
}

void keepOnlyExistingFolder(TextBox &box) {
    if (!DirExists(box.text())) box.setText(placeholderText);
}

void keepOnlyWritableFolder(TextBox &box) {
    if (probeFolderForWriting(box.text()) == ProbeResult::AccessRefused) box.setText(placeholderText);
}

} // namespace

void FrmMain::restoreSettings() {
    ignoringErrors([&] { Registry::createKey(settingsKey); });
    ignoringErrors([&] {
        if (!placeAtStoredPosition(hwnd())) centreOnScreen(hwnd());
    });
    ignoringErrors([&] { restoreSpaces(txtSpacesToUse); });
    // In this order, so that in a group the last stored yes wins.
    ignoringErrors([&] { restoreOption(optClipboard, settingName::OperationClip); });
    ignoringErrors([&] { restoreOption(optSingle, settingName::OperationSingle); });
    ignoringErrors([&] { restoreOption(optMultiple, settingName::OperationMultiple); });
    ignoringErrors([&] { restoreOption(optFixedTABS, settingName::FixedTABS); });
    ignoringErrors([&] { restoreOption(optFixedSpaces, settingName::FixedSpaces); });
    ignoringErrors([&] { highlightOperation(); });
    ignoringErrors([&] { LoadComboFromFile(Combo1, appDataFolder(programFolder()) + "extensions.txt"); });
    ignoringErrors([&] { selectStoredExtension(*this); });
    ignoringErrors([&] { selectFirstExtensionWhenNone(*this); });
    ignoringErrors([&] { ProgressBar1.setValue(0); });
    ignoringErrors([&] { restorePath(txtSource, settingName::SourceS); });
    ignoringErrors([&] { restorePath(txtDest, settingName::DestinationS); });
    ignoringErrors([&] { restorePath(txtMultipleFilesPath, settingName::SourceM); });
    ignoringErrors([&] { restorePath(txtMultipleFilesDestinationPath, settingName::DestinationM); });
    ignoringErrors([&] { keepOnlyReadableSource(txtSource); });
    ignoringErrors([&] { keepOnlyDestinationInExistingFolder(txtDest); });
    ignoringErrors([&] { keepOnlySourceFolderWithFiles(*this); });
    ignoringErrors([&] { keepOnlyExistingFolder(txtMultipleFilesDestinationPath); });
    ignoringErrors([&] { keepOnlyWritableFolder(txtMultipleFilesDestinationPath); });
}

namespace {

void store(const std::string &name, const std::string &text) {
    ignoringErrors([&] { Registry::setKeyValue(settingsKey, name, text); });
}

// A minimized window's edges say nothing about where it was: the stored place stays.
void storePosition(HWND window) {
    if (IsIconic(window)) return;
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
