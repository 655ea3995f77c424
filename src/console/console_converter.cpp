#include "console_converter.h"

#include "text_stream.h"
#include "unicode_stream.h"

#include <cstdlib>

namespace {

template <class Converter> class Adapted : public StreamConverter {
public:
    template <class... Arguments> explicit Adapted(Arguments... arguments) : converter_(arguments...) {}
    std::string_view convert(const char *data, std::size_t size) override {
        return converter_.convert(data, size);
    }
    void finish(std::string &out) override { converter_.finish(out); }

private:
    Converter converter_;
};

} // namespace

std::unique_ptr<StreamConverter> makeConsoleConverter(TextEncoding encoding, const ConsoleOptions &options) {
    const bool bigEndian = encoding == TextEncoding::Utf16Be;
    if (options.fixedSpaces) {
        const auto spaces = static_cast<int16_t>(options.fixedSpaces);
        if (isUtf16(encoding))
            return std::make_unique<Adapted<Utf16Converter>>(Utf16Converter::Rule::FixedSpaces, spaces,
                                                             bigEndian);
        return std::make_unique<Adapted<FixedSpacesConverter>>(spaces);
    }
    const auto width =
        static_cast<int16_t>(options.tabStops.empty() ? 8 : std::atoi(options.tabStops.c_str()));
    if (isUtf16(encoding))
        return std::make_unique<Adapted<Utf16Converter>>(Utf16Converter::Rule::TabStops, width, bigEndian);
    if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom)
        return std::make_unique<Adapted<Utf8TabStopConverter>>(width, encoding == TextEncoding::Utf8Bom);
    return std::make_unique<Adapted<TabStopConverter>>(width);
}
