#!/usr/bin/env bash
# Installs the build into a scratch prefix (whose lib folder is there, as in
# any real prefix) under the strictest umask, and checks that every user can
# reach and read the language file: without it the program does not start.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
mkdir -m 755 "$prefix/lib"
(umask 077 && cmake --install "$build" --prefix "$prefix" >/dev/null)
status=0
mode="$(stat -c %a "$prefix/lib/vandor")"
[ "$mode" = 755 ] || { echo "the program's folder is $mode, not 755"; status=1; }
mode="$(stat -c %a "$prefix/lib/vandor/vdrLang.dat")"
[ "$mode" = 644 ] || { echo "vdrLang.dat is $mode, not 644"; status=1; }
exit $status
