#!/usr/bin/env bash
# Builds the libFuzzer harnesses (fuzz/, clang with the address and
# undefined-behaviour sanitizers) in ./build-fuzz and runs each of them in
# turn for SECONDS_PER_TARGET seconds (default 60), starting from the seed
# corpus kept in fuzz/corpus/<target>. New inputs gather in
# build-fuzz/corpus/<target>; a crash, a sanitizer report, a broken property
# or a hang is kept in build-fuzz/findings/<target>/ and makes the script
# fail. Prints one line per target: executions, executions per second, and
# findings.
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#   scripts/fuzz.sh --seeds     rewrite fuzz/corpus from the sample records
#
# FUZZ_RUNS=N stops each target after N executions instead (the seconds are
# then only an upper bound), for long runs of a fixed size:
#   FUZZ_RUNS=10000000 scripts/fuzz.sh 86400 fuzz_meterfile
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup-deps.sh
dir=${VARDOSK_FUZZ_DIR:-build-fuzz}
if [ ! -f "$dir/build.ninja" ]; then
    launcher=()
    if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DVARDOSK_FUZZ=ON "${launcher[@]}" >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)" --target fuzzers fuzz-seeds

if [ "${1:-}" = "--seeds" ]; then
    "$dir/bin/fuzz-seeds" "$root/fuzz/corpus"
    exit 0
fi

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for src in fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

failed=0
summary=()
for t in "${targets[@]}"; do
    work="$dir/corpus/$t"
    findings="$dir/findings/$t"
    mkdir -p "$work" "$findings"
    log="$dir/findings/$t.log"
    set +e
    runs=()
    if [ -n "${FUZZ_RUNS:-}" ]; then runs=(-runs="$FUZZ_RUNS"); fi
    "$dir/bin/$t" -max_total_time="$seconds" "${runs[@]}" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "fuzz/corpus/$t" >"$log" 2>&1
    rc=$?
    set -e
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    if [ "$rc" -ne 0 ] && [ "$found" -eq 0 ]; then found=1; fi
    if [ "$found" -ne 0 ]; then
        failed=1
        echo "---- $t: finding (log $log)"
        grep -E 'ERROR|property violated|SUMMARY|Test unit written' "$log" | head -20 || true
    fi
    summary+=("$(printf '%-18s %12s executions %8s/s  %s findings' "$t" "${execs:-0}" "${rate:-0}" "$found")")
done
echo "fuzzing summary (${seconds} s per target):"
printf '  %s\n' "${summary[@]}"
exit "$failed"
