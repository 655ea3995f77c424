#!/usr/bin/env bash
# The native quillmerec against GNU expand over the same real C source (real_source_corpus.sh) in the
# same run, start-up and the verification read included: file to file (quillmerec -t 8 -o OUT IN
# against expand -t 8 IN > OUT, OUT deleted before each run), standard input redirected from the file
# (PROGRAM -t 8 < IN > OUT), and standard input to standard output through pipes
# (cat IN | PROGRAM -t 8 | cat > OUT). Prints the best wall and CPU time of each
# (RUNS runs, default 3), the ratios, a plain copy's times (cat IN > OUT, and cat IN | cat | cat > OUT:
# what reading and writing the bytes alone costs, so the most any converter can gain), the peak memory of each beside the program's peak over a
# 16 MiB slice (flat memory: the two are alike), and whether the outputs are the same bytes.
# Usage: bench/native_vs_expand.sh NATIVE_BUILD [WORK_DIR]
# BYTES sets the corpus size (default 1 GiB); UTF8=1 makes the corpus valid UTF-8 (the program then
# counts display columns where expand counts bytes, so the outputs may differ).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: native_vs_expand.sh NATIVE_BUILD [WORK_DIR]}" && pwd)
program=$build/quillmerec
[[ -x $program ]] || { echo "no $program: build the native tree first" >&2; exit 1; }
if [[ -n ${2:-} ]]; then
    work=$(mkdir -p "$2" && cd "$2" && pwd)
else
    work=$(mktemp -d -p "${TMPDIR:-/tmp}")
    trap 'rm -rf "$work"' EXIT
fi
runs=${RUNS:-3}
bytes=${BYTES:-$((1024 * 1048576))}
corpus=$work/corpus${UTF8:+-utf8}.c
if [[ ! -f $corpus || $(stat -L -c %s "$corpus") -ne $bytes ]]; then
    "$root/bench/real_source_corpus.sh" "$corpus" "$bytes"
fi

# Best wall time, best CPU time (user + system, children included) and largest resident set in KB of
# $runs runs of the shell command, with OUT deleted before each: "wall cpu kb".
best_run() {
    local out=$1 command=$2 best_wall='' best_cpu='' best_kb=0 wall user system kb
    for _ in $(seq "$runs"); do
        rm -f "$out"
        /usr/bin/time -o "$work/time.txt" -f '%e %U %S %M' sh -c "$command" >/dev/null 2>&1
        read -r wall user system kb <"$work/time.txt"
        best_wall=$(awk -v a="$wall" -v b="${best_wall:-$wall}" 'BEGIN { print (a < b ? a : b) }')
        best_cpu=$(awk -v a="$user" -v s="$system" -v b="$best_cpu" 'BEGIN { c = a + s; print (b == "" || c < b ? c : b) }')
        ((kb > best_kb)) && best_kb=$kb
    done
    echo "$best_wall $best_cpu $best_kb"
}

export corpus work program
read -r ef_wall ef_cpu ef_kb < <(best_run "$work/expand.out" 'expand -t 8 "$corpus" > "$work/expand.out"')
read -r qf_wall qf_cpu qf_kb < <(best_run "$work/quill.out" '"$program" -q -t 8 -o "$work/quill.out" "$corpus"')
read -r er_wall er_cpu er_kb < <(best_run "$work/expand-redirected.out" 'expand -t 8 < "$corpus" > "$work/expand-redirected.out"')
read -r qr_wall qr_cpu qr_kb < <(best_run "$work/quill-redirected.out" '"$program" -q -t 8 < "$corpus" > "$work/quill-redirected.out"')
read -r ep_wall ep_cpu ep_kb < <(best_run "$work/expand-pipe.out" 'cat "$corpus" | expand -t 8 | cat > "$work/expand-pipe.out"')
read -r qp_wall qp_cpu qp_kb < <(best_run "$work/quill-pipe.out" 'cat "$corpus" | "$program" -q -t 8 | cat > "$work/quill-pipe.out"')
read -r cf_wall cf_cpu _ < <(best_run "$work/copy.out" 'cat "$corpus" > "$work/copy.out"')
read -r cp_wall cp_cpu _ < <(best_run "$work/copy-pipe.out" 'cat "$corpus" | cat | cat > "$work/copy-pipe.out"')
rm -f "$work/copy.out" "$work/copy-pipe.out"
head -c $((16 * 1048576)) "$corpus" >"$work/slice.c"
export slice=$work/slice.c
read -r _ _ slice_kb < <(runs=1 best_run "$work/slice.out" '"$program" -q -t 8 -o "$work/slice.out" "$slice"')
read -r _ _ slice_pipe_kb < <(runs=1 best_run "$work/slice-pipe.out" 'cat "$slice" | "$program" -q -t 8 | cat > "$work/slice-pipe.out"')

