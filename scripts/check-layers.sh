#!/usr/bin/env bash
# Fails when a layer includes what it must not: the engine, the host's core and the settings
# store use the standard library only (the settings store and scene files read the engine's
# types, and a TOML parser); only host/jack/ talks to JACK, only ui/ and app/ to Qt.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
check() {
    local pattern=$1 what=$2; shift 2
    local hits
    hits=$(grep -rnE "^\s*#\s*include\s*[<\"]($pattern)" "$@" --include='*.h' --include='*.cpp' || true)
    if [ -n "$hits" ]; then
        echo "$what:"
        echo "$hits"
        status=1
    fi
}
qt='Q[A-Za-z]+|Qt[A-Za-z]*/'
check "$qt|jack/" "engine/ includes Qt or JACK" engine
check "$qt|jack/|host/jack/" "host/ (its core) includes Qt or JACK" host --exclude-dir=jack
check "$qt" "host/jack/ includes Qt" host/jack
check "$qt|jack/|host/|ui/" "settings/ includes another layer than the engine" settings
check "app/" "a layer below app/ includes it" engine host settings ui
check "ui/" "a layer below ui/ includes it" engine host settings
[ $status -eq 0 ] && echo "layers: every include points down"
exit $status
