#!/usr/bin/env bash
# Builds Fixtally and runs it on LOG (an example log when none is given).
# With a display and the desktop program built, the window opens; otherwise the
# report of the log is printed by fixtally-cli.
set -euo pipefail
cd "$(dirname "$0")"
log="${1:-examples/static-1hz-hour.nmea}"
[ $# -gt 0 ] && shift
./tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target fixtally-cli >/dev/null
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && cmake --build build -j"$(nproc)" --target fixtally >/dev/null 2>&1 && [ -x build/fixtally ]; then
    exec build/fixtally "$log" "$@"
fi
build/fixtally-cli "$log" --report --accuracy "$@"
echo
if [ -x build/fixtally ]; then
    echo "(No display: the report above comes from fixtally-cli. Start the desktop program with: build/fixtally \"$log\")"
else
    echo "(The report above comes from fixtally-cli, the headless program.)"
fi
