#!/usr/bin/env bash
# Idle CPU of Orvan beside a bare passthrough client (jack_thru, from jackd2's examples), side by
# side on a private JACK server (dummy driver, 48 kHz, 128 frames) over the same seconds, with
# nothing connected and nothing played: what Orvan costs a laptop on battery while it waits.
#   usage: bench/idle_cpu.sh [ORVAN_BINARY] [SECONDS]   (defaults: build-bench/orvan, 30)
# The window runs on the platform QT_QPA_PLATFORM names (default: offscreen), or under Xvfb when
# DISPLAY is set and QT_QPA_PLATFORM is not.
set -euo pipefail
orvan=${1:-build-bench/orvan}
seconds=${2:-30}
server=orvan-idle-$$
settings=$(mktemp -d)
jackd -n "$server" -d dummy -r 48000 -p 128 >/dev/null 2>&1 &
jackd_pid=$!
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    kill "$jackd_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$settings"
}
trap cleanup EXIT
timeout 10 jack_wait -s "$server" -w >/dev/null

platform=${QT_QPA_PLATFORM:-$([ -n "${DISPLAY:-}" ] && echo xcb || echo offscreen)}
XDG_CONFIG_HOME=$settings QT_QPA_PLATFORM=$platform "$orvan" --server "$server" >/dev/null 2>&1 &
pids+=($!)
JACK_DEFAULT_SERVER=$server jack_thru >/dev/null 2>&1 &
pids+=($!)
sleep 3 # start-up ends, the window goes idle

# User and system time of a process, in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
before=($(ticks "${pids[0]}") $(ticks "${pids[1]}"))
sleep "$seconds"
after=($(ticks "${pids[0]}") $(ticks "${pids[1]}"))
hz=$(getconf CLK_TCK)
percent() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }
echo "idle over ${seconds}s on $platform: orvan $(percent $((after[0] - before[0]))) % of a core," \
     "jack_thru $(percent $((after[1] - before[1]))) %"
