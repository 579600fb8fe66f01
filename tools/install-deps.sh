#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping what is
# already there. Runs apt-get update once, only when something is missing.
# --checks adds what tools/ci-checks.sh uses: clang-format, and clang with the libFuzzer
# runtime (small next to the LLVM libraries clang-format already pulls in).
set -euo pipefail
packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev qt6-charts-dev
          libqt6opengl6-dev
          libgeographiclib-dev libcli11-dev nlohmann-json3-dev xvfb xauth poppler-utils)
if [ "${1:-}" = "--checks" ]; then
    packages+=(clang-format clang libclang-rt-dev)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
