// Every text the program's message boxes show, titles and bodies. The trailing blanks are part of
// the texts; they are spelled out by count so that none goes missing.
#pragma once

#include <string>

inline std::string withBlanks(const char *text, size_t blanks) { return text + std::string(blanks, ' '); }

inline const std::string programTitle = "Quillmere";

// What a run says when an input is missing or no longer there.
namespace runText {

inline const std::string attentionTitle = "Attention!";
inline const std::string noFilesTitle = "Mmm...";

inline const std::string chooseSourceFile = withBlanks("Browse for a source file first, please!", 11);
inline const std::string defineDestinationFile = withBlanks("Define a destination file first, please!", 10);
inline const std::string chooseDestinationFile =
    withBlanks("Browse for a destination file first, please!", 6);
inline const std::string sourceFileGone =
    "The source file is not available (anymore)...\r\n" + withBlanks("Pick another file, please!", 7);
inline const std::string destinationFolderGone = "The destination folder is not available (anymore)...\r\n" +
                                                 withBlanks("Pick another folder, please!", 7);

inline const std::string chooseSourceFolder = withBlanks("Browse for a source folder first, please!", 11);
inline const std::string defineDestinationFolder =
    withBlanks("Define a destination folder first, please!", 10);
inline const std::string sourceFolderGone =
    "The source folder is not available (anymore)...\r\n" + withBlanks("Pick another folder, please!", 7);
inline const std::string noFilesAvailable = withBlanks("No files available...", 31);

inline const std::string verifying = "Verifying, please wait ...";
inline const std::string converting = "Converting, please wait ...";
inline const std::string idle = "Status: idle ...";
// The reason a user who logs off or shuts down during a run is shown.
inline const std::string savingConvertedFiles = "Quillmere is saving converted files";

} // namespace runText

// What the Browse buttons say when they refuse a choice.
namespace pickerText {
inline const std::string title = "Attention!";
inline const std::string sameFileForSource = "The source and destination file cannot be the same.\r\n" +
                                             withBlanks("Change source or destination file, please...", 22);
inline const std::string sameFileForDestination = "The source and destination file cannot be the same.\r\n" +
                                                  withBlanks("Please save under another file name...", 28);
inline const std::string folderNotAvailable =
    "The location you picked is not available...\r\n" + withBlanks("Pick another folder, please!", 7);
inline const std::string folderNotAccessible =
    "The location you picked is not accessible...\r\n" + withBlanks("Pick another folder, please!", 7);
inline const std::string sameFolder =
    "The source and destination locations cannot be the same.\r\nPlease pick another folder...";
} // namespace pickerText

// What the window says when it refuses what was dropped on it (title "Attention!").
namespace dropText {
inline const std::string severalFiles =
    "Only one file can be dropped at a time.\r\nTo convert several files, drop their folder, please...";
inline const std::string severalFolders =
    "Only one folder can be dropped at a time.\r\nDrop the folder you want to convert, please...";
inline const std::string filesAndFolders =
    "Files and folders cannot be dropped together.\r\nDrop one file or one folder, please...";
inline const std::string notAvailable =
    "The item you dropped is not available...\r\nDrop a file or a folder, please!";
inline const std::string fileOnDestination = "A file cannot be dropped on the destination file.\r\n"
                                             "Pick the destination with its Browse button, please...";
} // namespace dropText

// What a finished job says, under the program's title.
namespace jobText {
inline const std::string fileReady = withBlanks("File is ready!", 8);
inline const std::string allDone = withBlanks("All done!", 15);
inline const std::string onClipboard = withBlanks("Text is available on the Clipboard!", 6);
inline const std::string noTextOnClipboard = withBlanks("There is no text on the Clipboard.", 7);
inline const std::string noTextTitle = "Too bad...";
} // namespace jobText

// Where the text of a destination is when its replacement stopped halfway and could neither be
// finished nor undone.
inline std::string strandedReplacementText(const std::string &destination, const std::string &newText,
                                           const std::string &formerText) {
    std::string text = destination + " could not be replaced whole.\r\nIts new text is in " + newText;
    if (!formerText.empty()) text += "\r\nand its former text in " + formerText;
    return text + ".";
}

namespace helpText {
inline const std::string readmeMissing = "The Quillmere readme.txt seems to be missing...";
inline const std::string readmeMissingTitle = "Oops";
} // namespace helpText

namespace startupText {
inline const std::string alreadyRunning = "Quillmere is already running.";
} // namespace startupText

// A registry key path that does not begin with "HKEY_" or ends in a backslash.
inline std::string incorrectFormatText(const std::string &keyPath) {
    return "Incorrect Format:\n\n" + keyPath;
}
