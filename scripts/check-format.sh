#!/usr/bin/env bash
# Checks that every C++ file of the tree is laid out as .clang-format says.
# Prints the files that are not and exits non-zero when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
bad=()
for f in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
        bad+=("$f")
    fi
done
if [ ${#bad[@]} -gt 0 ]; then
    printf 'Not formatted (run clang-format -i on them):\n'
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "format: ${#files[@]} files checked, all formatted"
