#!/usr/bin/env bash
# Checks that an install of a build starts: installs it into a fresh temporary prefix, moves that
# prefix elsewhere (an install must not depend on where it was made, nor on the build tree), and
# starts the installed program offscreen on the emulated board until its main window is up. The
# program keeps its files in $XDG_DATA_HOME/codecbench and writes nothing inside the prefix, even
# when its user may write there (run as root, as the test run in CI is).
# Usage: scripts/install_check.sh [BUILD_DIR]   (default: ./build of the source tree)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build}" && pwd)
limit=60  # seconds for the window to show

work=$(mktemp -d "${TMPDIR:-/tmp}/codecbench-install-check.XXXXXX")
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "install_check: $*" >&2
  exit 1
}

# ---- the install ------------------------------------------------------------------------------
if ! cmake --install "$build" --prefix "$work/made" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  fail "cmake --install failed"
fi
mv "$work/made" "$work/prefix"
prefix=$work/prefix

[ -L "$prefix/bin/codecbench" ] || fail "bin/codecbench is missing or not a link"
program=$(readlink -f "$prefix/bin/codecbench")
[ -x "$program" ] || fail "bin/codecbench leads to no program (it names $(readlink "$prefix/bin/codecbench"))"
folder=$(dirname "$program")
case "$folder" in "$prefix"/*) ;; *) fail "bin/codecbench leads out of the prefix, to $program" ;; esac

expected=(libboardhid.so libcodecbench-os.so libcheck.so)
for preset in "$src"/presets/*.dat; do expected+=("$(basename "$preset")"); done
for name in "${expected[@]}"; do
  [ -f "$folder/$name" ] || fail "$name is not installed beside the program in ${folder#"$prefix"/}"
done
[ -f "$prefix/lib/udev/rules.d/70-codecbench-board.rules" ] || fail "the udev rule is not installed"
[ -f "$prefix/share/applications/codecbench.desktop" ] || fail "the desktop entry is not installed"
[ ! -e "$folder/codecbench-build-folder" ] || fail "the build folder's marker is installed"
grep -qx 'Icon=codecbench' "$prefix/share/applications/codecbench.desktop" || fail "the desktop entry names no icon codecbench"
[ -s "$prefix/share/icons/hicolor/scalable/apps/codecbench.svg" ] || fail "the desktop entry's icon is not installed"

# Every run path of ours is relative to the file's own folder, and every library is found.
for elf in "$program" "$folder"/*.so; do
  while read -r path; do
    IFS=: read -ra entries <<<"$path"
    for entry in "${entries[@]}"; do
      case "$entry" in '$ORIGIN' | '$ORIGIN/'*) ;; *) fail "$(basename "$elf") has the run path $entry" ;; esac
    done
  done < <(readelf -d "$elf" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
done
for elf in "$prefix/bin/codecbench" "$program" "$folder"/*.so; do
  if ldd "$elf" | grep -q "not found"; then
    ldd "$elf" >&2
    fail "${elf#"$prefix"/}: a library is not found"
  fi
done

# ---- the installed program, started as a user would, offscreen on the emulated board ---------
home=$work/home
data=$work/data
mkdir -p "$home" "$work/cwd"
# Everything inside the prefix as it was installed: names, kinds, sizes and modification times.
snapshot() { (cd "$prefix" && find . -printf '%p %y %s %T@\n' | LC_ALL=C sort); }
snapshot >"$work/prefix.before"
unset_ours=()
for name in $(compgen -e); do
  case "$name" in BOARDHID_* | CODECBENCH_*) unset_ours+=(-u "$name") ;; esac
done
start=$(date +%s.%N)
(
  cd "$work/cwd"
  exec env "${unset_ours[@]}" HOME="$home" XDG_DATA_HOME="$data" QT_QPA_PLATFORM=offscreen \
    BOARDHID_BACKEND=emulator BOARDHID_TRACE="$work/trace" "$prefix/bin/codecbench"
) >"$work/program.log" 2>&1 &
pid=$!

# The window is up when its identity poll runs: a timer of the main window that reads the chip's
# identity (register 0x3E) once a second. Timers run only in the event loop, which starts after
# start-up has shown the window; two polls say the loop keeps running.
polls=0
while :; do
  if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    pid=""
    cat "$work/program.log" >&2
    fail "the installed program ended (status $status) before its window showed"
  fi
  polls=$(grep -c ' OUT D0 00 01 3E$' "$work/trace" 2>/dev/null || true)
  [ "${polls:-0}" -ge 2 ] && break
  if awk -v s="$start" -v now="$(date +%s.%N)" -v l="$limit" 'BEGIN { exit !(now - s > l) }'; then
    cat "$work/program.log" >&2
    reports=0
    [ -f "$work/trace" ] && reports=$(wc -l <"$work/trace")
    fail "no window on the emulated board within $limit s (the board trace holds $reports reports)"
  fi
  sleep 0.1
done
shown=$(awk -v s="$start" -v now="$(date +%s.%N)" 'BEGIN { printf "%.1f", now - s }')

# The program and both of its libraries were loaded from the install, not from the build.
for name in codecbench libcodecbench-os.so libboardhid.so; do
  mapped=$(awk -v n="/$name" 'substr($6, length($6) - length(n) + 1) == n { print $6; exit }' "/proc/$pid/maps")
  [ -n "$mapped" ] || fail "$name is not loaded"
  case "$mapped" in "$prefix"/*) ;; *) fail "$name was loaded from $mapped, not from the install" ;; esac
done
# The project directory is $XDG_DATA_HOME/codecbench, with the demo presets copied into it; the
# prefix is as it was installed.
for preset in "$src"/presets/*.dat; do
  [ -f "$data/codecbench/$(basename "$preset")" ] ||
    fail "$(basename "$preset") was not copied into the project directory $data/codecbench"
done
if ! snapshot | diff "$work/prefix.before" - >"$work/prefix.diff"; then
  cat "$work/prefix.diff" >&2
  fail "the program ($(id -un)) wrote inside the prefix"
fi

echo "install_check: the install into a fresh prefix is complete and its program showed its window in $shown s"
