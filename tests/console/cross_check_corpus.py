"""The generated corpus of cross_check.py: text in every encoding quillmerec tells apart, with every
line end it knows and tabs among a line's leading blanks and between its words, plus the files that
a run must refuse. Text is built as lines of characters, then written in its encoding."""
import os
import random

ENCODINGS = ("ansi", "ascii", "utf8", "utf8bom", "utf16le", "utf16be")
LINE_ENDS = {"crlf": ["\r\n"], "lf": ["\n"], "cr": ["\r"], "mixed": ["\r\n", "\n", "\r"]}

# Characters beyond ASCII by what an editor shows of them: (first, last, weight).
WIDE = [(0x4E00, 0x9FFF, 4), (0xAC00, 0xD7A3, 2), (0xFF01, 0xFF60, 2), (0x3041, 0x3096, 1),
        (0x1F300, 0x1F64F, 2), (0x20000, 0x2A6DF, 2)]
NARROW = [(0xC0, 0x17F, 4), (0x391, 0x3C9, 2), (0x410, 0x44F, 2), (0x1D400, 0x1D7FF, 1),
          (0x10000, 0x1007F, 1), (0xFF61, 0xFF9F, 1)]
COMBINING = [(0x300, 0x36F, 4), (0x20D0, 0x20F0, 1), (0x1AB0, 0x1ABE, 1), (0xE0100, 0xE01EF, 1),
             (0x200B, 0x200F, 1), (0xFE00, 0xFE0F, 1)]
# Characters that a careless reader might take for something else: NUL, backspace, form feed,
# escape, DEL and the C1 controls (a column each, or what the table gives).
CONTROLS = [0x00, 0x08, 0x0B, 0x0C, 0x1B, 0x7F, 0x85, 0x9B]


def pick_range(rng, ranges):
    total = sum(weight for _, _, weight in ranges)
    roll = rng.uniform(0, total)
    for first, last, weight in ranges:
        roll -= weight
        if roll <= 0:
            return chr(rng.randint(first, last))
    first, last, _ = ranges[-1]
    return chr(rng.randint(first, last))


def any_code_point(rng):
    """Any scalar value but a surrogate and the end mark U+001A: unassigned and private ones too."""
    while True:
        cp = rng.randint(0x80, 0x10FFFF)
        if not 0xD800 <= cp <= 0xDFFF:
            return chr(cp)


def unicode_char(rng):
    roll = rng.random()
    if roll < 0.55:
        return chr(rng.randint(0x21, 0x7E))
    if roll < 0.72:
        return pick_range(rng, WIDE)
    if roll < 0.84:
        return pick_range(rng, NARROW)
    if roll < 0.93:
        return pick_range(rng, COMBINING)
    if roll < 0.97:
        return any_code_point(rng)
    return chr(rng.choice(CONTROLS))


def ansi_char(rng):
    roll = rng.random()
    if roll < 0.7:
        return chr(rng.randint(0x21, 0x7E))
    if roll < 0.95:
        return chr(rng.randint(0x80, 0xFF))
    return chr(rng.choice(CONTROLS[:6]))


def ascii_char(rng):
    return chr(rng.randint(0x21, 0x7E)) if rng.random() < 0.97 else chr(rng.choice(CONTROLS[:6]))


def blanks(rng, most):
    return "".join(rng.choice("\t\t ") for _ in range(rng.randint(1, most)))


def line(rng, char):
    """Leading blanks (tabs among spaces, or none), words parted by tabs and spaces, at times
    blanks before the line end."""
    parts = [blanks(rng, 5)] if rng.random() < 0.6 else []
    for _ in range(rng.randint(0, 8)):
        parts.append("".join(char(rng) for _ in range(rng.randint(1, 9))))
        parts.append(blanks(rng, 3))
    if parts and rng.random() < 0.6:
        parts.pop()
    return "".join(parts)


def text(rng, char, lines, ends):
    pieces = []
    for number in range(lines):
        pieces.append(line(rng, char))
        if number + 1 < lines or rng.random() < 0.6:
            pieces.append(rng.choice(ends))
    return "".join(pieces)


def encoded(encoding, content):
    if encoding in ("ansi", "ascii"):
        return content.encode("latin-1")
    if encoding == "utf8":
        return content.encode("utf-8")
    if encoding == "utf8bom":
        return b"\xef\xbb\xbf" + content.encode("utf-8")
    if encoding == "utf16le":
        return b"\xff\xfe" + content.encode("utf-16-le")
    return b"\xfe\xff" + content.encode("utf-16-be")


