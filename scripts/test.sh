#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once plain, once under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh

jobs=$(nproc)
run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

run_suite build
UBSAN_OPTIONS=print_stacktrace=1 run_suite build-asan -DORVAN_SANITIZE=ON
