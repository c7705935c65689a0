#!/usr/bin/env bash
# Installs the Debian packages Orvan needs to build and run; with --tests also what the tests,
# benchmarks, fuzz targets and the install check need, with --package what the Debian package
# needs. Only what is missing is installed.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libjack-jackd2-dev libre2-dev libtomlplusplus-dev jackd2 help2man)
case "${1:-}" in
--tests)
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
        desktop-file-utils appstream man-db)
    ;;
--package) packages+=(dpkg-dev file) ;; # dpkg-shlibdeps, and the tool CPack spots binaries with
esac
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
