#!/usr/bin/env bash
# Runs two fixtally-cli binaries over every log of examples/, tests/data and the shared
# corpus (../shared/corpus, when present) with the report, --status, --json, the track
# and averaged exports, --graph and --true, and compares stdout, stderr, exit code and
# every file written, byte for byte. Exits 1 on any difference.
#
#   tools/compare-cli-output.sh OLD_CLI NEW_CLI [OUT_DIR]
#
# Each run works on a copy of the log in its own folder, so that the exports written
# beside the log land there and never in the repository or the corpus. The old and the
# new binary run in the same folder path one after the other, so paths the program
# prints or writes are the same for both. OUT_DIR keeps the runs (a temporary folder,
# removed when everything matches, otherwise); JOBS sets the parallel runs (default 2).
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "usage: $0 OLD_CLI NEW_CLI [OUT_DIR]" >&2
    exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
old="$(realpath "$1")"
new="$(realpath "$2")"
for cli in "$old" "$new"; do
    [ -x "$cli" ] || { echo "$0: $cli is not an executable" >&2; exit 2; }
done
keep=0
if [ $# -eq 3 ]; then
    mkdir -p "$3"
    out="$(realpath "$3")"
    keep=1
    if [ -n "$(ls -A "$out")" ]; then
        echo "$0: $out is not empty" >&2
        exit 2
    fi
else
    out="$(mktemp -d "${TMPDIR:-/tmp}/fixtally-compare.XXXXXX")"
fi
jobs="${JOBS:-2}"

# The cases: a name and the options after the log. Spans and steps are in hours: the
# short ones give many windows on the corpus logs of a few minutes.
cases=(report status json track track-error track-reduce average average-short graph true)
case_args() {
    case "$1" in
    report) args=() ;;
    status) args=(--status) ;;
    json) args=(--json) ;;
    track) args=(--export-track) ;;
    track-error) args=(--export-track --with-error) ;;
    track-reduce) args=(--export-track --reduce 1 5) ;;
    average) args=(--export-average 1 0.25) ;;
    average-short) args=(--export-average 0.01 0.005) ;;
    graph) args=(--graph graph.png) ;;
    true) args=(--true "35 40 52.4N" "139 46 01.6E" 40 --report --json) ;;
    esac
}

# One case: the log copied into DIR/run, the binary started there with the log's plain
# name, then DIR/run renamed to DIR/SIDE/files beside stdout, stderr and the exit code.
run_side() {
    local dir="$1" side="$2" cli="$3" log="$4" name="$5"
    local run="$dir/run"
    mkdir -p "$run" "$dir/$side"
    cp -p "$log" "$run/"
    local code=0
    (cd "$run" && TZ=UTC LC_ALL=C QT_QPA_PLATFORM=offscreen \
        timeout 300 "$cli" "$(basename "$log")" "${args[@]}" \
        >"$dir/$side/stdout" 2>"$dir/$side/stderr" </dev/null) || code=$?
    echo "$code" >"$dir/$side/exit"
    mv "$run" "$dir/$side/files"
}

run_case() {
    local line="$1" id log name
    IFS=$'\t' read -r id log name <<<"$line"
    local args
    case_args "$name"
    local dir="$out/runs/$id-$name"
    run_side "$dir" old "$old" "$log" "$name"
    run_side "$dir" new "$new" "$log" "$name"
    if ! diff -r "$dir/old" "$dir/new" >"$dir/diff" 2>&1; then
        echo "$id-$name" >>"$out/differ.$BASHPID"
    fi
}

logs=()
sources=("$root/examples" "$root/tests/data")
corpus="$root/../shared/corpus"
[ -d "$corpus" ] && sources+=("$(realpath "$corpus")")
while IFS= read -r -d '' f; do logs+=("$f"); done < <(
    find "${sources[@]}" -type f \( -iname '*.nmea' -o -iname '*.nme' -o -iname '*.nma' \
        -o -iname '*.txt' -o -iname '*.log' -o -iname '*.ubx' -o -iname '*.csv' \
        -o -iname '*.pos' \) -print0 | sort -z)
if [ ${#logs[@]} -eq 0 ]; then
    echo "$0: no logs found" >&2
    exit 2
fi

list="$out/cases.tsv"
: >"$list"
n=0
for log in "${logs[@]}"; do
    n=$((n + 1))
    for name in "${cases[@]}"; do
        printf '%04d\t%s\t%s\n' "$n" "$log" "$name" >>"$list"
    done
done

echo "Comparing $old"
echo "     with $new"
echo "on ${#logs[@]} logs (${sources[*]#$root/}) x ${#cases[@]} cases, $jobs at a time"
start=$SECONDS
export old new out
export -f run_case run_side case_args
tr '\n' '\0' <"$list" | xargs -0 -P "$jobs" -n 1 bash -c 'run_case "$1"' _
elapsed=$((SECONDS - start))

runs=$(wc -l <"$list")
echo "$runs runs per binary in ${elapsed} s"
echo "exit codes: $(cat "$out"/runs/*/old/exit | sort -n | uniq -c | awk '{printf "%s%s x%s", sep, $2, $1; sep=", "}')"
differ=()
if compgen -G "$out/differ.*" >/dev/null; then
    mapfile -t differ < <(cat "$out"/differ.* | sort)
fi
if [ ${#differ[@]} -eq 0 ]; then
    echo "IDENTICAL: stdout, stderr, exit code and written files of every run"
    [ $keep -eq 1 ] || rm -rf "$out"
    exit 0
fi
echo "DIFFERENT: ${#differ[@]} of $runs runs (logs numbered in $list):"
for d in "${differ[@]}"; do
    id="${d%%-*}"
    echo "  $d  $(awk -F'\t' -v id="$id" '$1 == id { print $2; exit }' "$list")"
    head -n 5 "$out/runs/$d/diff" | sed 's/^/      /'
done
echo "The runs are kept in $out"
exit 1
