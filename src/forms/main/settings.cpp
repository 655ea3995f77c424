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

// True when the stored extension is there and chosen; the caller raises the choice.
bool selectStoredExtension(ComboBox &extensions, const StoredSettings &stored) {
    const auto index = extensionIndexFromText(stored(settingName::LastExtension), extensions.listCount());
    return index && extensions.setListIndex(*index);
}

// True when none was chosen and the first now is; the caller raises the choice.
bool selectFirstExtensionWhenNone(ComboBox &extensions) {
    return extensions.listIndex() == -1 && extensions.setListIndex(0);
}

void keepOnlyReadableSource(TextBox &box) {
    if (!fileExists(box.text())) box.setText(placeholderText);
}

void keepOnlyDestinationInExistingFolder(TextBox &box) {
    if (!DirExists(filePart(box.text(), pathPart::folder))) box.setText(placeholderText);
}

void keepOnlyExistingFolder(TextBox &box) {
    if (!DirExists(box.text())) box.setText(placeholderText);
}

void keepOnlyWritableFolder(TextBox &box) {
    if (probeFolderForWriting(box.text()) == ProbeResult::AccessRefused) box.setText(placeholderText);
}

} // namespace

void FrmMain::restoreSettings() {
    Controls &c = controls_;
    const StoredSettings stored(registry_);
    ignoringErrors([&] { registry_.createKey(settingsKey); });
    ignoringErrors([&] {
        if (!placeAtStoredPosition(hwnd(), stored)) centreOnScreen(hwnd());
    });
    ignoringErrors([&] { restoreSpaces(c.spacesBox, stored); });
    // In this order, so that in a group the last stored yes wins.
    ignoringErrors([&] { restoreOption(c.clipboardOption, stored, settingName::OperationClip); });
    ignoringErrors([&] { restoreOption(c.singleFileOption, stored, settingName::OperationSingle); });
    ignoringErrors([&] { restoreOption(c.multipleFilesOption, stored, settingName::OperationMultiple); });
    ignoringErrors([&] { restoreOption(c.tabStopsOption, stored, settingName::FixedTABS); });
    ignoringErrors([&] { restoreOption(c.fixedSpacesOption, stored, settingName::FixedSpaces); });
    ignoringErrors([&] { highlightOperation(); });
    ignoringErrors([&] { loadExtensions(appDataFolder(programFolder()) + dataFile::extensions); });
    ignoringErrors([&] {
        if (selectStoredExtension(c.extensionBox, stored)) extensionChosen();
    });
    ignoringErrors([&] {
        if (selectFirstExtensionWhenNone(c.extensionBox)) extensionChosen();
    });
    ignoringErrors([&] { c.progressBar.setValue(0); });
    ignoringErrors([&] { restorePath(c.sourceFileBox, stored, settingName::SourceS); });
    ignoringErrors([&] { restorePath(c.destinationFileBox, stored, settingName::DestinationS); });
    ignoringErrors([&] { restorePath(c.sourceFolderBox, stored, settingName::SourceM); });
    ignoringErrors([&] { restorePath(c.destinationFolderBox, stored, settingName::DestinationM); });
    ignoringErrors([&] { keepOnlyReadableSource(c.sourceFileBox); });
    ignoringErrors([&] { keepOnlyDestinationInExistingFolder(c.destinationFileBox); });
    // A source folder stays only with files of the extension in it.
    ignoringErrors([&] {
        listWorkFiles();
        if (c.workList.listCount() == 0) c.sourceFolderBox.setText(placeholderText);
    });
    ignoringErrors([&] { keepOnlyExistingFolder(c.destinationFolderBox); });
    ignoringErrors([&] { keepOnlyWritableFolder(c.destinationFolderBox); });
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
    const Controls &c = controls_;
    const SettingsStore store(registry_);
    ignoringErrors([&] { storePosition(hwnd(), store); });
    store(settingName::OperationClip, yesNoText(c.clipboardOption.value()));
    store(settingName::OperationSingle, yesNoText(c.singleFileOption.value()));
    store(settingName::OperationMultiple, yesNoText(c.multipleFilesOption.value()));
    store(settingName::FixedTABS, yesNoText(c.tabStopsOption.value()));
    store(settingName::FixedSpaces, yesNoText(c.fixedSpacesOption.value()));
    store(settingName::SourceS, c.sourceFileBox.text());
    store(settingName::DestinationS, c.destinationFileBox.text());
    store(settingName::SourceM, c.sourceFolderBox.text());
    store(settingName::DestinationM, c.destinationFolderBox.text());
    store(settingName::SpacesToUse, c.spacesBox.text());
    store(settingName::LastExtension, std::to_string(c.extensionBox.listIndex()));
    store(settingName::Startup, "True");
}