same_file=no same_redirected=no same_pipe=no
cmp -s "$work/expand.out" "$work/quill.out" && same_file=yes
cmp -s "$work/expand-redirected.out" "$work/quill-redirected.out" && same_redirected=yes
cmp -s "$work/expand-pipe.out" "$work/quill-pipe.out" && same_pipe=yes
mib=$(awk -v b="$bytes" 'BEGIN { printf "%.0f", b / 1048576 }')
printf 'input: %s MiB of real C source%s, best of %d runs each\n' "$mib" "${UTF8:+ (valid UTF-8)}" "$runs"
row() { printf '  %-44s wall %6.2f s   cpu %6.2f s   peak %7d KB\n' "$1" "$2" "$3" "$4"; }
row 'expand -t 8 IN > OUT' "$ef_wall" "$ef_cpu" "$ef_kb"
row 'quillmerec -t 8 -o OUT IN' "$qf_wall" "$qf_cpu" "$qf_kb"
row 'expand -t 8 < IN > OUT' "$er_wall" "$er_cpu" "$er_kb"
row 'quillmerec -t 8 < IN > OUT' "$qr_wall" "$qr_cpu" "$qr_kb"
row 'cat IN | expand -t 8 | cat > OUT' "$ep_wall" "$ep_cpu" "$ep_kb"
row 'cat IN | quillmerec -t 8 | cat > OUT' "$qp_wall" "$qp_cpu" "$qp_kb"
row 'cat IN > OUT (a copy)' "$cf_wall" "$cf_cpu" 0
row 'cat IN | cat | cat > OUT (a copy)' "$cp_wall" "$cp_cpu" 0
printf '  quillmerec over a 16 MiB slice: peak %d KB to a file, %d KB through pipes\n' "$slice_kb" "$slice_pipe_kb"
ratio() { awk -v e="$1" -v q="$2" 'BEGIN { printf "%.2f", (q > 0 ? e / q : 0) }'; }
printf '  file to file: %sx as fast as expand by wall time, %sx by CPU time; outputs identical: %s\n' \
    "$(ratio "$ef_wall" "$qf_wall")" "$(ratio "$ef_cpu" "$qf_cpu")" "$same_file"
printf '  redirected: %sx as fast as expand by wall time, %sx by CPU time; outputs identical: %s\n' \
    "$(ratio "$er_wall" "$qr_wall")" "$(ratio "$er_cpu" "$qr_cpu")" "$same_redirected"
printf '  through pipes: %sx as fast as expand by wall time, %sx by CPU time; outputs identical: %s\n' \
    "$(ratio "$ep_wall" "$qp_wall")" "$(ratio "$ep_cpu" "$qp_cpu")" "$same_pipe"
printf '  a plain copy is %sx (file) and %sx (pipes) as fast as expand by CPU time\n' \
    "$(ratio "$ef_cpu" "$cf_cpu")" "$(ratio "$ep_cpu" "$cp_cpu")"
[[ ${UTF8:-} == 1 || ($same_file == yes && $same_redirected == yes && $same_pipe == yes) ]]
