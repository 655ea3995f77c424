#!/usr/bin/env bash
# Times Quillmere's rules (tabs: tab stops of 8; spaces: 8 spaces per tab; kept: tab stops of 8 with
# line ends kept as they are, as the console program converts) against GNU expand -t 8,
# cat and memcpy on the same generated inputs, in the same run, and prints the ratios: the rules over
# the text held in memory, and file to file as the file jobs run them.
# Usage: bench/compare_expand.sh BUILD_DIR [WORK_DIR]
# BUILD_DIR is a Release build of the native tree; WORK_DIR (default: a fresh folder in /dev/shm or
# the temporary folder) receives the inputs and outputs and is removed afterwards unless given.
# The inputs: 200 MB of the system's own C source (real_source_corpus.sh), 200 MB of generated
# source-like text and one 50 MB line. The rules in memory are measured once per chunk loop the
# processor has (QM_SCAN_PATH); WIN_BUILD=build/win adds the 32-bit program's code under Wine.
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

# Best in-memory times of memcpy and of a rule over the input: "copy convert", in seconds.
best_in_memory() {
    "$convert" measure "$1" 8 "$2"
}

# The rules in memory on every chunk loop, natively and (with WIN_BUILD) under Wine, each against
# memcpy of the same blocks and against expand -t 8 > /dev/null timed in this run.
in_memory_paths() {
    local input=$1 bytes=$2 expand_seconds=$3 rule copy_convert program where path
    local programs=("$convert")
    [[ -n ${WIN_BUILD:-} ]] && programs+=("wine $WIN_BUILD/bench/win/convert_file.exe")
    for program in "${programs[@]}"; do
        where=native
        [[ $program == wine* ]] && where="32-bit under Wine"
        for path in sse2 avx2; do
            for rule in tabs spaces kept; do
                read -r -a copy_convert <<<"$(QM_SCAN_PATH=$path $program measure $rule 8 "$(win_path "$program" "$input")" 2>/dev/null)" || continue
                [[ ${#copy_convert[@]} -eq 2 ]] || continue
                printf '    %-18s %-5s %-7s %6s MB/s  %.2fx memcpy  %.2fx expand > /dev/null\n' "$where" "$path" "$rule" \
                    "$(mbps "$bytes" "${copy_convert[1]}")" "$(ratio "${copy_convert[1]}" "${copy_convert[0]}")" \
                    "$(ratio "${copy_convert[1]}" "$expand_seconds")"
            done
        done
    done
}

# Wine takes the input by its Windows name (the Z: drive).
win_path() { if [[ $1 == wine* ]]; then echo "Z:${2//\//\\}"; else echo "$2"; fi; }

compare() {
    local name=$1 input=$2 bytes
    bytes=$(stat -c %s "$input")
    local cat expand expand_null tabs spaces kept
    read -r -a cat <<<"$(best_times sh -c "cat '$input' > '$work/out_cat'")"
    read -r -a expand <<<"$(best_times sh -c "expand -t 8 '$input' > '$work/out_expand'")"
    read -r -a expand_null <<<"$(best_times sh -c "expand -t 8 '$input' > /dev/null")"
    read -r -a tabs <<<"$(best_times "$convert" tabs 8 "$input" "$work/out_tabs")"
    read -r -a spaces <<<"$(best_times "$convert" spaces 8 "$input" "$work/out_spaces")"
    read -r -a kept <<<"$(best_times "$convert" kept 8 "$input" "$work/out_kept")"
    local tabs_memory spaces_memory kept_memory
    read -r -a tabs_memory <<<"$(best_in_memory tabs "$input")"
    read -r -a spaces_memory <<<"$(best_in_memory spaces "$input")"
    read -r -a kept_memory <<<"$(best_in_memory kept "$input")"
    local agree=no kept_agree=no
    cmp -s "$work/out_expand" "$work/out_tabs" && agree=yes
    cmp -s "$work/out_expand" "$work/out_kept" && kept_agree=yes
    echo "== $name: $((bytes / 1048576)) MiB"
    echo "  in memory, 64 KiB blocks, best of 7:"
    printf '    %-22s %6s MB/s\n' memcpy "$(mbps "$bytes" "${tabs_memory[0]}")" \
        "tabs rule" "$(mbps "$bytes" "${tabs_memory[1]}")" "spaces rule" "$(mbps "$bytes" "${spaces_memory[1]}")" \
        "kept rule" "$(mbps "$bytes" "${kept_memory[1]}")"
    echo "  whole commands, best of $runs (wall time):"
    printf '    %-22s %6s MB/s\n' cat "$(mbps "$bytes" "${cat[0]}")" "expand -t 8 > file" "$(mbps "$bytes" "${expand[0]}")" \
        "expand -t 8 > /dev/null" "$(mbps "$bytes" "${expand_null[0]}")" "tabs file to file" "$(mbps "$bytes" "${tabs[0]}")" \
        "spaces file to file" "$(mbps "$bytes" "${spaces[0]}")" "kept file to file" "$(mbps "$bytes" "${kept[0]}")"
    echo "  tab-stop output identical to expand -t 8: $agree; kept line ends: $kept_agree"
    echo "  in memory on each chunk loop (expand -t 8 > /dev/null: best of $runs, CPU time ${expand_null[1]} s):"
    in_memory_paths "$input" "$bytes" "${expand_null[1]}"
    echo "  tabs rule:   $(ratio "${tabs_memory[1]}" "${tabs_memory[0]}")x memcpy," \
        "$(ratio "${tabs_memory[1]}" "${expand_null[0]}")x expand > /dev/null;" \
        "file to file $(ratio "${tabs[0]}" "${expand[0]}")x expand > file"
    echo "  spaces rule: $(ratio "${spaces_memory[1]}" "${spaces_memory[0]}")x memcpy," \
        "$(ratio "${spaces_memory[1]}" "${expand_null[0]}")x expand > /dev/null;" \
        "file to file $(ratio "${spaces[0]}" "${expand[0]}")x expand > file"
    echo "  kept rule:   $(ratio "${kept_memory[1]}" "${kept_memory[0]}")x memcpy," \
        "$(ratio "${kept_memory[1]}" "${expand_null[0]}")x expand > /dev/null;" \
        "file to file $(ratio "${kept[0]}" "${expand[0]}")x expand > file"
    rm -f "$work"/out_*
}

"$(dirname "$0")/real_source_corpus.sh" "$work/real.txt" $((200 * 1048576))
"$convert" corpus source $((200 * 1048576)) "$work/source.txt"
"$convert" corpus oneline $((50 * 1048576)) "$work/oneline.txt"
compare "real C source (system headers and sources), CR LF lines" "$work/real.txt"
compare "source-like text, CR LF lines" "$work/source.txt"
compare "one line, a tab every 1 to 7 characters" "$work/oneline.txt"
