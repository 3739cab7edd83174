# Sourced by the test and demo scripts: an Xvfb screen (when there is no display) and a
# throw-away Wine prefix under the build folder, with one persistent Wine server. Both are
# started with their output in log files and stopped by wine_env_stop, which the caller
# traps on EXIT.

wine_env_start() {
    local root=$1 screen=${2:-1920x1080x24}
    mkdir -p "$root/logs"
    export WINEPREFIX="$root/wineprefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    WINE_ENV_XVFB_PID=""
    if [ -z "${DISPLAY:-}" ] || [ -n "${WINE_ENV_OWN_SCREEN:-}" ]; then
        local fdfile="$root/logs/xvfb.display"
        rm -f "$fdfile"
        Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fdfile" \
            >"$root/logs/xvfb.log" 2>&1 </dev/null &
        WINE_ENV_XVFB_PID=$!
        local i
        for i in $(seq 100); do
            [ -s "$fdfile" ] && break
            sleep 0.1
        done
        [ -s "$fdfile" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
        export DISPLAY=":$(head -n1 "$fdfile")"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-env: creating the Wine prefix $WINEPREFIX"
        wineboot -i >"$root/logs/wineboot.log" 2>&1 </dev/null
        wineserver -w
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            >>"$root/logs/wineboot.log" 2>&1 </dev/null
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >>"$root/logs/wineboot.log" 2>&1 </dev/null
        wineserver -w
    fi
    wineserver -p >"$root/logs/wineserver.log" 2>&1 </dev/null
}

wine_env_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
    fi
}
