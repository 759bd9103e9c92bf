#!/usr/bin/env bash
# Uses the program as a person would, by keyboard after the splash, on an X server (Xvfb) with a
# window manager (openbox), and writes PNGs of the screen at each stop:
#   1-splash.png, 2-closing-message.png, 3-main-result.png, 4-settings.png, 5-usage.png,
#   then with 扩展语法 ticked and an ionic equation typed:
#   6-extended-settings.png, 7-extended-message.png, 8-extended-result.png
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
sleep 1

# The extended language: settings, tick 扩展语法 (by mouse: it takes no Tab stop), back, type an
# ionic equation with sub- and superscripts, balance it.
window=$(xdotool search --name 'Qivara方程式配平器' | head -1)
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.5; }
key Tab space                        # from the usage button to the settings button, press it
click 120 272                        # 扩展语法
shot 6-extended-settings.png
click 48 272                         # back to the main page
click 150 72                         # into the equation box
key ctrl+a BackSpace
xdotool type --delay 60 'MnO₄⁻+Fe²⁺+H⁺=Mn²⁺+Fe³⁺+H₂O'
key Tab Tab space                    # the start button, already "开始": starts
shot 7-extended-message.png 2
key Return
shot 8-extended-result.png
