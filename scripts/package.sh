#!/usr/bin/env bash
# Installs what is missing, builds Orvan in Release and makes its Debian package:
# build-package/orvan_<version>_<arch>.deb, to install with `apt install ./build-package/orvan_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh --package
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DORVAN_TESTS=OFF >/dev/null
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack -G DEB)
