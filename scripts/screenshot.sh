#!/usr/bin/env bash
# Pictures of what the program shows, for review: the main window on the
# built-in virtual switcher, every dialog template, the communication log
# window, the table editors at work and one opened list, as PNGs in
# build/screenshots/, taken on a virtual X server with the openbox window
# manager.
#
# Builds the default preset; QELVAR_BUILD_DIR=DIR builds and uses that
# already configured build folder instead (the pictures still go to
# build/screenshots/). The user's profile and the single-instance lock are not
# touched: both point into a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh $(grep -v '^#' scripts/packages.txt) xvfb xauth openbox imagemagick

if [ -n "${QELVAR_BUILD_DIR:-}" ]; then
    build=$QELVAR_BUILD_DIR
    cmake --build "$build" --target qelvar qelvar_screens >/dev/null
else
    build=build
    cmake --preset default >/dev/null
    cmake --build --preset default --target qelvar qelvar_screens >/dev/null
fi

out=$PWD/build/screenshots
mkdir -p "$out"
rm -f "$out"/*.png

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export QELVAR_PROFILE=$tmp/Qelvar.ini XDG_RUNTIME_DIR=$tmp

# Runs the command on a fresh virtual X server, with openbox managing its windows.
with_wm() {
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        openbox --sm-disable --config-file /dev/null 2>/dev/null &
        wm=$!
        sleep 0.5
        "$@"
        rc=$?
        kill "$wm" 2>/dev/null
        wait "$wm" 2>/dev/null
        exit "$rc"' with_wm "$@"
}

with_wm "$build/app/qelvar" --simulator --screenshot "$out/main.png"
[ -s "$out/main.png" ] || { echo "no picture of the main window" >&2; exit 1; }
with_wm "$build/tools/qelvar_screens" "$out"

identify -format '%f %wx%h\n' "$out"/*.png
