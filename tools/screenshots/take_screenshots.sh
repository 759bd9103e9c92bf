#!/usr/bin/env bash
# Runs the program's windows under Xvfb and writes PNGs of the splash, the closing message, the
# main page with a balanced result, the settings page and the usage window.
#   tools/screenshots/take_screenshots.sh [OUTPUT-FOLDER]   (default: screenshots/ at the top)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$top/screenshots}
build=${BUILD_DIR:-$top/build-screenshots}

needed=(xvfb xauth imagemagick fonts-noto-cjk)
missing=()
for package in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S "$top" -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target qivara-screenshot-driver >/dev/null
mkdir -p "$out"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 800x600x24" "$build/bin/qivara-screenshot-driver" "$out"
echo "screenshots in $out"
