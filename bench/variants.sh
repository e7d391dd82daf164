#!/usr/bin/env bash
# Where the gap to the reference comes from: the reference launcher built with one of
# Tastomat's own costs added each (see reference_launcher.c), every variant against the
# plain reference in a run of its own, then Tastomat itself the same way. Prints the start,
# badge and memory rows of each run. Extra arguments go to the launcher bench.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
variants=(reference_styles reference_settings_folder reference_shape reference_show_steps
          reference_all)

echo "== building" >&2
cmake --preset win64 >/dev/null
cmake --build build/win64 --target Tastomat reference_launcher "${variants[@]}" start_stamp \
    focus_window >&2

source bench/wine_session.sh
rm -rf build/bench-work

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
rows='^figure|start ->|hotkey ->|after start'
for variant in "${variants[@]}" Tastomat; do
    echo
    echo "== $variant against reference_launcher (interleaved; \"ours\" is $variant)"
    against=()
    [ "$variant" = Tastomat ] || against=(--against "$variant")
    BENCH_BUILD="$root/build/win64" /usr/bin/python3 bench/launcher_bench.py \
        --work build/bench-work --short-only "${against[@]}" "$@" | grep -E "$rows"
done
echo "== machine after the run: load average $(cut -d' ' -f1-3 /proc/loadavg)"
