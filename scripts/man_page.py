#!/usr/bin/env python3
"""Writes the manual page quillmerec.1 from the program's own --help text, so the two never part:
   man_page.py PROGRAM > quillmerec.1
The first line of the help is the synopsis, the paragraphs before the options its description, the
option lines its OPTIONS, a paragraph that starts "Exit status:" its EXIT STATUS, and the rest NOTES.
The date is SOURCE_DATE_EPOCH's, so the same sources give the same page."""
import datetime
import os
import re
import subprocess
import sys


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text[:1] in (".", "'") else text


def paragraphs(lines):
    block = []
    for line in lines:
        if line.strip():
            block.append(line)
        elif block:
            yield block
            block = []
    if block:
        yield block


def option_entries(block):
    """An option line starts with blanks and a dash; deeper-indented lines go on with its text."""
    entries = []
    for line in block:
        match = re.match(r"^ {2,6}(-\S.*?)(?: {2,}(\S.*))?$", line)
        if match and not line.startswith(" " * 8):
            entries.append([match.group(1), match.group(2) or ""])
        elif entries:
            entries[-1][1] += " " + line.strip()
    return entries


def main():
    program = sys.argv[1]
    help_text = subprocess.run([program, "--help"], capture_output=True, check=True, text=True).stdout
    version = subprocess.run([program, "--version"], capture_output=True, check=True, text=True).stdout
    version = version.split()[-1]
    stamp = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
    date = datetime.datetime.fromtimestamp(stamp, datetime.timezone.utc).strftime("%B %Y")
    lines = help_text.replace("\r\n", "\n").split("\n")
    usage = lines[0].split(":", 1)[1].strip()
    blocks = list(paragraphs(lines[1:]))

    out = ['.TH QUILLMEREC 1 "%s" "Quillmere %s" "User Commands"' % (date, version),
           ".SH NAME", "quillmerec \\- replace the tabs of text files with spaces",
           ".SH SYNOPSIS", ".B quillmerec", roff(usage.split(" ", 1)[1]), ".SH DESCRIPTION"]
    sections = {"options": [], "exit": [], "notes": []}
    seen_options = False
    for block in blocks:
        if block[0].startswith("  ") and block[0].lstrip().startswith("-"):
            seen_options = True
            for option, text in option_entries(block):
                sections["options"] += [".TP", ".B " + roff(option), roff(text)]
            continue
        text = " ".join(line.strip() for line in block if not line.lstrip().startswith("- "))
        items = [line.strip()[2:] for line in block if line.lstrip().startswith("- ")]
        body = [".PP", roff(text)] + sum(([".IP \\(bu 2", roff(item)] for item in items), [])
        if text.startswith("Exit status:"):
            sections["exit"] += [".PP", roff(text[len("Exit status:"):].strip())]
        elif seen_options:
            sections["notes"] += body
        else:
            out += body
    out += [".SH OPTIONS"] + sections["options"]
    if sections["notes"]:
        out += [".SH NOTES"] + sections["notes"]
    if sections["exit"]:
        out += [".SH EXIT STATUS"] + sections["exit"]
    out += [".SH SEE ALSO", ".BR expand (1)"]
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
