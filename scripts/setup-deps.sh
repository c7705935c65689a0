#!/usr/bin/env bash
# Installs the Debian packages Orvan needs to build and run; with --tests also what the tests,
# benchmarks and fuzz targets need. Only what is missing is installed.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libjack-jackd2-dev jackd2)
if [ "${1:-}" = "--tests" ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
