#include "run_inputs.h"

#include "folders.h"
#include "locale_text.h"
#include "path_text.h"
#include "write_probe.h"

namespace {

bool nothingChosen(const std::string &boxText) { return boxText == notChosenText || boxText.empty(); }

} // namespace

SingleRunRefusal singleRunRefusal(const std::string &source, const std::string &destination,
                                  FileMoves &calls) {
    using R = SingleRunRefusal;
    if (nothingChosen(source)) return R::NoSourceFile;
    if (destination == notChosenText) return R::DestinationNotDefined;
    if (destination.empty()) return R::NoDestinationFile;
    if (!fileExists(source)) return R::SourceFileGone;
    if (!DirExists(filePart(destination, pathPart::folder))) return R::DestinationFolderGone;
    // The boxes' texts were compared when the paths were picked; another spelling of the source (a
    // short name, a trailing dot, a doubled backslash, stored settings) is only seen on disk.
    // Two files that cannot be told apart are taken for one: the source is never risked.
    if (sameFileOnDisk(trimSpaces(source), destination, calls) != Sameness::Different)
        return R::DestinationIsSource;
    return R::None;
}

FolderRunRefusal folderRunRefusal(const std::string &sourceFolder, const std::string &destinationFolder,
                                  int32_t filesListed, FileMoves &calls) {
    using R = FolderRunRefusal;
    if (nothingChosen(sourceFolder)) return R::NoSourceFolder;
    if (nothingChosen(destinationFolder)) return R::NoDestinationFolder;
    if (!DirExists(sourceFolder)) return R::SourceFolderGone;
    if (!DirExists(destinationFolder)) return R::DestinationFolderGone;
    // The same folder under another spelling would have every file converted in place.
    if (sameFileOnDisk(sourceFolder, destinationFolder, calls) != Sameness::Different) return R::SameFolder;
    if (filesListed == 0) return R::NoFilesListed;
    return R::None;
}

FolderChoiceRefusal folderChoiceRefusal(const std::string &chosen, const std::string &otherBoxText,
                                        bool mustBeWritable) {
    using R = FolderChoiceRefusal;
    if (!DirExists(chosen)) return R::NotAvailable;
    if (mustBeWritable && probeFolderForWriting(addBackslash(chosen)) == ProbeResult::AccessRefused)
        return R::NotAccessible;
    if (trimSpaces(otherBoxText) == lowerCase(chosen)) return R::SameAsOther;
    return R::None;
}
