#!/usr/bin/env bash
# ./build for a product other than the sample, and for a manifest it must
# refuse: the first makes out/<product>/Setup.exe, a 32-bit GUI program; the
# second fails with the manifest's name and the reason, and makes nothing.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work" "$repo/out/wrf-refused"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

"$repo/build" "$repo/tests/products/tinkerbox/product.toml" > "$work/log" 2>&1 ||
    { cat "$work/log"; fail "./build of tinkerbox"; }
grep -q "built out/tinkerbox/Setup.exe" "$work/log" || fail "no word of what was built"
setup=$repo/out/tinkerbox/Setup.exe
[ -f "$setup" ] || fail "no $setup"
# PE header: "PE\0\0", machine 0x14c (i386), subsystem 2 (GUI).
pe=$(od -An -tu4 -j60 -N4 "$setup" | tr -d ' ')
[ "$(od -An -c -j"$pe" -N2 "$setup" | tr -d ' ')" = "PE" ] || fail "not a PE file"
[ "$(od -An -tx2 -j$((pe + 4)) -N2 "$setup" | tr -d ' ')" = "014c" ] || fail "not i386"
[ "$(od -An -tu2 -j$((pe + 92)) -N2 "$setup" | tr -d ' ')" = "2" ] || fail "not a GUI program"

# A manifest that takes the uninstaller's resource id.
mkdir -p "$work/wrf-refused"
cp "$repo/tests/products/tinkerbox/"* "$work/wrf-refused/"
sed -i 's/^id = 501$/id = 292/' "$work/wrf-refused/product.toml"
if "$repo/build" "$work/wrf-refused/product.toml" > "$work/log" 2>&1; then
    fail "./build accepted resource id 292"
fi
grep -q "product.toml:.*292" "$work/log" || { cat "$work/log"; fail "the refusal names neither the file nor the id"; }
[ ! -e "$repo/out/wrf-refused" ] || fail "a refused manifest left output"
echo "build works for another product and refuses a bad manifest"
