#!/usr/bin/env bash
# Screenshots of the demo event for the operator guide and for judging the layout on three
# screens: 1366 × 768, 1920 × 1080, and 3840 × 2160 at a scale factor of 2. Each screen gets
# its own Xvfb with openbox; the program is driven with xdotool the way an operator drives it.
# Usage: tools/screenshots.sh BUILD_DIR [OUT_DIR]   (OUT_DIR defaults to docs/screenshots)
# Needs: xvfb openbox xdotool imagemagick x11-utils (tools/packages.sh, TEST_PACKAGES).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
out=${2:-$root/docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

free_display() {
    local n
    for n in $(seq 140 199); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return; }
    done
    return 1
}

# Waits for a visible window whose name holds $1; prints its id.
wait_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    echo "screenshots: no window named $1" >&2
    return 1
}

shot() {
    import -window root "$out/$1.png"
    echo "$out/$1.png"
}

# One screen: WIDTH HEIGHT SCALE NAME GUIDE(1 = every operator screen, 0 = layout only).
one_screen() {
    local width=$1 height=$2 scale=$3 name=$4 guide=$5
    local n display program wm server
    n=$(free_display)
    display=":$n"
    Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
    server=$!
    pids+=("$server")
    for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    DISPLAY=$display openbox >/dev/null 2>&1 &
    wm=$!
    pids+=("$wm")

    local event="$work/event-$name"
    "$root/tools/make-demo-event.sh" "$build" "$event" >/dev/null
    (cd "$event" && DISPLAY=$display QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale \
        SDL_AUDIODRIVER=dummy XDG_CACHE_HOME="$work/cache" exec ./prizedraw) &
    program=$!
    pids+=("$program")

    export DISPLAY=$display
    local window
    window=$(wait_window "现场抽奖")
    xdotool windowactivate --sync "$window" 2>/dev/null || true
    sleep 1.5
    shot "$name-01-start"

    # Places in device pixels: the chooser stands 45 logical pixels above the screen's foot.
    local lh=$((height / scale))
    local chooser_x=$(((180 + 54) * scale)) chooser_y=$(((lh - 45 - 13) * scale))
    xdotool mousemove "$chooser_x" "$chooser_y" click 1
    sleep 0.3
    xdotool key Down # the first tier of the list
    sleep 0.8
    [ "$guide" = 1 ] && shot "$name-02-tier"

    xdotool key Return # Start
    sleep 1.2
    [ "$guide" = 1 ] && shot "$name-03-rolling"
    xdotool key Return # Stop: the winner, then fireworks for four seconds
    sleep 1.0
    shot "$name-04-fireworks"
    sleep 4.0
    shot "$name-05-winner"

    if [ "$guide" = 1 ]; then
        # The operator's menu opens on a right press on the background.
        xdotool mousemove $((60 * scale)) $((300 * scale)) click 3
        sleep 0.8
        shot "$name-06-menu"
        xdotool key Down Down Down Return # "奖项设置"
        local gate=""
        for _ in $(seq 50); do
            gate=$(xdotool getactivewindow 2>/dev/null || true)
            [ -n "$gate" ] && [ "$gate" != "$window" ] && break
            sleep 0.2
        done
        sleep 0.8
        shot "$name-07-password"
        # No password is set in the demo event: "进入设置" with an empty box opens the panel.
        xdotool mousemove --window "$gate" 116 96 click 1
        sleep 1.0
        shot "$name-08-settings"
    fi

    kill "$program" "$wm" "$server" 2>/dev/null || true
    wait "$program" "$wm" "$server" 2>/dev/null || true
    unset DISPLAY
}

one_screen 1366 768 1 1366x768 1
one_screen 1920 1080 1 1920x1080 0
one_screen 3840 2160 2 3840x2160-scale2 0
