#!/bin/sh
# Formats the C++ sources with the project's .clang-format, or with --check only reports the files that
# differ from it (and fails when there are any). Generated sources are left as their generator writes them.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

command -v clang-format >/dev/null || { echo "format.sh: clang-format is missing (scripts/setup.sh installs it)" >&2; exit 2; }

sources=$(git ls-files '*.cpp' '*.h' | grep -v -x -e 'src/core/display_width_table.cpp')

if [ "$1" = "--check" ]; then
    differing=""
    for file in $sources; do
        clang-format "$file" | cmp -s - "$file" || differing="$differing $file"
    done
    if [ -n "$differing" ]; then
        echo "Not formatted (run scripts/format.sh):"
        for file in $differing; do echo "  $file"; done
        exit 1
    fi
    echo "All $(echo "$sources" | wc -l) sources are formatted."
    exit 0
fi

echo "$sources" | xargs clang-format -i
