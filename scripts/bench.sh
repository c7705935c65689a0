#!/usr/bin/env bash
# Installs what is missing, builds Orvan in Release with the benchmarks and runs them: the
# engine's throughput and the settings store's costs (Google Benchmark, no server), then the
# latency bench (the real binary on a private JACK server with the dummy driver: latency, pulse
# lengths, a flood, memory), note repeat against a transport master's beat grid, and Orvan's idle
# CPU beside a bare passthrough client.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DORVAN_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target orvan_bench_engine orvan_bench_store \
    orvan_bench_jack orvan_bench_repeat

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
build-bench/bench/orvan_bench_engine
build-bench/bench/orvan_bench_store
build-bench/bench/orvan_bench_jack
build-bench/bench/orvan_bench_repeat
bench/idle_cpu.sh build-bench/orvan 30
