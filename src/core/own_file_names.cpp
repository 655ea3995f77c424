#include "own_file_names.h"

#include "text_encoding.h"

#include <atomic>
#include <cctype>

namespace {

// The UTF-16 units of the name's UTF-8 text: two for a character past U+FFFF, one for any other and
// for each byte that starts no well-formed sequence (which Windows turns into one U+FFFD).
std::size_t utf16Units(std::string_view name) {
    const auto *p = reinterpret_cast<const unsigned char *>(name.data());
    const auto *end = p + name.size();
    std::size_t units = 0;
    while (p < end) {
        unsigned length = 1;
        char32_t codePoint = 0;
        if (*p >= 0x80 && utf8::sequence(p, end, length, codePoint) != utf8::Step::Complete) length = 1;
        units += length == 4 ? 2 : 1;
        p += length;
    }
    return units;
}

bool endsWithFolded(const std::string &text, const std::string &end) {
    if (text.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i])
            return false;
    return true;
}

// Reads the digits at `at`; false where there are none.
bool readNumber(const std::string &text, std::size_t &at, unsigned long &number) {
    const std::size_t start = at;
    number = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && at - start < 10)
        number = number * 10 + static_cast<unsigned long>(text[at++] - '0');
    return at > start;
}

} // namespace

bool nameFits(std::string_view name, NameMeasure measure) {
    const std::size_t size = measure == NameMeasure::Bytes ? name.size() : utf16Units(name);
    return size <= longestFileName;
}

std::string ownFileStem(unsigned long processId) {
    static std::atomic<unsigned> serial{0};
    return "~qm" + std::to_string(processId) + "-" + std::to_string(++serial);
}

std::string ownTemporaryName(const std::string &stem, const std::string &destinationName,
                             NameMeasure measure) {
    const std::string named = stem + "." + destinationName + ".tmp";
    return !destinationName.empty() && nameFits(named, measure) ? named : stem + ".tmp";
}

std::string ownBackupName(const std::string &stem, const std::string &destinationName, int backupNumber,
                          NameMeasure measure) {
    const std::string numbered = backupNumber == 0 ? stem : stem + "-" + std::to_string(backupNumber);
    const std::string named = numbered + "." + destinationName + ".bak";
    return !destinationName.empty() && nameFits(named, measure) ? named : numbered + ".bak";
}

std::optional<OwnFileName> readOwnFileName(const std::string &name) {
    if (name.size() < 3 || (name.compare(0, 3, "~qm") != 0 && name.compare(0, 3, "~QM") != 0))
        return std::nullopt;
    OwnFileName read;
    if (endsWithFolded(name, ".bak"))
        read.backup = true;
    else if (!endsWithFolded(name, ".tmp"))
        return std::nullopt;
    std::size_t at = 3;
    unsigned long serial = 0;
    if (!readNumber(name, at, read.processId) || at >= name.size() || name[at++] != '-' ||
        !readNumber(name, at, serial))
        return std::nullopt;
    if (read.backup && at < name.size() && name[at] == '-') {
        ++at;
        if (!readNumber(name, at, serial)) return std::nullopt;
    }
    const std::size_t end = name.size() - 4;
    if (at == end) return read;
    if (name[at] != '.' || at + 1 >= end) return std::nullopt;
    read.destinationName = name.substr(at + 1, end - at - 1);
    return read;
}

void putRightLeftovers(const std::vector<std::string> &ownNames, unsigned long self, LeftoverFiles &files) {
    std::vector<std::string> temporaries;
    for (const std::string &name : ownNames) {
        const std::optional<OwnFileName> own = readOwnFileName(name);
        if (!own || own->processId == self || files.processIsRunning(own->processId)) continue;
        if (!own->backup) {
            temporaries.push_back(name);
            continue;
        }
        if (own->destinationName.empty()) continue;
        switch (files.presenceOf(own->destinationName)) {
        case NamePresence::Taken: files.remove(name); break;
        case NamePresence::Free: files.restore(name, own->destinationName); break;
        case NamePresence::Unknown: break;
        }
    }
    for (const std::string &name : temporaries) files.remove(name);
}
