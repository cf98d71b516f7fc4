# Shared by ./build and ./test: quiet steps that show their output only on failure.

# Runs a command with its output in a log; prints the log and fails if it fails.
quiet() {
    local log
    log=$(mktemp)
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "failed: $*" >&2
        return 1
    fi
    rm -f "$log"
}

jobs=$(nproc 2>/dev/null || echo 2)

# The programs as shipped: 32-bit, built with mingw.
build_shipped() {
    quiet cmake -S . -B _build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=MinSizeRel
    quiet cmake --build _build/i686 -j"$jobs"
}
