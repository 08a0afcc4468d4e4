#!/bin/bash
# Inside a private display and session bus: starts the accessibility bus and a private Orca
# (speech and braille off, debug file OUTDIR/orca.log), runs the command, then ends that Orca.
#   session.sh ORCA_LAUNCHER OUTDIR command...
set -u
ORCA_LAUNCHER=$1 OUT=$2
shift 2
mkdir -p "$OUT/home" "$OUT/orca-prefs" "$OUT/run"
chmod 700 "$OUT/run"
export CODECBENCH_HOME=$OUT/home XDG_RUNTIME_DIR=$OUT/run
export XDG_CONFIG_HOME=$OUT/xdg XDG_DATA_HOME=$OUT/xdgdata XDG_CACHE_HOME=$OUT/xdgcache
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
/usr/bin/python3 "$ORCA_LAUNCHER" -d speech -d braille -u "$OUT/orca-prefs" --debug-file="$OUT/orca.log" >"$OUT/orca.out" 2>&1 &
ORCA=$!
"$@"
RC=$?
kill "$ORCA" 2>/dev/null
wait "$ORCA" 2>/dev/null
exit $RC
