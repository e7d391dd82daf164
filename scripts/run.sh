#!/usr/bin/env bash
# Builds Tastomat.exe and starts it under Wine, in a throwaway Wine prefix of its own
# (build/wineprefix-run, build/wineprefix-tour for the tour, or $TASTOMAT_RUN_PREFIX):
# your own Wine setup and settings are never touched.
#   With a display: the real program in your session, with a few keys assigned.
#   Without one: a guided tour on a private virtual screen; each step prints whether it
#   worked and leaves a screenshot in artifacts/demo/. Then it waits for Enter, or with
#   --no-wait ends at once. The exit status says whether every step worked.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

wait_for_enter=1
for arg in "$@"; do
    case "$arg" in
        --no-wait) wait_for_enter=0 ;;
        -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
        *) echo "unknown option: $arg (known: --no-wait)" >&2; exit 2 ;;
    esac
done

scripts/setup.sh
cmake --preset win64 >/dev/null
# The program and what the tour without a display reads its windows with; not the tests.
cmake --build --preset win64 --target tour

source scripts/wine-env.sh
had_display=1
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then had_display=0; fi
# The tour writes its own keys; a prefix of its own keeps those a user assigned in a run
# with a display.
prefix="$root/build/wineprefix-tour"
if [ "$had_display" = 1 ]; then prefix="$root/build/wineprefix-run"; fi
tastomat_wine_prefix "${TASTOMAT_RUN_PREFIX:-$prefix}"
# A server of this prefix left from an earlier run would still draw on its old display.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
tastomat_display

if [ "$had_display" = 1 ]; then
    python3 scripts/demo.py --table
    cat <<'TEXT'
Starting Tastomat: its icon is in the notification area.
  Alt+F12, then N    Notepad         Alt+F12, then T    the Fonts folder
  Alt+F12, then F1   command prompt  Alt+F12, then Ctrl+E   the settings window
  Escape hides the badge; right-click the tray icon for the menu ("Beenden" ends it).
TEXT
    exec wine "$root/build/win64/Tastomat.exe"
fi

trap 'wineserver -k 2>/dev/null || true; kill "${TASTOMAT_XVFB_PID:-0}" 2>/dev/null || true' EXIT
shots="${TASTOMAT_ARTIFACTS:-$root/artifacts}/demo"
echo "No display: a guided tour of Tastomat on the virtual screen $DISPLAY"
status=0
TASTOMAT_BUILD="$root/build/win64" python3 scripts/demo.py "$shots" || status=$?
if [ "$wait_for_enter" = 1 ]; then
    echo "Tastomat still runs on the virtual screen $DISPLAY; the screenshots are in $shots/."
    echo "Press Enter to end it."
    read -r _ || true
fi
exit "$status"
