#!/usr/bin/env python3
"""The Windows quillmerec.exe (under Wine) against the native quillmerec, over one generated corpus
(cross_check_corpus.py): every encoding, line end and option group, into a folder, into a file, in
place, from standard input to standard output, and --check. Both programs run the same runs in the
same folder, each given its names in its own form; every file they write must be the same bytes,
their exit codes the same (and the one each run expects), and what they print the same once the
Windows line end (CR LF) and the Windows separator (backslash) are read as the POSIX ones.

Usage: cross_check.py SOURCE_DIR WINDOWS_BUILD_DIR WINDOWS_PROGRAM NATIVE_PROGRAM [--seed N]
                      [--per-encoding N] [--keep]
Exits with 77 (a skipped test) when the native program has not been built.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

from cross_check_corpus import ENCODINGS, make_corpus, make_extras

SKIPPED = 77
SIDES = ("native", "windows")


class Name(str):
    """A name relative to the work folder, written with "/"; "{side}" stands for the side's own
    folder. Each program is given it in its own form."""

    def given(self, side):
        name = self.format(side=side)
        return name.replace("/", "\\") if side == "windows" else name


class Run:
    def __init__(self, group, name, args, code=0, stdin=None, listing=False):
        self.group, self.name, self.args, self.code = group, name, args, code
        self.stdin = stdin  # a Name read as standard input
        self.listing = listing  # standard output is a list of names (--check)

    def arguments(self, side):
        return [a.given(side) if isinstance(a, Name) else a for a in self.args]


# Conversion options for the runs into a folder: each over the whole corpus, most of them with -r.
FOLDER_OPTIONS = [
    ("default", []),
    ("tabs-1", ["-r", "-t", "1"]),
    ("tabs-4", ["-t", "4"]),
    ("tabs-13", ["-r", "--tabs=13"]),
    ("list", ["-r", "-t", "4,8,12"]),
    ("list-slash", ["-r", "-t", "3,7,/5"]),
    ("list-plus", ["-r", "-t", "2 5 +6"]),
    ("list-joined", ["-r", "-t", "3", "-t", "9,/4"]),
    ("initial", ["-r", "-i"]),
    ("initial-tabs-4", ["-r", "-i", "-t", "4"]),
    ("initial-list", ["-r", "--initial", "-t", "2,6,+4"]),
    ("spaces-1", ["-r", "--spaces=1"]),
    ("spaces-4", ["-r", "--spaces=4"]),
    ("spaces-16", ["-r", "--spaces=16"]),
    ("spaces-initial", ["-r", "--spaces=3", "-i"]),
    ("extensions", ["-r", "-t", "6", "--ext=txt", "--ext=c"]),
]


def first_of(corpus, encoding):
    return sorted(n for n in os.listdir(corpus) if n.startswith(encoding + "-") and n.endswith("-000.txt"))[0]


def runs(work):
    corpus = os.path.join(work, "corpus")
    out = "out-{side}/"
    plan = []
    for name, options in FOLDER_OPTIONS:
        plan.append(Run("-o FOLDER", name, ["-q"] + options + ["-o", Name(out + name), Name("corpus")]))
    picked = [Name("corpus/" + first_of(corpus, e)) for e in ENCODINGS]
    edges = [Name("corpus/edge-%s.txt" % e) for e in ("lone-crs", "cr-then-lf", "combining-after-tab")]
    plan.append(Run("-o FOLDER", "several", ["-t", "5", "-o", Name(out + "several"), Name("corpus/sub")] +
                    picked + edges))
    for number, (encoding, source) in enumerate(zip(ENCODINGS, picked)):
        options = [["-t", "3"], ["-i", "-t", "2,5"], ["--spaces=2"]][number % 3]
        plan.append(Run("-o FILE", encoding, options + ["-o", Name(out + "file-%s.out" % encoding), source]))
    plan.append(Run("-o FILE", "long-form", ["--tabs=7", Name("--output=" + out + "file-long.out"),
                                              Name("corpus/utf16be-long.txt")]))
    # Over a destination that is there already: the replacement rather than a new name.
    plan.append(Run("-o FILE", "existing", ["-t", "9", "-o", Name(out + "file-ansi.out"), picked[1]]))
    # One input into a folder: one that is there, and one named with a separator at its end.
    plan.append(Run("-o FILE", "into-folder", ["-t", "2", "-o", Name(out + "several"),
                                                Name("corpus/edge-tab-crlf.txt")]))
    plan.append(Run("-o FILE", "into-new-folder", ["-o", Name(out + "new-folder/"), picked[0]]))
    for number, encoding in enumerate(ENCODINGS):
        options = [["-t", "4"], ["-i"], ["-t", "3,9,/6"], ["--spaces=5"]][number % 4]
        plan.append(Run("stdin", encoding, options, stdin=Name("corpus/%s-long.txt" % encoding)))
    plan.append(Run("stdin", "lone-crs", ["-t", "3", "-"], stdin=edges[0]))
    plan.append(Run("stdin", "past-memory", ["-t", "4"], stdin=Name("extra/big.txt")))
    plan.append(Run("stdin", "into-file", ["-t", "6", "-o", Name(out + "stdin.out")], stdin=picked[2]))
    plan.append(Run("stdin", "empty", ["-t", "6"]))
    plan.append(Run("stdout", "folder", ["-t", "4", "-r", Name("corpus/sub")]))
    plan.append(Run("in-place", "folder", ["-q", "--in-place", "-r", "-t", "5", Name("in-place-{side}")]))
    plan.append(Run("in-place", "files", ["--in-place", "--spaces=2", "-i"] +
                    [Name("in-place-{side}/" + os.path.basename(p)) for p in picked] +
                    [Name("in-place-{side}/sub/name with blanks.txt"),
                     Name("in-place-{side}/sub/\u00f1ame-\u4e2d\u6587.txt")]))
    plan.append(Run("--check", "corpus", ["--check", "-r", Name("corpus")], code=1, listing=True))
    plan.append(Run("--check", "initial", ["--check", "-i", "-t", "4,8", Name("corpus")], code=1,
                    listing=True))
    plan.append(Run("--check", "no-tabs", ["--check", Name("extra/no-tabs")], code=0, listing=True))
    plan.append(Run("--check", "stdin", ["--check"], code=1, listing=True, stdin=picked[3]))
    plan.append(Run("--check", "stdin-no-tabs", ["--check"], code=0, listing=True,
                    stdin=Name("extra/no-tabs/ascii.txt")))
    plan += failures(out, edges)
    return plan


def failures(out, edges):
    plan = [
        Run("failure", "missing", ["-q", "-o", Name(out + "missing"), edges[0], Name("missing.txt"),
                                   Name("absent/other.txt")], code=1),
        Run("failure", "missing-to-stdout", [Name("missing.txt")], code=1),
        # Names as Windows reads them: an empty one, a file's name with separators after it, and
        # missing names with one.
        Run("failure", "odd-names", ["--check", Name(""), Name("corpus/edge-tab.txt/"),
                                     Name("corpus/edge-tab.txt//"), Name("gone/"), Name("gone/deeper/"),
                                     Name("corpus/edge-tab.txt/inside.txt")], code=1),
        Run("failure", "stdin-not-plain", ["-t", "3"], code=1, stdin=Name("faulty/odd-utf16le.txt")),
        # One file named three times for --in-place: replaced once.
        Run("failure", "named-again", ["--in-place", "-t", "3", Name("in-place-{side}/edge-tab.txt"),
                                       Name("in-place-{side}"), Name("in-place-{side}/./edge-tab.txt")],
            code=1),
        Run("failure", "read-only", ["-o", Name("extra/read-only.txt"), edges[0]], code=1),
        Run("failure", "read-only-in-place", ["--in-place", Name("extra/read-only.txt")], code=1),
        Run("failure", "faulty", ["-o", Name(out + "faulty"), Name("faulty")], code=1),
        Run("failure", "same-destination", ["-o", Name(out + "twins"), Name("extra/twins/a/same.txt"),
                                            Name("extra/twins/b/same.txt")], code=1),
        Run("failure", "destination-is-source", ["-o", Name("extra/twins/a/same.txt"),
                                                 Name("extra/twins/a/same.txt")], code=1),
        Run("failure", "version", ["--version"]),
    ]
    for number, usage in enumerate([["--spaces=17"], ["-t", "0"], ["-t", "6,3"], ["-t", "4,x"],
                                    ["--spaces=4", "-t", "4"], ["--bogus"], ["-x"], ["-t"],
                                    ["--in-place"], ["--check", "--in-place", Name("corpus")],
                                    ["--ext=a/b", Name("corpus")], ["--spaces=2", "-", Name("corpus")]]):
        plan.append(Run("usage", "usage-%02d" % number, usage, code=2))
    return plan


def wine_environment(source, build):
    """The environment scripts/wine_env.sh sets up, with its display and prefix ready."""
    script = '. "$1/scripts/wine_env.sh" && qm_ensure_display && qm_ensure_prefix && env -0'
    done = subprocess.run(["sh", "-c", script, "sh", source], env=dict(os.environ, QM_BUILD=build),
                          capture_output=True, check=True)
    return dict(entry.split("=", 1) for entry in done.stdout.decode().split("\0") if "=" in entry)


def execute(run, side, command, work, env):
    """Runs one program once; its streams go through files (Wine's helpers would hold a pipe)."""
    streams = os.path.join(work, "streams-" + side)
    os.makedirs(streams, exist_ok=True)
    base = os.path.join(streams, "%s-%s" % (run.group.strip("-").replace(" ", "-"), run.name))
    stdin_path = os.path.join(work, run.stdin.format(side=side)) if run.stdin else os.devnull
    with open(stdin_path, "rb") as stdin, open(base + ".out", "wb") as stdout, \
            open(base + ".err", "wb") as stderr:
        code = subprocess.run(command + run.arguments(side), cwd=work, stdin=stdin, stdout=stdout,
                              stderr=stderr, env=env, timeout=300).returncode
    with open(base + ".out", "rb") as f, open(base + ".err", "rb") as g:
        return code, f.read(), g.read()


def as_posix(text, side):
    """Windows text read as POSIX text: CR LF line ends as LF, backslashes as slashes; and each side's
    own folders ("out-windows") under one name."""
    if side == "windows":
        text = text.replace(b"\r\n", b"\n").replace(b"\\", b"/")
    return text.replace(b"-" + side.encode(), b"-{side}")


def line_end_fault(text, side):
    if side == "native":
        return b"\r" in text
    return text.count(b"\n") != text.count(b"\r\n")


def tree(folder):
    found = {}
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, folder)] = f.read()
    return found


