#!/usr/bin/env bash
# Starts the real program on a virtual X display with a recording named on its
# command line, moves the mouse over the traces, takes a screenshot of the
# whole screen and checks that the window is there and shows the recording's
# traces and the command strip (the axes and the read-out are for the eye).
#   screenshot.sh PROGRAM RECORDING OUTPUT.png
# Exit code 77 (skipped) when Xvfb, xdotool or ImageMagick is missing.
set -euo pipefail
program=$1
recording=$2
output=$3

for tool in Xvfb xdotool import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to fd 3. Two servers started
# at the same moment can pick the same number and one of them then exits: start
# again until a server answers on the display it wrote.
start_xvfb() {
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    [ -s "$work/display" ] || return 1
    export DISPLAY=":$(head -n1 "$work/display")"
    for _ in $(seq 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        kill -0 "$xvfb_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
started=""
for _ in 1 2 3; do
    if start_xvfb; then
        started=yes
        break
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
    sleep 0.5
done
[ -n "$started" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }

# A private profile, the X11 platform, and no session bus of the caller's.
mkdir -p "$work/config"
env -u DBUS_SESSION_BUS_ADDRESS XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb \
    "$program" "$recording" >"$work/program.log" 2>&1 &
app_pid=$!

window=""
for _ in $(seq 300); do # up to 30 s on a busy machine
    window=$(xdotool search --name '^Tessaran( - .*)?$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    if ! kill -0 "$app_pid" 2>/dev/null; then
        echo "the program ended early:"; cat "$work/program.log"; exit 1
    fi
    sleep 0.1
done
[ -n "$window" ] || { echo "no window titled Tessaran appeared"; cat "$work/program.log"; exit 1; }
# Sets WIDTH, HEIGHT, X, Y to the largest window titled Tessaran (with a
# recording loaded, "Tessaran - FILE - channel N: NAME (UNIT)"): the main
# window may still be growing to its size, and a 1 x 1 helper window can carry
# the same title.
largest_window() {
    local id best=0
    for id in $(xdotool search --name '^Tessaran( - .*)?$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id" | sed 's/^/G_/')"
        if [ $((G_WIDTH * G_HEIGHT)) -gt "$best" ]; then
            best=$((G_WIDTH * G_HEIGHT)) WIDTH=$G_WIDTH HEIGHT=$G_HEIGHT X=$G_X Y=$G_Y
        fi
    done
}
# Counts the current trace's pixels (its colour, green) in the window of the screenshot.
green_pixels() {
    convert "$output" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
        -fill black +opaque '#00FF00' -fill white -opaque '#00FF00' -format '%[fx:int(mean*w*h+0.5)]' info:
}
# The traces are painted a moment after the window appears, later on a busy
# machine: take the screenshot again until they are there (at most about 15 s).
WIDTH=0 HEIGHT=0 X=0 Y=0
green=0
for _ in $(seq 30); do
    sleep 0.5
    largest_window
    # The mouse over the traces, so the read-out under the view shows its values.
    xdotool mousemove $((X + WIDTH * 2 / 5)) $((Y + HEIGHT / 3)) 2>/dev/null || true
    sleep 0.2
    import -window root "$output"
    green=$(green_pixels)
    [ "$green" -ge 50 ] && break
done
echo "window $WIDTH x $HEIGHT at $X,$Y; screenshot $output"

# The window is not blank: many colours inside it...
colours=$(convert "$output" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format '%k' info:)
echo "colours in the window: $colours"
[ "$colours" -ge 16 ] || { echo "the window looks blank"; exit 1; }
# ...and the current trace is drawn in its colour (green) in the trace view.
echo "current-trace pixels: $green"
[ "$green" -ge 50 ] || { echo "no trace is drawn"; cat "$work/program.log"; exit 1; }
# The command strip draws the command voltage in dark blue under the traces.
blue=$(convert "$output" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
    -fill black +opaque '#0000A0' -fill white -opaque '#0000A0' -format '%[fx:int(mean*w*h+0.5)]' info:)
echo "command-strip pixels: $blue"
[ "$blue" -ge 50 ] || { echo "no command strip is drawn"; exit 1; }
if kill -0 "$app_pid" 2>/dev/null; then
    echo "ok"
else
    echo "the program ended"; cat "$work/program.log"; exit 1
fi
