#!/usr/bin/env bash
# Builds everything into build/ and runs every test, then the checks of
# tools/ci-checks.sh (format, sanitizers, fuzz seeds). In CI (CI=true) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh --checks
werror=OFF
case "${CI:-}" in true | 1 | yes) werror=ON ;; esac
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIXTALLY_WERROR=$werror >/dev/null
cmake --build build -j"$(nproc)"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
./tools/ci-checks.sh
