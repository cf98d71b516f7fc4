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

# The host tools (compressor, manifest tool) and their native tests.
build_host() {
    quiet cmake -S . -B _build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo
    quiet cmake --build _build/host -j"$jobs"
}

# The Windows programs for an architecture $1 (i686 ships; x86_64 runs the
# tests) in the build folder $2, for the product manifest $3; further
# arguments go to cmake.
build_windows() {
    local arch=$1 dir=$2 manifest=$3
    shift 3
    quiet cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DHOST_TOOLS_DIR="$PWD/_build/host/bin" \
        -DPRODUCT_MANIFEST="$manifest" "$@"
    quiet cmake --build "$dir" -j"$jobs"
}
