#!/bin/sh
# Lays out the link fixture of link_test.cpp with Linux symbolic links, runs
# the test on it, and removes it again.
#   with-links.sh WINE-RUN TEST-PROGRAM
set -e
fixture=$(mktemp -d)
trap 'rm -rf "$fixture"' EXIT
mkdir -p "$fixture/outside" "$fixture/tree/sub"
echo precious > "$fixture/outside/precious.txt"
echo a > "$fixture/tree/a.txt"
ln -s ../outside "$fixture/tree/link"
ln -s ../../outside "$fixture/tree/sub/link"
ln -s outside "$fixture/toplink"
WRENFIELD_LINK_FIXTURE="$fixture" "$1" "$2"
