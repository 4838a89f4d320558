#!/usr/bin/env bash
# Pictures of what the program shows, for review: the main window on the
# built-in virtual switcher, every dialog template and the communication log
# window, as PNGs in build/screenshots/, taken on a virtual X server.
#
# Builds the default preset; QELVAR_BUILD_DIR=DIR builds and uses that
# already configured build folder instead (the pictures still go to
# build/screenshots/). The user's profile and the single-instance lock are not
# touched: both point into a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh $(grep -v '^#' scripts/packages.txt) xvfb xauth imagemagick

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
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

"${xvfb[@]}" "$build/app/qelvar" --simulator --screenshot "$out/main.png"
[ -s "$out/main.png" ] || { echo "no picture of the main window" >&2; exit 1; }
"${xvfb[@]}" "$build/tools/qelvar_screens" "$out"

identify -format '%f %wx%h\n' "$out"/*.png
