#include "run_inputs.h"

#include "path_text.h"

namespace {

bool nothingChosen(const std::string &boxText) { return boxText == notChosenText || boxText.empty(); }

} // namespace

SingleRunRefusal singleRunRefusal(const std::string &source, const std::string &destination,
                                  FileSystem &files) {
    using R = SingleRunRefusal;
    if (nothingChosen(source)) return R::NoSourceFile;
    if (destination == notChosenText) return R::DestinationNotDefined;
    if (destination.empty()) return R::NoDestinationFile;
    if (!files.fileExists(source)) return R::SourceFileGone;
    if (!files.folderExists(filePart(destination, pathPart::folder))) return R::DestinationFolderGone;
    // The boxes' texts were compared when the paths were picked; another spelling of the source (a
    // short name, a trailing dot, a doubled backslash, stored settings) is only seen on disk.
    // Two files that cannot be told apart are taken for one: the source is never risked.
    if (files.sameFileOnDisk(trimSpaces(source), destination) != Sameness::Different)
        return R::DestinationIsSource;
    return R::None;
}

FolderRunRefusal folderRunRefusal(const std::string &sourceFolder, const std::string &destinationFolder,
                                  int32_t filesListed, FileSystem &files) {
    using R = FolderRunRefusal;
    if (nothingChosen(sourceFolder)) return R::NoSourceFolder;
    if (nothingChosen(destinationFolder)) return R::NoDestinationFolder;
    if (!files.folderExists(sourceFolder)) return R::SourceFolderGone;
    if (!files.folderExists(destinationFolder)) return R::DestinationFolderGone;
    // The same folder under another spelling would have every file converted in place.
    if (files.sameFileOnDisk(sourceFolder, destinationFolder) != Sameness::Different) return R::SameFolder;
    if (filesListed == 0) return R::NoFilesListed;
    return R::None;
}

FolderChoiceRefusal folderChoiceRefusal(const std::string &chosen, const std::string &chosenAsShown,
                                        const std::string &otherBoxText, bool mustBeWritable,
                                        FileSystem &files) {
    using R = FolderChoiceRefusal;
    if (!files.folderExists(chosen)) return R::NotAvailable;
    if (mustBeWritable && files.refusesNewFiles(chosen)) return R::NotAccessible;
    if (trimSpaces(otherBoxText) == chosenAsShown) return R::SameAsOther;
    return R::None;
}
