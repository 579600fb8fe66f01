#!/usr/bin/env bash
# The checks ./test.sh runs after the normal build and its tests:
#   format  every C++ file of src/ tests/ bench/ tools/ as the repository's clang-format writes it
#   asan    the core tests built with AddressSanitizer + UndefinedBehaviorSanitizer
#           (CMake preset "asan", build-asan/, no Qt parts)
#   fuzz    the checked-in seeds of tests/data/fuzz-seeds/<target>/ replayed through the
#           libFuzzer targets of tools/fuzz (build-fuzz/); skipped when clang cannot build them
#
#   tools/ci-checks.sh [format] [asan] [fuzz]     (all three when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="$(nproc)"
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(format asan fuzz)
summary=()

format_check() {
    local tool=""
    for candidate in clang-format-14 clang-format; do
        if command -v "$candidate" >/dev/null; then tool="$candidate"; break; fi
    done
    if [ -z "$tool" ]; then
        echo "format: clang-format not found (Debian package clang-format)" >&2
        return 1
    fi
    local files=()
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        # Tracked and new files alike, so that a file not yet added is checked too.
        mapfile -t files < <(git ls-files --cached --others --exclude-standard -- \
            'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
            'tools/*.cpp' 'tools/*.h' | sort -u)
    else
        mapfile -t files < <(find src tests bench tools -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
    fi
    local f present=()
    for f in "${files[@]}"; do [ -f "$f" ] && present+=("$f"); done
    files=("${present[@]}")
    if [ ${#files[@]} -eq 0 ]; then
        echo "format: no C++ files found" >&2
        return 1
    fi
    # One run over all files; each difference is reported as "FILE:LINE:COL: error: ...".
    local output status=0 differ=()
    output="$("$tool" --dry-run -Werror "${files[@]}" 2>&1)" || status=$?
    mapfile -t differ < <(printf '%s\n' "$output" |
        sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
    if [ $status -ne 0 ] && [ ${#differ[@]} -eq 0 ]; then
        printf '%s\n' "$output" >&2
        echo "format: $tool failed" >&2
        return 1
    fi
    if [ ${#differ[@]} -gt 0 ]; then
        echo "format: ${#differ[@]} of ${#files[@]} files differ from $("$tool" --version):" >&2
        printf '  %s\n' "${differ[@]}" >&2
        echo "format: fix them with: $tool -i ${differ[*]}" >&2
        return 1
    fi
    echo "format: ${#files[@]} files as $tool writes them"
}

asan_check() {
    cmake --preset asan >/dev/null
    cmake --build --preset asan -j "$jobs"
    ctest --preset asan -j "$jobs"
}

# clang++ with the libFuzzer runtime; a plain clang without it cannot link the targets.
clang_can_fuzz() {
    command -v clang++ >/dev/null || return 1
    local probe
    probe="$(mktemp -d)"
    printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
        >"$probe/probe.cpp"
    local status=0
    clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
        >/dev/null 2>&1 || status=1
    rm -rf "$probe"
    return $status
}

fuzz_replay() {
    if ! clang_can_fuzz; then
        echo "fuzz: SKIPPED: clang++ with libFuzzer not found (Debian packages clang, libclang-rt-dev)"
        summary+=("fuzz    skipped (no clang)")
        return 0
    fi
    CC=clang CXX=clang++ cmake -S tools/fuzz -B build-fuzz >/dev/null
    cmake --build build-fuzz -j "$jobs"
    local dir target seeds
    for dir in tests/data/fuzz-seeds/*/; do
        target="$(basename "$dir")"
        if [ ! -x "build-fuzz/$target" ]; then
            echo "fuzz: seed folder $dir has no fuzz target build-fuzz/$target" >&2
            return 1
        fi
        mapfile -t seeds < <(find "$dir" -type f | sort)
        # Files as arguments: each one runs once, no mutation.
        if ! "build-fuzz/$target" "${seeds[@]}" >"build-fuzz/$target.replay.log" 2>&1; then
            cat "build-fuzz/$target.replay.log" >&2
            echo "fuzz: $target failed on a seed of $dir" >&2
            return 1
        fi
        echo "fuzz: $target ran ${#seeds[@]} seeds"
    done
}

for step in "${steps[@]}"; do
    case "$step" in
    format) run=format_check ;;
    asan) run=asan_check ;;
    fuzz) run=fuzz_replay ;;
    *) echo "ci-checks: unknown step $step (format, asan, fuzz)" >&2; exit 2 ;;
    esac
    echo "=== $step"
    start=$SECONDS
    before=${#summary[@]}
    if ! "$run"; then
        echo "ci-checks: $step FAILED after $((SECONDS - start)) s" >&2
        exit 1
    fi
    [ ${#summary[@]} -gt "$before" ] || summary+=("$(printf '%-7s passed' "$step")")
    summary[-1]+=" in $((SECONDS - start)) s"
done
echo "=== ci-checks"
printf '  %s\n' "${summary[@]}"
