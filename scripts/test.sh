#!/usr/bin/env bash
# Installs what is missing, checks that the layers include only what is below them, builds with
# warnings as errors, and runs every test: once plain (then checks what it installs), once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then each fuzz target for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh --tests

scripts/check-layers.sh

jobs=$(nproc)
run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DORVAN_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

run_suite build
# scripts/run.sh starts the program from the top of its build tree.
[ -x build/orvan ] || { echo "the build does not make build/orvan, which scripts/run.sh starts"; exit 1; }
scripts/check-install.sh build
UBSAN_OPTIONS=print_stacktrace=1 run_suite build-asan -DORVAN_SANITIZE=ON

# Fuzzing, bounded: each target runs FUZZ_SECONDS (default 30) from its seed corpus.
fuzz_seconds=${FUZZ_SECONDS:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVAN_FUZZ=ON -DORVAN_TESTS=OFF -DORVAN_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$jobs"
for target in build-fuzz/tests/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue # not the build folders beside them
    name=$(basename "$target")
    corpus=$(mktemp -d)
    cp -r "tests/fuzz/corpus/${name#fuzz_}/." "$corpus/" 2>/dev/null || true
    echo "fuzzing $name for ${fuzz_seconds}s"
    status=0
    "$target" -max_total_time="$fuzz_seconds" -artifact_prefix="$corpus/" "$corpus" \
        >"$corpus.log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$corpus.log"
        echo "$name found a crash; the input is kept in $corpus"
        exit 1
    fi
    tail -n 1 "$corpus.log"
    rm -rf "$corpus" "$corpus.log"
done
