// Standard input over a POSIX descriptor, and the spill files that keep what goes past the memory the
// console program holds its input in.
#pragma once

#include "standard_input.h"

#include <string>
#include <sys/types.h>

class DescriptorInput : public StandardInput {
public:
    static constexpr std::size_t pieceBytes = 1024 * 1024;

    // stopDescriptor becomes readable once an interrupt has asked the program to stop (-1: never). A
    // read waits on both, so that an interrupt that comes before the read, or while it waits for typed
    // input or a pipe, ends it at once, whichever thread the signal reached.
    DescriptorInput(int descriptor, int stopDescriptor)
        : descriptor_(descriptor), stopDescriptor_(stopDescriptor) {}

    std::size_t pieceSize() const override { return pieceBytes; }
    std::size_t read(char *into, std::size_t size) override;
    std::unique_ptr<InputFileInPlace> fileInPlace(std::uint64_t largerThan) override;

private:
    int descriptor_;
    int stopDescriptor_;
};

// Spill files in a folder (the user's temporary folder, or a test's): each is made with a name no
// other file has and unlinked at once, so only this program sees it and nothing stays when it ends in
// any way.
class UnlinkedSpillFiles : public SpillFiles {
public:
    explicit UnlinkedSpillFiles(std::string folder) : folder_(std::move(folder)) {}
    std::unique_ptr<SpillFile> create() override;

    // The user's temporary folder: TMPDIR when it is set, else /tmp.
    static std::string usualFolder();

private:
    std::string folder_;
};
