#!/usr/bin/env bash
# Writes a corpus of real C source: the system's own C headers and sources (*.h and *.c under the
# given folders, default /usr/include and /usr/src), concatenated in name order and repeated until
# BYTES, every line ended by CR LF. With UTF8=1 the corpus is valid UTF-8, as today's source files are:
# the few bytes that are not (Latin-1 names in old headers) are left out, the characters beyond ASCII
# that are (names and symbols in comments) stay, and a line cut by the end is blanked.
# Usage: [UTF8=1] bench/real_source_corpus.sh OUTPUT [BYTES] [FOLDER...]
set -euo pipefail
output=${1:?usage: real_source_corpus.sh OUTPUT [BYTES] [FOLDER...]}
bytes=${2:-$((200 * 1048576))}
shift $(( $# >= 2 ? 2 : 1 ))
folders=("$@")
(( ${#folders[@]} )) || folders=(/usr/include /usr/src)

list=$(mktemp)
trap 'rm -f "$list"' EXIT
find "${folders[@]}" -type f \( -name '*.h' -o -name '*.c' \) -print0 2>/dev/null | LC_ALL=C sort -z >"$list"
[[ -s $list ]] || { echo "no C headers or sources under ${folders[*]}" >&2; exit 1; }

# One pass over every file, lines ended by CR LF (a CR already there is kept once), repeated.
one_pass() { set -o pipefail; xargs -0 cat -- <"$list" | sed 's/\r*$/\r/'; }
if [[ ${UTF8:-} == 1 ]]; then
    # iconv reads all its input before it writes: one pass is made once, then repeated.
    pass=$(mktemp)
    trap 'rm -f "$list" "$pass"' EXIT
    one_pass | iconv -c -f UTF-8 -t UTF-8 >"$pass" || true
    one_pass() { cat -- "$pass"; }
fi
# The loop ends when head has its bytes and the pipe closes (one_pass then fails on it).
{ while one_pass; do :; done; } 2>/dev/null | head -c "$bytes" >"$output" || true
[[ $(stat -c %s "$output") -eq $bytes ]] || { echo "corpus shorter than $bytes bytes" >&2; exit 1; }
if [[ ${UTF8:-} == 1 ]]; then
    # The last line, cut anywhere by the size, may end inside a character: its bytes become blanks.
    python3 - "$output" <<'PYTHON'
import os, sys
path = sys.argv[1]
size = os.path.getsize(path)
with open(path, "r+b") as corpus:
    start = max(0, size - 4096)
    corpus.seek(start)
    tail = corpus.read()
    cut = tail.rfind(b"\n") + 1
    corpus.seek(start + cut)
    corpus.write(b" " * (len(tail) - cut))
PYTHON
    iconv -f UTF-8 -t UTF-8 "$output" >/dev/null || { echo "the corpus is not valid UTF-8" >&2; exit 1; }
fi
