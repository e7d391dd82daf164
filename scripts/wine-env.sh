# Sourced: a private Wine prefix that never waits for a click.
#   source scripts/wine-env.sh <prefix-dir> [fresh]
# With "fresh" an existing prefix is thrown away first.
tastomat_wine_prefix() {
    local prefix="$1" fresh="${2:-}"
    export WINEPREFIX="$prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEARCH=win64
    export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
    if [ "$fresh" = fresh ] && [ -d "$prefix" ]; then
        wineserver -k 2>/dev/null || true
        rm -rf "$prefix"
    fi
    if [ ! -f "$prefix/system.reg" ]; then
        echo "Creating Wine prefix $prefix"
        mkdir -p "$(dirname "$prefix")"
        wineboot -i >/dev/null 2>&1
        # A crash must fail the test, not wait for someone to close winedbg's dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        # Wine's German locale data says d.M.yyyy; a German Windows says dd.MM.yyyy.
        # Give the test user the regional settings of a German Windows installation.
        wine reg add 'HKCU\Control Panel\International' /v sShortDate /t REG_SZ /d dd.MM.yyyy /f >/dev/null 2>&1
        wine reg add 'HKCU\Control Panel\International' /v sTimeFormat /t REG_SZ /d HH:mm:ss /f >/dev/null 2>&1
        wineserver -w
    fi
}

# A copy of a prepared prefix that Wine presents as Windows 7 SP1 (version 6.1), the
# oldest system the program supports; copying is quicker than a second wineboot. Makes it
# the current prefix until the caller chooses another.
#   tastomat_win7_prefix <prepared-prefix> <copy>
tastomat_win7_prefix() {
    local source="$1" copy="$2" version
    WINEPREFIX="$source" wineserver -k 2>/dev/null || true
    WINEPREFIX="$source" wineserver -w 2>/dev/null || true
    rm -rf "$copy"
    cp -a --reflink=auto "$source" "$copy"
    tastomat_wine_prefix "$copy"
    wine winecfg -v win7 >/dev/null 2>&1
    version=$(wine cmd /c ver 2>/dev/null | tr -d '\r\n')
    case "$version" in
        *" 6.1."*) echo "Wine prefix $copy reports: $version" ;;
        *) echo "Wine prefix $copy did not become Windows 7: $version" >&2; return 1 ;;
    esac
}

# Starts Xvfb on a free display when there is no display to use; with "own" always,
# so that the end-to-end scenarios run on a bare X server without a window manager.
tastomat_display() {
    if [ "${1:-}" != own ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n=91
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    TASTOMAT_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
    echo "Xvfb did not come up" >&2
    return 1
}
