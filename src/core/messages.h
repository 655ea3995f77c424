// The texts a run shows when an input is missing or no longer there. The trailing blanks are part
// of the texts; they are spelled out by count so that none goes missing.
#pragma once

#include <string>

namespace runText {

inline std::string withBlanks(const char *text, size_t blanks) { return text + std::string(blanks, ' '); }

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

} // namespace runText
