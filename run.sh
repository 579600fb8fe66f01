#!/usr/bin/env bash
# Builds Fixtally and runs it on LOG (an example log when none is given).
# LOG and every other path are taken from the folder the script is called from.
# With a display, the desktop program built and no fixtally-cli output option, the
# window opens; otherwise fixtally-cli runs with the options given (the report when
# there are none). Build output goes to standard error, so that
#     ./run.sh LOG --json | jq .
# gets only the JSON, and the exit code is fixtally-cli's.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ $# -gt 0 ]; then
    log="$1"
    shift
else
    log="$here/examples/static-1hz-hour.nmea"
fi

cli_output=false
for arg in "$log" "$@"; do
    case "$arg" in
        --report|--status|--json|--export-track|--export-average|--graph|--graph-plain|--pdf|--timeplot|--accuracy|--compare|--help|-h|--version|\
        --graph=*|--graph-plain=*|--pdf=*|--timeplot=*)
            cli_output=true ;;
    esac
done

{
    "$here/tools/install-deps.sh"
    cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$here/build" -j"$(nproc)" --target fixtally-cli >/dev/null
} 1>&2

if ! $cli_output && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] &&
    cmake --build "$here/build" -j"$(nproc)" --target fixtally >/dev/null 2>&1 &&
    [ -x "$here/build/fixtally" ]; then
    exec "$here/build/fixtally" "$log" "$@"
fi
if $cli_output; then
    exec "$here/build/fixtally-cli" "$log" "$@"
fi
status=0
"$here/build/fixtally-cli" "$log" --report --accuracy "$@" || status=$?
{
    echo
    if [ -x "$here/build/fixtally" ]; then
        echo "(No display: the report above comes from fixtally-cli. Start the desktop program with: build/fixtally \"$log\")"
    else
        echo "(The report above comes from fixtally-cli, the headless program.)"
    fi
} 1>&2
exit $status
