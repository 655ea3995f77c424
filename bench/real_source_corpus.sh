#!/usr/bin/env bash
# Writes a corpus of real C source: the system's own C headers and sources (*.h and *.c under the
# given folders, default /usr/include and /usr/src), concatenated in name order and repeated until
# BYTES, every line ended by CR LF.
# Usage: bench/real_source_corpus.sh OUTPUT [BYTES] [FOLDER...]
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
# The loop ends when head has its bytes and the pipe closes (one_pass then fails on it).
{ while one_pass; do :; done; } 2>/dev/null | head -c "$bytes" >"$output" || true
[[ $(stat -c %s "$output") -eq $bytes ]] || { echo "corpus shorter than $bytes bytes" >&2; exit 1; }
