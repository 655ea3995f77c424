// The checks a run makes of the paths it was given before it reads any file, apart from the window
// that holds them: each returns the first reason, in the order the checks are made, that the inputs
// cannot be used, and the window words it. The checks look at the disk (a path that is gone, one file
// under two spellings), never at a file's contents.
#pragma once

#include <cstdint>
#include <string>

#include "file_system.h"

// What a path box shows until a path is chosen: the checks take it for no path at all.
inline const std::string notChosenText = "Waiting ...";

enum class SingleRunRefusal {
    None,
    NoSourceFile,          // no source chosen
    DestinationNotDefined, // the destination was never chosen
    NoDestinationFile,     // the destination is empty
    SourceFileGone,
    DestinationFolderGone,
    DestinationIsSource, // the same file, or two that cannot be told apart
};

// A single-file run's source and destination, as their boxes hold them.
SingleRunRefusal singleRunRefusal(const std::string &source, const std::string &destination,
                                  FileSystem &files);

enum class FolderRunRefusal {
    None,
    NoSourceFolder,
    NoDestinationFolder,
    SourceFolderGone,
    DestinationFolderGone,
    SameFolder,
    NoFilesListed,
};

// A folder run's two folders, as their boxes hold them, and the number of files listed for the
// source (the list as last built: the folder is not searched again).
FolderRunRefusal folderRunRefusal(const std::string &sourceFolder, const std::string &destinationFolder,
                                  int32_t filesListed, FileSystem &files);

enum class FolderChoiceRefusal {
    None,
    NotAvailable,
    NotAccessible, // a folder that must take new files refuses them
    SameAsOther,   // the other folder box holds the same folder
};

// A folder picked for one box, against the text of the other box; chosenAsShown is the chosen folder
// lower-cased, as the box shows it.
FolderChoiceRefusal folderChoiceRefusal(const std::string &chosen, const std::string &chosenAsShown,
                                        const std::string &otherBoxText, bool mustBeWritable,
                                        FileSystem &files);
