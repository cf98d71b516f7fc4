#!/bin/sh
# Runs a test program in a Wine prefix of its own, made for it, and stops that
# prefix's server afterwards: a restart request must not touch the prefix of
# the other tests.
#   in-own-prefix.sh WINE-RUN PREFIX PROGRAM
set -e
export WRENFIELD_PREFIX="$2"
"$1" --start
status=0
"$1" "$3" || status=$?
"$1" --stop
exit $status
