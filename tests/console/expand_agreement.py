#!/usr/bin/env python3
"""quillmerec against GNU expand itself, over generated text: for each option group (-t N, -t LIST
with its /N and +N forms, and -i) at least 10,000 cases of random ASCII and byte text with CR LF and
LF line ends (no lone CR, no backspace: the two places where quillmerec parts from expand by design,
and no 0x1A, which marks a file that is not plain text). The cases of one option set are files of one
folder converted by one run of quillmerec; each output must equal expand's, byte for byte.

Usage: expand_agreement.py SOURCE_DIR BUILD_DIR [--seed N] [--cases N] [--native PROGRAM]
Without --native, BUILD_DIR is the Windows build and its quillmerec.exe runs under Wine; with it, the
native program given runs as it is, on the machine's own paths.
"""
import argparse
import concurrent.futures
import os
import random
import shutil
import subprocess
import sys

# Each run of quillmerec under Wine costs a start of the program: few runs of many files each.
RUNS_PER_GROUP = 8


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def is_utf8(data):
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def ascii_text(rng, size):
    pieces = []
    for _ in range(size):
        roll = rng.random()
        if roll < 0.15:
            pieces.append(b"\t")
        elif roll < 0.25:
            pieces.append(b" ")
        elif roll < 0.30:
            pieces.append(b"\r\n")
        elif roll < 0.35:
            pieces.append(b"\n")
        else:
            pieces.append(bytes([rng.randint(0x21, 0x7E)]))
    return b"".join(pieces)


# Every byte but CR (only in CR LF), backspace and the end mark 0x1A.
BYTE_VALUES = [b for b in range(256) if b not in (0x08, 0x0D, 0x1A)]


def byte_text(rng, size):
    pieces = []
    for _ in range(size):
        roll = rng.random()
        if roll < 0.12:
            pieces.append(b"\t")
        elif roll < 0.17:
            pieces.append(b"\r\n")
        elif roll < 0.22:
            pieces.append(b"\n")
        else:
            pieces.append(bytes([rng.choice(BYTE_VALUES)]))
    data = b"".join(pieces)
    # Byte text is text in the ANSI code page: no byte-order mark at its start, and not valid UTF-8
    # with characters beyond ASCII (which would be read as UTF-8 and counted in display columns).
    if data[:2] in (b"\xff\xfe", b"\xfe\xff") or data[:3] == b"\xef\xbb\xbf":
        data = b"x" + data
    if any(b >= 0x80 for b in data) and is_utf8(data):
        data += b"\xff"
    return data


def case_text(rng):
    size = rng.choice([0, 1, 2, 5, 20, 80, 300])
    size = rng.randint(0, size)
    return ascii_text(rng, size) if rng.random() < 0.5 else byte_text(rng, size)


def tab_list(rng):
    stops, column = [], 0
    for _ in range(rng.randint(1, 6)):
        column += rng.randint(1, 12)
        stops.append(column)
    text = [str(s) for s in stops]
    form = rng.random()
    if form < 0.3:
        text[-1] = "/" + text[-1]
    elif form < 0.6:
        text[-1] = "+" + text[-1]
    separator = "," if rng.random() < 0.7 else " "
    return separator.join(text)


def option_sets(group, rng):
    widths = [1, 2, 4, 7, 8, 13, 31, 100]
    for run in range(RUNS_PER_GROUP):
        if group == "tabs":
            yield ["-t", str(widths[run % len(widths)])]
        elif group == "list":
            yield ["-t", tab_list(rng)]
        else:
            yield ["-i", "-t", str(rng.randint(1, 12)) if run % 2 else tab_list(rng)]


def run_group(group, rng, cases, work, program, to_path):
    per_run = -(-cases // RUNS_PER_GROUP)
    checked, failures = 0, []
    for number, options in enumerate(option_sets(group, rng)):
        folder = os.path.join(work, "%s-%02d" % (group, number))
        shutil.rmtree(folder, ignore_errors=True)
        inputs, outputs = os.path.join(folder, "in"), os.path.join(folder, "out")
        os.makedirs(inputs)
        texts = []
        for case in range(per_run):
            texts.append(case_text(rng))
            with open(os.path.join(inputs, "case%05d.txt" % case), "wb") as f:
                f.write(texts[-1])
        done = subprocess.run(program + ["-q"] + options + ["-o", to_path(outputs), to_path(inputs)],
                              capture_output=True)
        if done.returncode != 0:
            failures.append("%s: quillmerec ended with %d: %s" % (options, done.returncode,
                                                                   done.stdout.decode(errors="replace")))
            continue
        def expanded(name):
            return subprocess.run(["expand"] + options + [os.path.join(inputs, name)],
                                  capture_output=True, check=True).stdout

        names = ["case%05d.txt" % case for case in range(len(texts))]
        with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
            expectations = list(pool.map(expanded, names))
        for name, text, expected in zip(names, texts, expectations):
            with open(os.path.join(outputs, name), "rb") as f:
                got = f.read()
            checked += 1
            if got != expected:
                failures.append("%s %s: input %r\n  expand     %r\n  quillmerec %r" % (
                    options, os.path.join(inputs, name), text, expected, got))
        if not failures:
            shutil.rmtree(folder)
    return checked, failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("build")
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--cases", type=int, default=10000)
    parser.add_argument("--native")
    args = parser.parse_args()
    if args.native:
        program, to_path = [args.native], os.path.abspath
    else:
        program = [os.path.join(args.source, "scripts", "wine_exec.sh"), args.build,
                   os.path.join(args.build, "quillmerec.exe")]
        to_path = windows_path
    work = os.path.join(args.build, "expand-agreement")
    os.makedirs(work, exist_ok=True)
    rng = random.Random(args.seed)
    all_failures = []
    for group in ("tabs", "list", "initial"):
        checked, failures = run_group(group, rng, args.cases, work, program, to_path)
        print("%-8s %6d cases, %d differ from expand" % (group, checked, len(failures)))
        all_failures += failures
        if checked < args.cases and not failures:
            all_failures.append("%s: only %d cases checked" % (group, checked))
    for failure in all_failures[:20]:
        print(failure)
    print("seed %d" % args.seed)
    return 1 if all_failures else 0


if __name__ == "__main__":
    sys.exit(main())
