#!/usr/bin/env bash
# Builds the whole program and its test suite once more with AddressSanitizer
# and UndefinedBehaviorSanitizer in ./build-asan and runs every test there.
# Any sanitizer report fails the test that produced it: every check aborts
# on its first report instead of going on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
dir=${VARDOSK_ASAN_DIR:-build-asan}
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
fi
cmake --build "$dir" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
# Leaks are reported too: a test that leaks fails.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 900