def compare_trees(label, folders, faults):
    native, windows = (tree(f) for f in folders)
    if native.keys() != windows.keys():
        faults.append("%s: files only natively %s, only on Windows %s" % (
            label, sorted(native.keys() - windows.keys())[:5], sorted(windows.keys() - native.keys())[:5]))
    differing = sorted(n for n in native.keys() & windows.keys() if native[n] != windows[n])
    for name in differing[:10]:
        faults.append("%s/%s differs%s" % (label, name, first_difference(native[name], windows[name])))
    return len(native.keys() & windows.keys())


def first_difference(native, windows):
    at = next((i for i, (a, b) in enumerate(zip(native, windows)) if a != b), min(len(native), len(windows)))
    start = max(0, at - 40)
    return " at byte %d of %d and %d:\n  native  %r\n  windows %r" % (
        at, len(native), len(windows), native[start:at + 40], windows[start:at + 40])


def check_amounts(work, faults):
    """What both programs could agree on by doing nothing: each folder run must have written a file
    for each input it takes, counted here on the corpus, and the runs in place must have changed
    files."""
    corpus = tree(os.path.join(work, "corpus"))
    for name, options in FOLDER_OPTIONS:
        extensions = (".txt", ".c") if "--ext=c" in options else (".txt",)
        wanted = sum(1 for n in corpus if n.endswith(extensions) and ("-r" in options or os.sep not in n))
        written = len(tree(os.path.join(work, "out-native", name)))
        if written != wanted:
            faults.append("-o FOLDER %s: %d files written for %d inputs" % (name, written, wanted))
    replaced = tree(os.path.join(work, "in-place-native"))
    if sum(1 for n in corpus if corpus[n] != replaced.get(n)) < len(corpus) // 2:
        faults.append("in-place: fewer than half the files were changed")


