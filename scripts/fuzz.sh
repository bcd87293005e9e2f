#!/bin/sh
# Builds the libFuzzer targets of tests/fuzz with clang (with AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-fuzz/) and runs each for a bounded time, starting from its
# corpus in tests/fuzz/corpus/<target>/. Fails when a target finds an input that crashes or breaks
# one of its properties; that input is kept as build-fuzz/crash-<target>-<hash>.
#   FUZZ_SECONDS  seconds per target (default 20)
#   FUZZ_JOBS     targets run at once (default 2, one a core)
#   MERGE=1       afterwards, adds the inputs that reached new code to the corpus (to commit)
# With --install-only it only installs what is missing.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh clang libclang-rt-14-dev
[ "${1:-}" = --install-only ] && exit 0
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIGMORA_FUZZ=ON -DBUILD_TESTING=OFF
targets="numeric_reading text_forms scheme_file css_colour json_import gpl_import token_import"
for target in $targets; do
    cmake --build build-fuzz -j2 --target "fuzz_$target"
done

# One fuzzer on each core: FUZZ_JOBS at a time.
fuzz_one() {
    target=$1
    fuzzer="build-fuzz/tests/fuzz/fuzz_$target"
    log="build-fuzz/fuzz_$target.log"
    # New inputs go to a scratch folder; the committed corpus is only read.
    scratch=$(mktemp -d)
    status=0
    "$fuzzer" -max_total_time="${FUZZ_SECONDS:-20}" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/crash-$target-" \
        "$scratch" "tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log"
        rm -rf "$scratch"
        echo "fuzz_$target failed (exit $status); the whole output is in $log"
        return 1
    fi
    echo "== fuzz_$target, ${FUZZ_SECONDS:-20} s"
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log" || true
    if [ "${MERGE:-0}" = 1 ]; then
        "$fuzzer" -merge=1 "tests/fuzz/corpus/$target" "$scratch" >>"$log" 2>&1
    fi
    rm -rf "$scratch"
}

failed=0
# shellcheck disable=SC2086 # the list is meant to split into words
set -- $targets
while [ $# -gt 0 ]; do
    pids=""
    n=0
    while [ $# -gt 0 ] && [ "$n" -lt "${FUZZ_JOBS:-2}" ]; do
        fuzz_one "$1" &
        pids="$pids $!"
        shift
        n=$((n + 1))
    done
    for pid in $pids; do
        wait "$pid" || failed=1
    done
done
exit "$failed"
