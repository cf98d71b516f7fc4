#!/usr/bin/env bash
# Installs what the build and the tests need, quietly, and only what is missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config binutils
  googletest libtomlplusplus-dev libcli11-dev libmspack-dev mscompress
  gcc-mingw-w64-i686 g++-mingw-w64-i686 binutils-mingw-w64-i686
  gcc-mingw-w64-x86-64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64
  fp-utils
)

# 32-bit Wine only helps where the kernel runs 32-bit Linux programs; some
# sandboxes do not, and there the tests use the 64-bit twin of each program.
runs_i386() {
  local dir
  dir=$(mktemp -d)
  printf '.globl _start\n_start: movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' > "$dir/p.s"
  local ok=1
  if as --32 -o "$dir/p.o" "$dir/p.s" 2>/dev/null && ld -m elf_i386 -o "$dir/p" "$dir/p.o" 2>/dev/null \
     && "$dir/p" 2>/dev/null; then ok=0; fi
  rm -rf "$dir"
  return $ok
}

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

install() {
  echo "installing: $*"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
[ ${#missing[@]} -eq 0 ] || install "${missing[@]}"

if ! installed wine32:i386 && runs_i386; then
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  install wine32:i386
fi