def check_run(run, results, faults):
    (native_code, native_out, native_err), (windows_code, windows_out, windows_err) = results
    label = "%s %s (%s)" % (run.group, run.name, " ".join(run.arguments("native")))
    if native_code != windows_code or native_code != run.code:
        faults.append("%s: exit code native %d, windows %d, expected %d\n  native  %r\n  windows %r" % (
            label, native_code, windows_code, run.code, native_err[:300], windows_err[:300]))
    for stream, native, windows in (("stderr", native_err, windows_err),
                                    ("stdout", native_out, windows_out)):
        own_text = stream == "stderr" or run.listing or run.group == "failure"
        if own_text:
            if line_end_fault(native, "native") or line_end_fault(windows, "windows"):
                faults.append("%s: %s not in its system's line ends:\n  native  %r\n  windows %r" % (
                    label, stream, native[:300], windows[:300]))
            native, windows = as_posix(native, "native"), as_posix(windows, "windows")
        if native != windows:
            faults.append("%s: %s differs%s" % (label, stream, first_difference(native, windows)))
    if run.code == 0 and not run.listing and native_err:
        faults.append("%s: says %r" % (label, native_err[:300]))


def prepare(work, seed, per_encoding):
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    counts = make_corpus(os.path.join(work, "corpus"), seed, per_encoding)
    make_extras(os.path.join(work, "extra"), seed)
    for side in SIDES:
        shutil.copytree(os.path.join(work, "corpus"), os.path.join(work, "in-place-" + side))
    return counts


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("build")
    parser.add_argument("windows_program")
    parser.add_argument("native_program")
    parser.add_argument("--seed", type=int, default=20270114)
    parser.add_argument("--per-encoding", type=int, default=100)
    parser.add_argument("--keep", action="store_true", help="keep the work folder after a clean run")
    args = parser.parse_args()
    if not os.access(args.native_program, os.X_OK):
        print("SKIPPED: no native program at %s (build it with ./scripts/build.sh, or point the "
              "cache variable QM_NATIVE_BUILD at a native build)" % args.native_program)
        return SKIPPED
    started = time.monotonic()
    work = os.path.join(args.build, "cross-check")
    counts = prepare(work, args.seed, args.per_encoding)
    commands = {"native": ([os.path.abspath(args.native_program)], None),
                "windows": (["wine", os.path.abspath(args.windows_program)],
                            wine_environment(args.source, os.path.abspath(args.build)))}
    plan = runs(work)
    results = {side: [execute(run, side, commands[side][0], work, commands[side][1]) for run in plan]
               for side in SIDES}
    faults = []
    for number, run in enumerate(plan):
        check_run(run, [results[side][number] for side in SIDES], faults)
    check_amounts(work, faults)
    written = compare_trees("out", [os.path.join(work, "out-" + side) for side in SIDES], faults)
    in_place = compare_trees("in-place", [os.path.join(work, "in-place-" + side) for side in SIDES], faults)
    print("corpus: %s" % ", ".join("%s %d" % item for item in counts.items()))
    groups = {}
    for run in plan:
        groups[run.group] = groups.get(run.group, 0) + 1
    print("runs of each program: %s" % ", ".join("%s %d" % item for item in groups.items()))
    print("files compared: %d written, %d replaced in place" % (written, in_place))
    for fault in faults[:30]:
        print(fault)
    print("%d differences, %.0f s, seed %d" % (len(faults), time.monotonic() - started, args.seed))
    if faults:
        return 1
    if not args.keep:
        shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
