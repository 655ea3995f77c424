// The fast paths of the converter core under stops 1 to 16 columns apart: whole chunks of ANSI or
// UTF-8 text at a time, for the window's line reading and for line ends kept. Each
// converts from p while chunks::readReach bytes are readable and the output is not past outLimit,
// and stops before what it leaves to the core's own routine (under the window's reading a lone CR,
// an end mark). `column` counts from the last stop (or the line's start) in and out; `lineOpen` is
// set as the core keeps it.
#pragma once

#include <algorithm>
#include <cstddef>

#include "byte_scan.h"
#include "tab_run.h"

#ifdef QM_SSE2
namespace chunks {

// Bytes a step may read from where it starts: a chunk, the chunk after it (for an LF after its last
// byte, and the copies of the text after a tab), and no more.
inline constexpr std::size_t readReach = 2 * scan::chunkBytes;

// Stores a step may make past the output it has written: a 48-byte run of spaces after the last
// tab, a chunk stored again after it, or 16-byte copies.
inline constexpr std::size_t writeReach = scan::spaceStoreBytes + scan::chunkBytes;

// Output room one step needs: a chunk in which every byte is a tab of 16 spaces, and its reach.
inline constexpr std::size_t stepRoom = scan::chunkBytes * ShortStops::widest + writeReach;

// A step reads its chunk, the byte after it, and a chunk or a copy from any place in the chunk.
static_assert(readReach >= scan::chunkBytes + std::max<std::size_t>(scan::chunkBytes, scan::copyAheadReach));
// Each store starts inside the written output and reaches at most its own size past it.
static_assert(writeReach >=
              std::max<std::size_t>({scan::spaceStoreBytes, scan::chunkBytes, scan::copyAheadReach}));
// A UTF-8 character that the last chunk cuts is finished after the chunks: the rest of its bytes, at
// most 3 of a 4-byte sequence, are read after the last chunk, which starts at least readReach bytes
// before the end, and copied to the output after it, as is the LF of a CR LF pair that the last chunk
// cuts.
inline constexpr std::size_t cutCharacterRest = 3;
static_assert(readReach - scan::chunkBytes >= cutCharacterRest);
static_assert(writeReach >= cutCharacterRest + 1);
// The column after a chunk, at most a stop's width before it plus its bytes, is in the table.
static_assert(ShortStops::columns >= scan::chunkBytes + ShortStops::widest);

const char *ansiTabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                         const char *outLimit, const ShortStops &stops);

// The same with line ends kept as they are: CR and LF both start a line, and nothing stops the
// chunks but the readable bytes and the output's room.
const char *ansiKeptTabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                             const char *outLimit, const ShortStops &stops);

const char *utf8TabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                         const char *outLimit, const ShortStops &stops);

// The same with line ends kept as they are.
const char *utf8KeptTabStops(const char *p, const char *end, char *&o, std::size_t &column, bool &lineOpen,
                             const char *outLimit, const ShortStops &stops);

} // namespace chunks
#endif
