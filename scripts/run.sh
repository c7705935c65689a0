#!/usr/bin/env bash
# Installs what is missing, builds Orvan and runs it; arguments go to orvan. When no JACK server
# is running, one is started with the dummy driver for the length of the run and stopped after.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DORVAN_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)"

# The server Orvan attaches to: the one named by --server, else JACK's default.
server="${JACK_DEFAULT_SERVER:-default}"
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
    case "${args[i]}" in
    --server) [ $((i + 1)) -lt ${#args[@]} ] && server="${args[i + 1]}" ;;
    --server=*) server="${args[i]#--server=}" ;;
    esac
done

running() { [ "$(jack_wait -c -s "$server" 2>/dev/null)" = "running" ]; }

if ! running; then
    log="${TMPDIR:-/tmp}/orvan-jackd-$$.log"
    echo "No JACK server \"$server\" is running: starting one with the dummy driver (log: $log)"
    jackd -n "$server" -d dummy -r 48000 -p 256 >"$log" 2>&1 &
    jackd_pid=$!
    trap 'kill "$jackd_pid" 2>/dev/null; wait "$jackd_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        running && break
        kill -0 "$jackd_pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
        sleep 0.1
    done
fi

if [ -z "${jackd_pid:-}" ]; then
    exec build-release/orvan "$@"
fi
# Orvan closes first when this script is asked to stop, then the server it used.
build-release/orvan "$@" &
orvan_pid=$!
trap 'kill -TERM "$orvan_pid" 2>/dev/null' INT TERM
# A signal ends the first wait early; the second gives Orvan's own status (bash keeps it).
wait "$orvan_pid" || true
status=0
wait "$orvan_pid" || status=$?
exit "$status"
