#include "converter.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "line_rules.h"
#include "out_buffer.h"
#include "tab_run.h"
#include "text_units.h"

ConversionMode ConversionMode::windowTabStops(int16_t width) {
    ConversionMode mode;
    mode.stops = TabStops::ofWindowWidth(width);
    return mode;
}

ConversionMode ConversionMode::windowFixedSpaces(int16_t numberOfSpaces) {
    ConversionMode mode;
    mode.rule = TabRule::FixedSpaces;
    mode.spaces = spacesPerTab(numberOfSpaces);
    return mode;
}

namespace {

// Input bytes copied per check of the output's room.
constexpr std::size_t spanBytes = 4096;

// The one routine that handles a tab, CR, LF, CR LF and the end mark, for the units of any encoding.
template <class Units> class CoreConverter final : public StreamConverter {
public:
    CoreConverter(Units units, const ConversionMode &mode)
        : units_(units), mode_(mode), bom_(units.bom()),
          readsLines_(mode.rule == TabRule::TabStops && mode.lineEnds == LineEnds::Window),
          uniformStops_(mode.stops.uniformWidth() != 0),
          chunked_(mode.rule == TabRule::TabStops && !mode.leadingOnly && mode.stops.uniformWidth() >= 1 &&
                   mode.stops.uniformWidth() <= ShortStops::widest &&
                   (mode.lineEnds == LineEnds::Kept ? hasKeptChunks : hasTabStopChunks)),
          wholeBlockFixed_(mode.rule == TabRule::FixedSpaces && !mode.leadingOnly &&
                           Units::codeUnitBytes == 1),
          shortStops_(chunked_ ? static_cast<unsigned>(mode.stops.uniformWidth()) : 1),
          bomPending_(!bom_.empty()) {}

    std::string_view convert(const char *data, std::size_t size) override {
        if (textEnded_) return {};
        OutBuffer buffer = OutBuffer::overwriting(scratch_);
        if (wholeBlockFixed_) { // every byte but a tab stays, a mark included
            writeFixedSpaces(data, size, mode_.spaces, buffer);
            return {scratch_.data(), buffer.written()};
        }
        char *o = buffer.cursor();
        const char *p = data;
        const char *const end = data + size;
        if (bomPending_) p = takeBom(p, end, o, buffer);
        if (carrySize_ != 0 && !bomPending_) p = completeCarry(p, end, o, buffer);
        while (p < end && !textEnded_) {
            if (chunked_ && !skipLf_ && static_cast<std::size_t>(end - p) >= chunkReadReach) {
                // What stops the chunks (a lone CR, the end mark, the output's room) takes a step of
                // the routine below; then chunks go on.
                p = tabStopChunks(p, end, o, buffer);
                if (p == end) break;
            } else if (!skipLf_ && !inLeadingBlanks()) {
                const char *limit = p + std::min<std::size_t>(spanBytes, static_cast<std::size_t>(end - p));
                buffer.ensure(o,
                              static_cast<std::size_t>(limit - p) + units::longestUnit + units::storeReach);
                const char *stop = units_.copyPlain(p, limit, end, o, column_);
                lineOpen_ = lineOpen_ || stop != p;
                p = stop;
                if (p >= limit) continue;
            }
            units::Unit unit{};
            if (!units_.decode(p, end, unit)) { // cut by the block's end
                carrySize_ = static_cast<std::size_t>(end - p);
                std::memcpy(carry_, p, carrySize_);
                break;
            }
            handle(unit, p, o, buffer);
            p += unit.bytes;
        }
        buffer.commit(o);
        return {scratch_.data(), buffer.written()};
    }

    void finish(std::string &out) override {
        OutBuffer buffer(out);
        char *o = buffer.cursor();
        if (!textEnded_) {
            bomPending_ = false; // a text that is only the start of a mark: its bytes are text
            const char *q = carry_;
            const char *const end = carry_ + carrySize_;
            while (q < end && !textEnded_) {
                units::Unit unit{};
                if (!units_.decode(q, end, unit)) { // the text ends inside a unit: its bytes are kept
                    buffer.ensure(o, units::longestUnit);
                    std::memcpy(o, q, static_cast<std::size_t>(end - q));
                    o += end - q;
                    lineOpen_ = true;
                    break;
                }
                handle(unit, q, o, buffer);
                q += unit.bytes;
            }
            carrySize_ = 0;
        }
        const bool closingLineEnd =
            mode_.lineEnds == LineEnds::Window && (mode_.rule == TabRule::FixedSpaces || lineOpen_);
        if (closingLineEnd) {
            buffer.ensure(o, 2 * units::longestUnit);
            Units::lineEnd(o);
        }
        buffer.commit(o);
        lineOpen_ = false;
        skipLf_ = false;
        textEnded_ = true;
    }

private:
    static constexpr bool hasTabStopChunks =
        !std::is_same_v<decltype(Units::tabStopChunks), const std::nullptr_t>;
    static constexpr bool hasKeptChunks =
        !std::is_same_v<decltype(Units::keptTabStopChunks), const std::nullptr_t>;

#ifdef QM_SSE2
    static constexpr std::size_t chunkReadReach = chunks::readReach;
#else
    static constexpr std::size_t chunkReadReach = 0;
#endif

    const char *tabStopChunks(const char *p, [[maybe_unused]] const char *end, [[maybe_unused]] char *&o,
                              [[maybe_unused]] OutBuffer &buffer) {
#ifdef QM_SSE2
        buffer.ensure(o, chunks::stepRoom);
        [[maybe_unused]] const char *const outLimit = buffer.lastStartFor(chunks::stepRoom);
        if constexpr (hasKeptChunks)
            if (mode_.lineEnds == LineEnds::Kept)
                return Units::keptTabStopChunks(p, end, o, column_, lineOpen_, outLimit, shortStops_);
        if constexpr (hasTabStopChunks)
            return Units::tabStopChunks(p, end, o, column_, lineOpen_, outLimit, shortStops_);
#endif
        return p;
    }

    bool inLeadingBlanks() const { return mode_.leadingOnly && leading_; }

    void startLine() {
        column_ = 0;
        leading_ = true;
    }

    // Every mode point of the conversion is here: what a unit becomes and what it does to the column.
    void handle(const units::Unit &unit, const char *source, char *&o, OutBuffer &buffer) {
        if (skipLf_) {
            skipLf_ = false;
            if (unit.value == '\n') return; // the second half of a CR LF already written
        }
        buffer.ensure(o, 2 * units::longestUnit + units::storeReach);
        switch (unit.value) {
        case '\t':
            if (mode_.leadingOnly && !leading_) break; // kept as it is
            tab(o, buffer);
            return;
        case '\n':
            copy(unit, source, o);
            startLine();
            lineOpen_ = true;
            return;
        case '\r':
            if (readsLines_) {
                Units::lineEnd(o);
                skipLf_ = true;
                lineOpen_ = false;
            } else {
                copy(unit, source, o);
            }
            startLine();
            return;
        case 0x1A:
            if (!readsLines_) break;
            textEnded_ = true;
            return;
        case ' ':
            copy(unit, source, o);
            ++column_;
            lineOpen_ = true;
            return;
        default: break;
        }
        copy(unit, source, o);
        column_ += unit.width;
        leading_ = false;
        lineOpen_ = true;
    }

    void tab(char *&o, OutBuffer &buffer) {
        const std::size_t run =
            mode_.rule == TabRule::FixedSpaces ? mode_.spaces : mode_.stops.nextStop(column_) - column_;
        buffer.ensure(o, run * Units::codeUnitBytes + units::storeReach);
        Units::spaces(o, run);
        // Stops every N columns need the column only from the last stop, so it never grows large.
        column_ = uniformStops_ ? 0 : column_ + run;
        lineOpen_ = true;
    }

    static void copy(const units::Unit &unit, const char *source, char *&o) {
        std::memcpy(o, source, unit.bytes);
        o += unit.bytes;
    }

    // Matches the byte-order mark, which may be split between blocks, and writes it once whole. Bytes
    // that turn out not to be one are text, carried to the units after them.
    const char *takeBom(const char *p, const char *end, char *&o, OutBuffer &buffer) {
        while (bomPending_ && p != end) {
            const char c = *p++;
            carry_[carrySize_++] = c;
            if (c != bom_[carrySize_ - 1]) {
                bomPending_ = false;
            } else if (carrySize_ == bom_.size()) {
                buffer.ensure(o, bom_.size());
                std::memcpy(o, bom_.data(), bom_.size());
                o += bom_.size();
                carrySize_ = 0;
                bomPending_ = false;
            }
        }
        return p;
    }

    // Takes the units that begin with the bytes carried from the last block.
    const char *completeCarry(const char *p, const char *end, char *&o, OutBuffer &buffer) {
        char joined[sizeof carry_ + 2 * units::longestUnit];
        const std::size_t taken =
            std::min<std::size_t>(static_cast<std::size_t>(end - p), 2 * units::longestUnit);
        std::memcpy(joined, carry_, carrySize_);
        std::memcpy(joined + carrySize_, p, taken);
        const char *q = joined;
        const char *const carried = joined + carrySize_;
        const char *const joinedEnd = carried + taken;
        while (q < carried && !textEnded_) {
            units::Unit unit{};
            if (!units_.decode(q, joinedEnd, unit)) { // still cut short: the whole block was taken
                carrySize_ = static_cast<std::size_t>(joinedEnd - q);
                std::memmove(carry_, q, carrySize_);
                return end;
            }
            handle(unit, q, o, buffer);
            q += unit.bytes;
        }
        carrySize_ = 0;
        return p + (q - carried);
    }

    Units units_;
    const ConversionMode mode_;
    const std::string_view bom_;
    const bool readsLines_; // the window's line reading: CR ends a line, written CR LF; 0x1A ends the text
    const bool uniformStops_;
    const bool chunked_;         // the fast path of short stops, for the window's lines or kept ends
    const bool wholeBlockFixed_; // a fixed run over bytes: each block in one pass
    const ShortStops shortStops_;
    std::string scratch_;
    std::size_t column_ = 0;
    bool leading_ = true;   // only blanks so far in this line
    bool lineOpen_ = false; // units of a line written since its last line end
    bool skipLf_ = false;   // a CR was written as CR LF: an LF right after it is its second half
    bool textEnded_ = false;
    bool bomPending_;
    char carry_[2 * units::longestUnit] = {}; // the start of a unit cut by a block's end
    std::size_t carrySize_ = 0;
};

template <class Units> std::unique_ptr<StreamConverter> makeCore(Units units, const ConversionMode &mode) {
    return std::make_unique<CoreConverter<Units>>(units, mode);
}

} // namespace

std::unique_ptr<StreamConverter> makeConverter(TextEncoding encoding, const ConversionMode &mode) {
    switch (encoding) {
    case TextEncoding::Utf16Le: return makeCore(units::Utf16<false>{}, mode);
    case TextEncoding::Utf16Be: return makeCore(units::Utf16<true>{}, mode);
    case TextEncoding::Utf8: return makeCore(units::Utf8(false), mode);
    case TextEncoding::Utf8Bom: return makeCore(units::Utf8(true), mode);
    case TextEncoding::Ansi: break;
    }
    return makeCore(units::Ansi{}, mode);
}
