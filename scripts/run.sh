#!/usr/bin/env bash
# Installs what is missing, builds Orvan and runs it; arguments go to orvan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DORVAN_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)"
exec build-release/orvan "$@"
