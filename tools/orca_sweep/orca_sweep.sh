#!/bin/bash
# What Orca says for every control of every page of every model: each model runs on its own
# X display and session bus with a private Orca (speech and braille off, its debug file on),
# the sweep Tabs through each page and records Orca's SPEECH OUTPUT for each control that takes
# the focus, and alike.py lists the controls of a page that Orca said alike.
#
#   tools/orca_sweep/orca_sweep.sh BUILD_BIN_DIR OUTDIR [MODEL...]     (all eleven by default)
#   tools/orca_sweep/alike.py OUTDIR [BEFORE_OUTDIR]                   (again, or against an earlier sweep)
#
# SWEEP_JOBS models run at once (default 2). Needs xvfb-run, dbus-run-session, xdotool, orca
# and python3-pyatspi. Orca's launcher ends the user's other Orca instances; the copy this runs
# has that check taken out, so other sessions' Orcas are left alone. Exits 1 when any two
# controls of a page are said alike.
set -u
HERE=$(cd "$(dirname "$0")" && pwd)
BIN=$(cd "$1" && pwd)/codecbench
OUT=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2
MODELS=${*:-Qeva Qevb Zuta Zutb Jora Jorb Jorbx Pyka Pykb Pykc Pykd}

# Orca's launcher without the end of other instances and without its process name "orca"
# (by which other launchers find the instances they end); its debug file written line by line.
sed -e 's/^    setProcessName(.orca.)$/    pass/' \
    -e 's/^    if otherOrcas():$/    if False:/' \
    -e "s/debug.debugFile = open(args.debug_file, 'w')/debug.debugFile = open(args.debug_file, 'w', buffering=1)/" \
    /usr/bin/orca >"$OUT/orca-private"

one() {
    local m=$1 chip=stereo
    local d=$OUT/$m
    case $m in Pyka|Pykc|Pykd) chip=mono ;; esac  # the stereo chip dims these choices
    rm -rf "$d" && mkdir -p "$d"
    sleep $((RANDOM % 5))  # xvfb-run -a picks its display number by trial
    BOARDHID_EMULATOR_CHIP=$chip CODECBENCH_BIN=$BIN timeout 1800 \
        xvfb-run -a -s "-screen 0 1600x1000x24" dbus-run-session -- \
        "$HERE/session.sh" "$OUT/orca-private" "$d" /usr/bin/python3 "$HERE/sweep.py" "$m" "$d" >"$d/sweep.out" 2>&1
    echo "$m: sweep ended ($?)"
}
export -f one
export OUT BIN HERE
printf '%s\n' $MODELS | xargs -P "${SWEEP_JOBS:-2}" -I{} bash -c 'one {}'
/usr/bin/python3 "$HERE/alike.py" "$OUT"
