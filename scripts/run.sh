#!/usr/bin/env bash
# Builds Tastomat.exe and starts it under Wine: on your display, or on a virtual one
# (then a screenshot of the running program is left in artifacts/run.png).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Tastomat

source scripts/wine-env.sh
tastomat_wine_prefix "$root/build/wineprefix-run"
had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then had_display=0; fi
tastomat_display

if [ "$had_display" = 1 ]; then
    echo "Starting Tastomat: its icon is in the tray; Alt+F12 brings up the launcher."
    exec wine "$root/build/win64/Tastomat.exe"
fi

wine "$root/build/win64/Tastomat.exe" &
for _ in $(seq 100); do
    xdotool search --name 'Wine System Tray|TastomatPorable' >/dev/null 2>&1 && break
    sleep 0.2
done
mkdir -p artifacts
import -window root artifacts/run.png
echo "Tastomat is running on the virtual display $DISPLAY; screenshot: artifacts/run.png"
echo "Press Enter to end it."
read -r _ || true
wineserver -k
kill "${TASTOMAT_XVFB_PID:-0}" 2>/dev/null || true
