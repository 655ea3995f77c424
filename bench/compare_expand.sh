#!/usr/bin/env bash
# Times Quillmere's file converter (tabs: tab stops of 8; spaces: 8 spaces per tab) against GNU
# expand -t 8 and cat on the same generated inputs, in the same run, and prints the ratios. Usage: bench/compare_expand.sh BUILD_DIR [WORK_DIR]
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

# Best wall time and best CPU time (user + system) of $runs runs, in seconds: "wall cpu". On a
# shared machine the CPU time is the steadier figure; the wall time includes waiting for a CPU.
best_times() {
    local TIMEFORMAT='%3R %3U %3S' best_wall='' best_cpu='' times wall cpu
    for _ in $(seq "$runs"); do
        times=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
        read -r wall cpu < <(awk '{ print $1, $2 + $3 }' <<<"$times")
        best_wall=$(awk -v a="$wall" -v b="${best_wall:-$wall}" 'BEGIN { print (a < b ? a : b) }')
        best_cpu=$(awk -v a="$cpu" -v b="${best_cpu:-$cpu}" 'BEGIN { print (a < b ? a : b) }')
    done
    echo "$best_wall $best_cpu"
}

mbps() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.0f", (s > 0 ? b / 1048576 / s : 0) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (a > 0 ? b / a : 0) }'; }

compare() {
    local name=$1 input=$2 bytes
    bytes=$(stat -c %s "$input")
    local cat expand tabs spaces
    read -r -a cat <<<"$(best_times sh -c "cat '$input' > '$work/out_cat'")"
    read -r -a expand <<<"$(best_times sh -c "expand -t 8 '$input' > '$work/out_expand'")"
    read -r -a tabs <<<"$(best_times "$convert" tabs 8 "$input" "$work/out_tabs")"
    read -r -a spaces <<<"$(best_times "$convert" spaces 8 "$input" "$work/out_spaces")"
    local agree=no
    cmp -s "$work/out_expand" "$work/out_tabs" && agree=yes
    echo "== $name: $((bytes / 1048576)) MiB, best of $runs runs (MB/s by wall time, by CPU time)"
    local label times
    for label in cat expand tabs spaces; do
        local -n t=$label
        printf '  %-8s %6s MB/s wall %6s MB/s cpu\n' "$label" "$(mbps "$bytes" "${t[0]}")" "$(mbps "$bytes" "${t[1]}")"
    done
    echo "  tab-stop output identical to expand -t 8: $agree"
    echo "  tabs   / expand: $(ratio "${tabs[0]}" "${expand[0]}")x wall, $(ratio "${tabs[1]}" "${expand[1]}")x cpu;" \
        "/ cat: $(ratio "${tabs[0]}" "${cat[0]}")x wall"
    echo "  spaces / expand: $(ratio "${spaces[0]}" "${expand[0]}")x wall, $(ratio "${spaces[1]}" "${expand[1]}")x cpu;" \
        "/ cat: $(ratio "${spaces[0]}" "${cat[0]}")x wall"
    rm -f "$work"/out_*
}

"$convert" corpus source $((200 * 1048576)) "$work/source.txt"
"$convert" corpus oneline $((50 * 1048576)) "$work/oneline.txt"
compare "source-like text, CR LF lines" "$work/source.txt"
compare "one line, a tab every 1 to 7 characters" "$work/oneline.txt"
