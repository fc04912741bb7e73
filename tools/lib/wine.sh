# The project's own Wine environment: a prefix of the build's architecture
# inside the build folder, no debugger or crash dialog, no Mono or Gecko
# prompts, and for tests a null ALSA device for DirectSound (VARNHOLT_SOUND=device
# plays through the system's default device instead). Never the user's prefix
# or sound settings. Sourced after common.sh.

wine_dir=$build_dir/wine

# The plain `wine` command takes the 32-bit loader whenever 32-bit Wine is
# installed, even for a 64-bit program: name each architecture's own loader.
if [ "$arch" = x86_64 ]; then
    wine_loader=/usr/lib/wine/wine64
    wine_server=/usr/lib/wine/wineserver64
    wine_arch=win64
else
    wine_loader=/usr/lib/wine/wine
    wine_server=/usr/lib/wine/wineserver
    wine_arch=win32
fi

wine_environment() {
    export WINEPREFIX=$wine_dir/prefix
    export WINEARCH=$wine_arch
    export WINELOADER=$wine_loader
    export WINESERVER=$wine_server
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    if [ "${VARNHOLT_SOUND:-null}" = null ]; then
        export ALSA_CONFIG_PATH=$wine_dir/asound.conf
    fi
}

# Creates the prefix and the audio configuration when missing. Runs without a
# display; the tests start their own wineserver later inside their namespace.
# A 64-bit prefix made without 32-bit Wine logs a missing syswow64 program:
# harmless, so only the result counts.
ensure_wine_prefix() {
    wine_environment
    mkdir -p "$wine_dir"
    if [ ! -f "$ALSA_CONFIG_PATH" ]; then
        printf '%s\n' '# Varnholt test runs: sound goes nowhere.' 'pcm.!default { type null }' \
            'ctl.!default { type hw card 0 }' >"$ALSA_CONFIG_PATH"
    fi
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    [ -x "$wine_loader" ] || die "Wine's $arch loader $wine_loader is missing: tools/setup installs it"
    say "creating the Wine prefix in $WINEPREFIX"
    local log=$wine_dir/wineboot.log
    (unset DISPLAY; "$wine_loader" wineboot -i </dev/null >"$log" 2>&1; "$wine_server" -w) >>"$log" 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        tail -n 20 "$log" >&2
        rm -rf "$WINEPREFIX"
        die "could not create the Wine prefix $WINEPREFIX (wineboot's output above; full log: $log)"
    fi
}
