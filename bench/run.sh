#!/usr/bin/env bash
# Tastomat against the reference launcher under Wine + Xvfb, then the settings file against
# plain file I/O natively; prints both tables. Extra arguments go to the launcher bench
# (see python3 bench/launcher_bench.py --help), e.g. --repetitions 20.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

echo "== building" >&2
cmake --preset win64 >/dev/null
cmake --build build/win64 --target Tastomat reference_launcher start_stamp focus_window >&2
# The native bench without sanitizers and with optimisation: it times code, not checks.
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTASTOMAT_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench --target settings_file_bench >&2

source bench/wine_session.sh
rm -rf build/bench-work

echo "== machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== launcher: Tastomat.exe against bench/reference_launcher.exe (interleaved)"
# python3-xlib is a Debian package: the system interpreter, whatever else is on PATH.
BENCH_BUILD="$root/build/win64" /usr/bin/python3 bench/launcher_bench.py --work build/bench-work "$@"

echo
echo "== executable: size and what it is made of"
python3 bench/exe_size.py build/win64/Tastomat.exe build/win64/bench/reference_launcher.exe

echo
echo "== settings file: load + save against plain file I/O (native)"
build/bench/bench/settings_file_bench --benchmark_repetitions=15 \
    --benchmark_report_aggregates_only=true --benchmark_min_time=0.05 | tee build/bench-work/settings.txt
python3 - build/bench-work/settings.txt <<'PY'
import re, sys
med = {}
for line in open(sys.argv[1]):
    m = re.match(r"(\w+)_median\s+([\d.]+) us\s+([\d.]+) us", line)
    if m:
        med[m.group(1)] = (float(m.group(2)), float(m.group(3)))
ours, plain = med["settings_load_and_save"], med["plain_read_read_write"]
print(f"settings load + save / plain file I/O (medians): {ours[0] / plain[0]:.2f} in time, "
      f"{ours[1] / plain[1]:.2f} in CPU time")
PY
echo "== machine after the run: load average $(cut -d' ' -f1-3 /proc/loadavg)"
