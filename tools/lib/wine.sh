# The project's own Wine environment: a 32-bit prefix inside the build folder,
# no debugger or crash dialog, no Mono or Gecko prompts, and for tests a null
# ALSA device for DirectSound (VARNHOLT_SOUND=device plays through the
# system's default device instead). Never the user's prefix or sound
# settings. Sourced.

wine_dir=$build_dir/wine

wine_environment() {
    export WINEPREFIX=$wine_dir/prefix
    export WINEARCH=win32
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    if [ "${VARNHOLT_SOUND:-null}" = null ]; then
        export ALSA_CONFIG_PATH=$wine_dir/asound.conf
    fi
}

# Creates the prefix and the audio configuration when missing. Runs without a
# display; the tests start their own wineserver later inside their namespace.
ensure_wine_prefix() {
    wine_environment
    mkdir -p "$wine_dir"
    if [ ! -f "$ALSA_CONFIG_PATH" ]; then
        printf '%s\n' '# Varnholt test runs: sound goes nowhere.' 'pcm.!default { type null }' \
            'ctl.!default { type hw card 0 }' >"$ALSA_CONFIG_PATH"
    fi
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    say "creating the Wine prefix in $WINEPREFIX"
    (unset DISPLAY; wine wineboot -i </dev/null >/dev/null 2>&1; wineserver -w) \
        || die "could not create the Wine prefix $WINEPREFIX"
}
