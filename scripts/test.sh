#!/usr/bin/env bash
# Builds both builds and runs every test: unit tests natively (sanitizers), unit and
# Win32 integration tests under Wine, end-to-end scenarios on the real exe under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --test-dir build/native --output-on-failure

echo "== win64 build"
cmake --preset win64 >/dev/null
cmake --build --preset win64

echo "== static checks"
scripts/lint.sh

source scripts/wine-env.sh
tastomat_wine_prefix "$root/build/wineprefix-test" fresh
tastomat_display own
trap 'wineserver -k 2>/dev/null || true; [ -n "${TASTOMAT_XVFB_PID:-}" ] && kill "$TASTOMAT_XVFB_PID" 2>/dev/null || true' EXIT

echo "== unit and Win32 tests under Wine"
ctest --test-dir build/win64 --output-on-failure

echo "== end-to-end scenarios under Wine"
export TASTOMAT_BUILD="$root/build/win64"
export TASTOMAT_ARTIFACTS="$root/artifacts"
python3 -m unittest discover -s tests/e2e -p 'test_*.py' -v
echo "All tests passed."
