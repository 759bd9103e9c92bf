#!/usr/bin/env bash
# Uses the program as a person would, by keyboard after the splash, on an X server (Xvfb) with a
# window manager (openbox), and writes PNGs of the screen at each stop:
#   1-splash.png, 2-closing-message.png, 3-main-result.png, 4-settings.png, 5-usage.png
# Keys and clicks are real X events sent with xdotool.
#   tools/screenshots/take_screenshots.sh [OUTPUT-FOLDER]   (default: tools/screenshots/)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$top/tools/screenshots}
program=${PROGRAM:-$top/build/bin/qivara-balancer}

needed=(xvfb xauth imagemagick fonts-noto-cjk openbox xdotool qt6-translations-l10n)
missing=()
for package in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "take_screenshots: installing ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
[ -x "$program" ] || "$top/dev" build
mkdir -p "$out"

export DISPLAY=:${SCREENSHOT_DISPLAY:-93}
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
sleep 1
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
pids+=($!)
sleep 3

shot() { sleep "${2:-1}"; import -window root "$out/$1"; echo "wrote $out/$1"; }
key() { xdotool key --delay 150 "$@"; }

shot 1-splash.png 0
xdotool mousemove 400 300 click 1    # a click on the picture closes the splash
sleep 1
xdotool type --delay 40 'MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O'   # the focus starts in the equation box
key Tab Tab space space              # to the start button: the first press relabels, the second starts
shot 2-closing-message.png 2
key Return                           # closes the message
shot 3-main-result.png
key Tab Tab space                    # to the settings button, press it
shot 4-settings.png
key space shift+Tab space            # back, then the usage button
shot 5-usage.png 2
key Escape
