#!/usr/bin/env bash
# Builds both builds and runs every test: unit tests natively (sanitizers), again under
# ThreadSanitizer with the threaded ones repeated, a short run of each fuzz target, unit and
# Win32 integration tests under Wine, end-to-end scenarios on the real exe under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --test-dir build/native --output-on-failure

echo "== ThreadSanitizer build and unit tests, the threaded ones repeated"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
# Side by side: the repeated tests mostly wait for their deadlines.
ctest --test-dir build/tsan --output-on-failure -j 4

echo "== fuzz targets, a short run each"
scripts/fuzz.sh 15

echo "== win64 build"
cmake --preset win64 >/dev/null
cmake --build --preset win64

echo "== static checks"
scripts/lint.sh

source scripts/wine-env.sh
tastomat_wine_prefix "$root/build/wineprefix-test" fresh
# Start-up, hotkey and launch once more on the oldest Windows supported, from a copy taken
# while the prefix is fresh (the runs below leave their traces in it).
win7_prefix="$root/build/wineprefix-win7"
tastomat_win7_prefix "$WINEPREFIX" "$win7_prefix"
tastomat_wine_prefix "$root/build/wineprefix-test"
tastomat_display own
full_disk="$root/build/full-disk"
trap 'wineserver -k 2>/dev/null || true; [ -n "${TASTOMAT_XVFB_PID:-}" ] && kill "$TASTOMAT_XVFB_PID" 2>/dev/null || true; umount "$full_disk" 2>/dev/null || true' EXIT

# A small file system for the disk-full test; where mounting is not allowed, that one
# test is skipped and says so.
mkdir -p "$full_disk"
if mountpoint -q "$full_disk" || mount -t tmpfs -o size=512k tastomat-full-disk "$full_disk" 2>/dev/null; then
    export TASTOMAT_FULL_DISK="$full_disk"
else
    echo "note: cannot mount a small file system; the disk-full test will be skipped"
fi

echo "== unit and Win32 tests under Wine"
ctest --test-dir build/win64 --output-on-failure

echo "== end-to-end scenarios under Wine"
export TASTOMAT_BUILD="$root/build/win64"
export TASTOMAT_ARTIFACTS="$root/artifacts"
# The https scenarios trust an authority of their own for as long as they run and take it
# out again; one left behind by a run that was killed goes here.
if ls /usr/local/share/ca-certificates/tastomat-test-* >/dev/null 2>&1; then
    rm -f /usr/local/share/ca-certificates/tastomat-test-*
    find /etc/ssl/certs -xtype l -delete
    update-ca-certificates >/dev/null
fi
python3 -m unittest discover -s tests/e2e -p 'test_*.py' -v

echo "== start, hotkey and launch scenarios with Wine as Windows 7"
win7_started=$SECONDS
wineserver -k 2>/dev/null || true
tastomat_wine_prefix "$win7_prefix"
(cd tests/e2e && TASTOMAT_ARTIFACTS="$root/artifacts/win7" \
    python3 -m unittest -v test_first_start test_hotkey_taken test_launch)
echo "Windows 7 rerun: $((SECONDS - win7_started)) s"
echo "All tests passed."
