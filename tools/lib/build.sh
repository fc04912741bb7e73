# Configures and builds the project for Windows into the build folder. Sourced.

build_project() {
    local deps log
    deps=$("$repo_root/tools/build-deps")
    mkdir -p "$build_dir"
    log=$build_dir/build.log
    # CMake keeps what it found in an earlier dependency folder: forget it
    # when the dependencies were rebuilt elsewhere.
    local forget=()
    if [ -f "$build_dir/CMakeCache.txt" ] &&
        grep -E '^([A-Za-z]+_DIR|MINIZIP_[A-Z_]+):[A-Z]+=' "$build_dir/CMakeCache.txt" | grep -qvF "$deps/"; then
        forget=(-U '*_DIR' -U 'MINIZIP_*')
    fi
    if ! cmake -S "$repo_root" -B "$build_dir" -G Ninja "${forget[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain_file" \
        -DVARNHOLT_DEPS="$deps" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$repo_root/tools/wine-test" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        die "configuring failed (full log: $log)"
    fi
    if ! cmake --build "$build_dir" -j "${VARNHOLT_JOBS:-$(nproc)}" >>"$log" 2>&1; then
        grep -E 'error|FAILED' "$log" | head -n 40 >&2
        die "building failed (full log: $log)"
    fi
}
