# Sourced by the bench scripts: the bench's own Wine prefix on an X server of its own, both
# taken down when the script ends.
source scripts/wine-env.sh
tastomat_wine_prefix "$PWD/build/wineprefix-bench"
tastomat_display own
trap 'wineserver -k 2>/dev/null || true; kill "$TASTOMAT_XVFB_PID" 2>/dev/null || true' EXIT
wineserver -k 2>/dev/null || true
wineserver -w
