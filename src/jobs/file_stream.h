// The one way a job streams a file: its bytes read in blocks, each block converted and handed on, so a
// file of any size goes through in a few blocks of memory.
#pragma once

#include "converter.h"
#include "file_system.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Called after each block read with the number of bytes of that block, so a window can handle its
// messages and show its progress during long work.
using BytesRead = std::function<void(std::size_t bytes)>;
using ByteSink = std::function<void(std::string_view bytes)>;

// The open source's first `length` bytes through the converter: each block's conversion to `converted`,
// then the block itself to `original` (a check of the text, or the other side of a comparison) where
// given, then its size to bytesRead. The converter is not finished: the caller adds finished().
void streamFile(SourceFile &source, std::uint64_t length, StreamConverter &converter,
                const ByteSink &converted, const ByteSink &original = {}, const BytesRead &bytesRead = {});

// What the text's end adds (a character cut by the end, a closing line end).
std::string finished(StreamConverter &converter);

// The whole file's bytes (small files only: the clipboard's text and the program's own lists).
std::string readWholeFile(FileSystem &files, const std::string &path, ShareWrite share);
