#!/usr/bin/env bash
# Under a real window manager (openbox on a virtual X server), the dialogs the
# tool bar opens sit below the main window, title bar and all, so that its
# status bar with the link and the clock stays in view. Qt's offscreen
# platform has no frames, so only a window manager shows this.
#   window_manager_test.sh QELVAR
set -uo pipefail
qelvar=$1

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Nothing of the developer's desktop: a private runtime folder, home,
# profile and session bus address.
export XDG_RUNTIME_DIR=$work HOME=$work QELVAR_PROFILE=$work/Qelvar.ini
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
chmod 700 "$work"

Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(cat "$work/display")

openbox --sm-disable 2>"$work/openbox.log" &
pids+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

"$qelvar" --simulator >"$work/qelvar.log" 2>&1 &
pids+=($!)

# The first window whose name matches, within 10 s.
window_named() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && echo "$id" && return 0
        sleep 0.1
    done
    return 1
}
# Sets top and bottom (the window's own area) and frame_top (its title bar's top).
geometry_of() {
    local extents=
    for _ in $(seq 100); do  # once the window manager has framed it
        extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
        [ -n "$extents" ] && break
        sleep 0.1
    done
    [ -n "$extents" ] || fail "the window manager framed no window $1 within 10 s"
    sleep 0.3  # and placed it
    eval "$(xdotool getwindowgeometry --shell "$1")"
    IFS=, read -r _ _ frame_extent_top _ <<<"$extents"
    top=$Y
    bottom=$((Y + HEIGHT))
    frame_top=$((Y - frame_extent_top))
}

main=$(window_named '^Qelvar') || fail "no main window: $(cat "$work/qelvar.log")"
geometry_of "$main"
main_bottom=$bottom

failures=0
# Tool bar buttons by their place in the main window: O.S, A.S, S.A.
for button in "29 opens 出力切換え" "77 opens オート・シーケンス" "124 opens スレーブ・アドレス"; do
    read -r x _ caption <<<"$button"
    xdotool mousemove --window "$main" "$x" 37 click 1
    dialog=$(window_named "^$caption") || fail "the tool bar button at $x opened no $caption: $(xwininfo -root -tree | grep -v "has no name" | head -20)"
    geometry_of "$dialog"
    if [ "$frame_top" -lt "$main_bottom" ]; then
        echo "FAIL: $caption's title bar starts at $frame_top, above the main window's end at $main_bottom"
        failures=$((failures + 1))
    else
        echo "ok: $caption opens at $frame_top, below the main window's end at $main_bottom"
    fi
    xdotool windowactivate --sync "$dialog" key Escape
    closed=
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$caption" >/dev/null 2>&1 || { closed=1; break; }
        sleep 0.1
    done
    [ -n "$closed" ] || fail "$caption did not close on Escape"
done
exit $((failures > 0))
