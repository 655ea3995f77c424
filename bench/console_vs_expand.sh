#!/usr/bin/env bash
# quillmerec -t 8 -o OUT IN against expand -t 8 IN > OUT, file to file, over the same 1 GB of real C
# source (real_source_corpus.sh) in the same run: the program's start-up under Wine and its
# verification read included. Each run writes a new OUT, as the first run into an empty folder
# does: the output of the run before is deleted first, for both programs. Prints the best wall time
# of each (RUNS runs, default 3), the ratio, whether the two outputs are the same bytes, and the
# program's peak memory (resident set) beside expand's. One more run of quillmerec over its own OUT
# is timed apart: an existing destination is flushed to the disk before it is replaced, so that run
# waits for the disk, which expand never does.
# Usage: bench/console_vs_expand.sh WIN_BUILD [WORK_DIR]
# WIN_BUILD is the Windows build holding quillmerec.exe (and the Wine prefix of scripts/wine_env.sh);
# WORK_DIR receives the corpus and the outputs (default: a fresh folder in the temporary folder,
# removed afterwards). BYTES sets the corpus size (default 1 GiB). UTF8=1 makes the corpus valid UTF-8
# with its characters beyond ASCII (real_source_corpus.sh): the program then counts display columns,
# where expand counts bytes, so the outputs differ on the lines where such a character stands before a
# tab.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: console_vs_expand.sh WIN_BUILD [WORK_DIR]}" && pwd)
[[ -f $build/quillmerec.exe ]] || { echo "no $build/quillmerec.exe: build the Windows tree first" >&2; exit 1; }
if [[ -n ${2:-} ]]; then
    work=$(mkdir -p "$2" && cd "$2" && pwd)
else
    work=$(mktemp -d -p "${TMPDIR:-/tmp}")
    trap 'rm -rf "$work"' EXIT
fi
runs=${RUNS:-3}
bytes=${BYTES:-$((1024 * 1048576))}

QM_BUILD=$build
. "$root/scripts/wine_env.sh"
qm_ensure_display
qm_ensure_prefix
wineserver -p 2>/dev/null || true # one server for every run, so no run pays for its start

corpus=$work/corpus${UTF8:+-utf8}.c
if [[ ! -f $corpus || $(stat -c %s "$corpus") -ne $bytes ]]; then
    "$root/bench/real_source_corpus.sh" "$corpus" "$bytes"
fi
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# Best wall time and best CPU time (user + system) in seconds, and the largest resident set in KB, of
# $runs runs of the command after OUT, with OUT deleted before each: "wall cpu kb". On a shared machine the CPU time is the steadier figure; the wall time
# includes waiting for a CPU and for the disk.
best_run() {
    local out=$1 best_wall='' best_cpu='' best_kb=0 wall user system kb
    shift
    for _ in $(seq "$runs"); do
        rm -f "$out"
        # The figures go through a file: Wine's own background processes, started on first use,
        # would otherwise inherit a pipe and keep it open after the program has ended.
        /usr/bin/time -o "$work/time.txt" -f '%e %U %S %M' "$@" >/dev/null 2>&1
        read -r wall user system kb <"$work/time.txt"
        best_wall=$(awk -v a="$wall" -v b="${best_wall:-$wall}" 'BEGIN { print (a < b ? a : b) }')
        best_cpu=$(awk -v a="$user" -v s="$system" -v b="$best_cpu" 'BEGIN { c = a + s; print (b == "" || c < b ? c : b) }')
        ((kb > best_kb)) && best_kb=$kb
    done
    echo "$best_wall $best_cpu $best_kb"
}

read -r expand_wall expand_cpu expand_kb < <(best_run "$work/expand.out" sh -c 'expand -t 8 "$1" > "$2"' sh "$corpus" "$work/expand.out")
read -r quill_wall quill_cpu quill_kb < <(best_run "$work/quillmerec.out" wine "$build/quillmerec.exe" -q -t 8 -o "$(winpath "$work/quillmerec.out")" \
    "$(winpath "$corpus")")

# Memory stays flat: the peak over a 16 MiB slice of the same text, beside the peak over all of it.
head -c $((16 * 1048576)) "$corpus" >"$work/slice.c"
read -r _ _ slice_kb < <(runs=1 best_run "$work/slice.out" wine "$build/quillmerec.exe" -q -t 8 -o "$(winpath "$work/slice.out")" \
    "$(winpath "$work/slice.c")")

same=no
cmp -s "$work/expand.out" "$work/quillmerec.out" && same=yes
# Over the existing OUT: timed once, not deleted first.
/usr/bin/time -o "$work/time.txt" -f '%e' wine "$build/quillmerec.exe" -q -t 8 -o "$(winpath "$work/quillmerec.out")" \
    "$(winpath "$corpus")" >/dev/null 2>&1
read -r replace_wall <"$work/time.txt"
cmp -s "$work/expand.out" "$work/quillmerec.out" || same=no
mib=$(awk -v b="$bytes" 'BEGIN { printf "%.0f", b / 1048576 }')
printf 'input: %s MiB of real C source%s, best of %d runs each\n' "$mib" "${UTF8:+ (valid UTF-8)}" "$runs"
printf '  expand -t 8 IN > OUT        wall %7.2f s   cpu %7.2f s   peak %6d KB\n' "$expand_wall" "$expand_cpu" "$expand_kb"
printf '  quillmerec -t 8 -o OUT IN   wall %7.2f s   cpu %7.2f s   peak %6d KB (under Wine, start-up included)\n' \
    "$quill_wall" "$quill_cpu" "$quill_kb"
printf '  quillmerec over its own OUT wall %7.2f s   (the new OUT flushed to the disk before it replaces the old)\n' \
    "$replace_wall"
printf '  quillmerec over 16 MiB                                    peak %6d KB\n' "$slice_kb"
awk -v e="$expand_wall" -v q="$quill_wall" -v ec="$expand_cpu" -v qc="$quill_cpu" 'BEGIN {
    printf "  quillmerec is %.2fx as fast as expand by wall time, %.2fx by CPU time\n", (q > 0 ? e / q : 0), (qc > 0 ? ec / qc : 0) }'
printf '  outputs identical: %s\n' "$same"
[[ $same == yes || ${UTF8:-} == 1 ]]
