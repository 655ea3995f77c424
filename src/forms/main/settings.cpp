// The main window's settings: restored from the registry at load, saved at close.
#include "appdata.h"
#include "folders.h"
#include "main/frm_main.h"
#include "main/settings_key.h"
#include "path_text.h"
#include "registry.h"
#include "setting_forms.h"
#include "window/window_place.h"
#include "write_probe.h"

namespace {

// The settings as they were stored: each value's text, or "Error" when it cannot be read.
class StoredSettings {
public:
    explicit StoredSettings(const Registry &registry) : registry_(registry) {}
    std::string operator()(const std::string &name) const { return registry_.getKeyValue(settingsKey, name); }

private:
    const Registry &registry_;
};

// True when the stored place was taken and keeps the window on the screen.
bool placeAtStoredPosition(HWND window, const StoredSettings &stored) {
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

void restoreSpaces(TextBox &box, const StoredSettings &stored) {
    // A value that cannot be read keeps as much of "Error" as the box holds; that is no number, and
    // the box gets the default instead.
    const std::string kept = cutToTwo(stored(settingName::SpacesToUse));
    box.setText(kept == cutToTwo(Registry::readFailure) ? "8" : kept);
}

void restoreOption(OptionButton &option, const StoredSettings &stored, const std::string &name) {
    if (auto selected = yesNoFromText(stored(name))) option.setValue(*selected);
}

void restorePath(TextBox &box, const StoredSettings &stored, const std::string &name) {
    box.setText(stored(name));
    if (box.text() == Registry::readFailure) box.setText(placeholderText);
}

void selectStoredExtension(FrmMain &frm, const StoredSettings &stored) {
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
    const StoredSettings stored(registry_);
    ignoringErrors([&] { registry_.createKey(settingsKey); });
    ignoringErrors([&] {
        if (!placeAtStoredPosition(hwnd(), stored)) centreOnScreen(hwnd());
    });
    ignoringErrors([&] { restoreSpaces(txtSpacesToUse, stored); });
    // In this order, so that in a group the last stored yes wins.
    ignoringErrors([&] { restoreOption(optClipboard, stored, settingName::OperationClip); });
    ignoringErrors([&] { restoreOption(optSingle, stored, settingName::OperationSingle); });
    ignoringErrors([&] { restoreOption(optMultiple, stored, settingName::OperationMultiple); });
    ignoringErrors([&] { restoreOption(optFixedTABS, stored, settingName::FixedTABS); });
    ignoringErrors([&] { restoreOption(optFixedSpaces, stored, settingName::FixedSpaces); });
    ignoringErrors([&] { highlightOperation(); });
    ignoringErrors([&] { LoadComboFromFile(Combo1, appDataFolder(programFolder()) + dataFile::extensions); });
    ignoringErrors([&] { selectStoredExtension(*this, stored); });
    ignoringErrors([&] { selectFirstExtensionWhenNone(*this); });
    ignoringErrors([&] { ProgressBar1.setValue(0); });
    ignoringErrors([&] { restorePath(txtSource, stored, settingName::SourceS); });
    ignoringErrors([&] { restorePath(txtDest, stored, settingName::DestinationS); });
    ignoringErrors([&] { restorePath(txtMultipleFilesPath, stored, settingName::SourceM); });
    ignoringErrors([&] { restorePath(txtMultipleFilesDestinationPath, stored, settingName::DestinationM); });
    ignoringErrors([&] { keepOnlyReadableSource(txtSource); });
    ignoringErrors([&] { keepOnlyDestinationInExistingFolder(txtDest); });
    ignoringErrors([&] { keepOnlySourceFolderWithFiles(*this); });
    ignoringErrors([&] { keepOnlyExistingFolder(txtMultipleFilesDestinationPath); });
    ignoringErrors([&] { keepOnlyWritableFolder(txtMultipleFilesDestinationPath); });
}

namespace {

// Stores one setting; a failing write is skipped without a word.
class SettingsStore {
public:
    explicit SettingsStore(const Registry &registry) : registry_(registry) {}
    void operator()(const std::string &name, const std::string &text) const {
        ignoringErrors([&] { registry_.setKeyValue(settingsKey, name, text); });
    }

private:
    const Registry &registry_;
};

// A minimized window's edges say nothing about where it was: the stored place stays.
void storePosition(HWND window, const SettingsStore &store) {
    if (IsIconic(window)) return;
    const TwipsRect frame = windowFrameTwips(window);
    store(settingName::Top, std::to_string(wholeTwips(frame.top)));
    store(settingName::Left, std::to_string(wholeTwips(frame.left)));
}

} // namespace

void FrmMain::saveSettings() {
    const SettingsStore store(registry_);
    ignoringErrors([&] { storePosition(hwnd(), store); });
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
