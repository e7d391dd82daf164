#!/usr/bin/env bash
# Builds the fuzz targets (clang 14, libFuzzer, AddressSanitizer, UBSan) and runs each.
#   scripts/fuzz.sh [seconds per target, default 15] [target ...]
# Every target listed in fuzz/CMakeLists.txt runs when none is named. Inputs the fuzzer
# finds go to build/fuzz/corpus/<target> (the seeds in fuzz/corpus stay as they are); a
# crash, leak, time-out or sanitizer report stops the script and leaves the input that
# caused it in build/fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-15}"
shift || true

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for exe in build/fuzz/fuzz/fuzz_*; do targets+=("${exe##*/fuzz_}"); done
fi

for target in "${targets[@]}"; do
    corpus="build/fuzz/corpus/$target"
    findings="build/fuzz/findings/$target"
    mkdir -p "$corpus" "$findings"
    args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192
          -print_final_stats=1 -artifact_prefix="$findings/")
    [ -f "fuzz/$target.dict" ] && args+=(-dict="fuzz/$target.dict")
    seeds=()
    [ -d "fuzz/corpus/$target" ] && seeds+=("fuzz/corpus/$target")
    log="build/fuzz/$target.log"
    echo "== fuzz $target for ${seconds}s"
    if ! "build/fuzz/fuzz/fuzz_$target" "${args[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
        tail -n 80 "$log" >&2
        echo "fuzz $target failed; the input is in $findings/, the whole output in $log" >&2
        exit 1
    fi
    grep -e '^Done' -e '^stat::number_of_executed_units' -e '^stat::new_units_added' "$log"
done
echo "Fuzzing found nothing."