def file_text(rng, encoding, lines, ends, tabs=True):
    """The bytes of one file, made to be read in the encoding it is named for."""
    char = {"ansi": ansi_char, "ascii": ascii_char}.get(encoding, unicode_char)
    content = text(rng, char, lines, ends)
    if not tabs:
        content = content.replace("\t", " ")
    if encoding == "ansi":
        # Not valid UTF-8: a continuation byte after a letter somewhere in the text; a first byte
        # under 0x80 keeps it from reading as a byte-order mark.
        at = rng.randint(0, len(content))
        content = content[:at] + "a\x9d" + content[at:]
        if content[0] >= "\x80":
            content = "a" + content
    elif encoding == "utf8":
        # At least one character beyond ASCII, and no byte-order mark at the start.
        at = rng.randint(0, len(content))
        content = content[:at] + pick_range(rng, WIDE + NARROW) + content[at:]
        if content.startswith("\ufeff"):
            content = "b" + content
    data = encoded(encoding, content)
    if encoding == "utf8bom" and rng.random() < 0.2:
        # Marked as UTF-8 but with a byte that is not: the mark decides.
        at = rng.randint(3, len(data))
        data = data[:at] + b"\xc3" + data[at:]
    return data


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def make_corpus(folder, seed, per_encoding):
    """Writes the corpus into folder; returns {group: number of files} of the .txt files that a
    conversion takes (not those in 'faulty' nor the other extensions)."""
    rng = random.Random(seed)
    counts = {}
    styles = list(LINE_ENDS)
    for encoding in ENCODINGS:
        for number in range(per_encoding):
            style = styles[number % len(styles)]
            sub = number % 5 == 4  # every fifth in a subfolder, for -r
            name = os.path.join(folder, "sub" if sub else "", "%s-%s-%03d.txt" % (encoding, style, number))
            lines = rng.choice([0, 1, 3, 10, 40])
            write(name, file_text(rng, encoding, lines, LINE_ENDS[style]))
            counts[encoding] = counts.get(encoding, 0) + 1
        # One of some 300 KB per encoding: characters of every width across the 64 KiB blocks.
        write(os.path.join(folder, "%s-long.txt" % encoding),
              file_text(rng, encoding, 6000, LINE_ENDS["mixed"]))
        counts[encoding] += 1
        # Files of another extension, taken only with --ext=c.
        write(os.path.join(folder, "%s-other.c" % encoding), file_text(rng, encoding, 12, ["\n"]))
    # Names with blanks and characters beyond ASCII, given on the command line and listed by --check.
    for name in ("name with blanks.txt", "\u00f1ame-\u4e2d\u6587.txt"):
        write(os.path.join(folder, "sub", name), file_text(rng, "utf8", 5, LINE_ENDS["lf"]))
    counts["utf8"] += 2
    edge = edge_cases(rng)
    for name, data in edge.items():
        write(os.path.join(folder, "edge-%s.txt" % name), data)
    counts["edge"] = len(edge)
    for name, data in faulty_files().items():
        write(os.path.join(os.path.dirname(folder), "faulty", name), data)
    return counts


def edge_cases(rng):
    """Texts at the edges of what the encodings, line ends and blocks allow."""
    long_line = "".join(rng.choice(["\t", "word", " ", "\u4e2d", "e\u0301"]) for _ in range(40000))
    return {
        "empty": b"",
        "tab": b"\t",
        "tab-crlf": b"\t\r\n",
        "lone-crs": b"\tab\rc\td\r\r\te\tf\r\tg",
        "cr-then-lf": b"a\tb\r\r\n\tc\n\r\td",
        "end-mark-last": b"\tx\ty\r\n\x1a",
        "end-mark-last-utf16le": b"\xff\xfe\t\x00a\x00\t\x00\x1a\x00",
        "end-mark-last-utf8bom": "\ufeff\t\u4e2d\tb\n\x1a".encode("utf-8"),
        "half-bom": b"\xef\xbb\ta\tb",
        "bom-only": b"\xef\xbb\xbf",
        "utf16le-bom-only": b"\xff\xfe",
        "utf16be-tab": b"\xfe\xff\x00\x09\x00a\x00\x09\x00\x0d",
        "lone-fe": b"\xfe",
        "nul-bytes": b"\x00\t\x00\x00\tz\n",
        "tabs-only": b"\t" * 3000,
        "leading-mix": b" \t  \t\t   x\t \ty\n\t \t\n",
        "utf8-after-block": b"\tascii\r\n" * 9000 + "\t\u00e9\t\u4e2d\t!\n".encode("utf-8"),
        "ansi-after-block": b"\tascii\n" * 12000 + b"\t\xe9\t!\n",
        "long-line-utf8": long_line.encode("utf-8"),
        "long-line-utf16le": b"\xff\xfe" + long_line.encode("utf-16-le"),
        "combining-after-tab": "\t\u0301x\t\u200by\t\U0001F600\tz\r\n".encode("utf-8"),
    }


def faulty_files():
    """Inputs every run refuses, each as not plain text."""
    return {
        "mark-inside-ansi.txt": b"a\tb\x1ac\td\r\n",
        "mark-inside-utf8.txt": "\t\u4e2d\x1a\tx\n".encode("utf-8"),
        "odd-utf16le.txt": b"\xff\xfe\x09\x00a\x00b",
        "lone-surrogate-utf16be.txt": b"\xfe\xff\x00\x09\xd8\x3d\x00\x61",
        "mark-inside-utf16le.txt": b"\xff\xfe\x09\x00\x1a\x00a\x00",
    }


def make_extras(folder, seed):
    """What some runs read besides the corpus: text past what standard input holds in memory (8 MiB),
    text without a tab (for --check), two files of one name in two folders, and a read-only file."""
    rng = random.Random(seed + 1)
    block = file_text(rng, "utf8", 400, LINE_ENDS["mixed"])
    write(os.path.join(folder, "big.txt"), block * (9 * 2**20 // len(block) + 1))
    for encoding in ("ascii", "ansi", "utf8", "utf16le"):
        write(os.path.join(folder, "no-tabs", encoding + ".txt"),
              file_text(rng, encoding, 20, LINE_ENDS["crlf"], tabs=False))
    for side in "ab":
        write(os.path.join(folder, "twins", side, "same.txt"), b"\tsame\r\n")
    # Read-only on both systems: Wine shows a file that no one may write as FILE_ATTRIBUTE_READONLY.
    write(os.path.join(folder, "read-only.txt"), b"\told\n")
    os.chmod(os.path.join(folder, "read-only.txt"), 0o444)
