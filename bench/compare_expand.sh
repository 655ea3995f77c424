#!/usr/bin/env bash
# Times Quillmere's file converter against GNU expand and cat on the same generated inputs, in the
# same run, and prints the ratios. Usage: bench/compare_expand.sh BUILD_DIR [WORK_DIR]
# BUILD_DIR is a Release build of the native tree; WORK_DIR (default: a fresh folder in /dev/shm or
# the temporary folder) receives the inputs and outputs and is removed afterwards unless given.
set -euo pipefail

build=${1:?usage: compare_expand.sh BUILD_DIR [WORK_DIR]}
convert=$build/bench/convert_file
[[ -x $convert ]] || { echo "no $convert: build the native tree first" >&2; exit 1; }
if [[ -n ${2:-} ]]; then
    work=$2
    mkdir -p "$work"
else
    work=$(mktemp -d -p "$( [[ -w /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")")
    trap 'rm -rf "$work"' EXIT
fi
runs=${RUNS:-3}

# Best wall time of $runs runs, in nanoseconds.
best_ns() {
    local best=0 start end
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$@"
        end=$(date +%s%N)
        if (( best == 0 || end - start < best )); then best=$((end - start)); fi
    done
    echo "$best"
}

mbps() { awk -v b="$1" -v ns="$2" 'BEGIN { printf "%.0f", b / 1048576 / (ns / 1e9) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b / a }'; }

compare() {
    local name=$1 input=$2 bytes
    bytes=$(stat -c %s "$input")
    local t_cat t_expand t_tabs t_spaces
    t_cat=$(best_ns sh -c "cat '$input' > '$work/out_cat'")
    t_expand=$(best_ns sh -c "expand -t 8 '$input' > '$work/out_expand'")
    t_tabs=$(best_ns "$convert" tabs 8 "$input" "$work/out_tabs")
    t_spaces=$(best_ns "$convert" spaces 8 "$input" "$work/out_spaces")
    local agree=no
    cmp -s "$work/out_expand" "$work/out_tabs" && agree=yes
    echo "== $name: $((bytes / 1048576)) MiB, best of $runs runs"
    printf '  %-22s %6s MB/s\n' "cat" "$(mbps "$bytes" "$t_cat")" "expand -t 8" "$(mbps "$bytes" "$t_expand")" \
        "tab stops (width 8)" "$(mbps "$bytes" "$t_tabs")" "fixed number (8)" "$(mbps "$bytes" "$t_spaces")"
    echo "  tab-stop output identical to expand -t 8: $agree"
    echo "  tab stops    / expand: $(ratio "$t_tabs" "$t_expand")x   / cat: $(ratio "$t_tabs" "$t_cat")x"
    echo "  fixed number / expand: $(ratio "$t_spaces" "$t_expand")x   / cat: $(ratio "$t_spaces" "$t_cat")x"
    rm -f "$work"/out_*
}

"$convert" corpus source $((200 * 1048576)) "$work/source.txt"
"$convert" corpus oneline $((50 * 1048576)) "$work/oneline.txt"
compare "source-like text, CR LF lines" "$work/source.txt"
compare "one line, a tab every 1 to 7 characters" "$work/oneline.txt"
