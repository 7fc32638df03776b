#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each of them
# for SECONDS seconds (default 30), starting from the seeds in
# fuzz/corpus/<target>/. New inputs go to build-fuzz/corpus/<target>/; a crash
# leaves its input in build-fuzz/artifacts/ and makes the script fail.
# Usage: bash fuzz/run.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUIRTEL_BUILD_FUZZ=ON -DQUIRTEL_BUILD_GUI=OFF -DQUIRTEL_BUILD_TESTS=OFF \
    -DQUIRTEL_BUILD_BENCH=OFF >/dev/null
targets=$(sed -n 's/^quirtel_add_fuzzer(\([A-Za-z0-9_]*\).*/\1/p' fuzz/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build "$build" --target $targets -j "$(nproc)"

mkdir -p "$build/artifacts"
failed=()
for target in $targets; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    seeds=()
    [ -d "fuzz/corpus/$target" ] && seeds=("fuzz/corpus/$target")
    echo "== $target: ${seconds}s"
    if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
            "$corpus" "${seeds[@]}"; then
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found failures in: ${failed[*]} (inputs in $build/artifacts/)" >&2
    exit 1
fi
echo "fuzzing: ok"
