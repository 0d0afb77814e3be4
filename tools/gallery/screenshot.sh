#!/usr/bin/env bash
# Starts the built gallery under Wine on the virtual screen and saves a
# picture of it.
#   tools/gallery/screenshot.sh [BUILD_DIR] [OUT.png] [PAGE]
# PAGE is the number of the page to show, from 0 (the first).
# The virtual screen has no window manager: a Wine desktop just larger than
# the gallery stands in for one, so the window has its caption. The desktop
# runs in a prefix and on a screen of its own, both ended afterwards, so
# the tests' are left alone.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd)
out=${2:-$build/gallery.png}
page=${3:-0}
size=${QV_GALLERY_SIZE:-1140x800}
export QV_WINE_DIR=$build/wine-gallery
source "$root/tools/wine-env"
qv_wine_prefix
qv_wine_display
"$QV_WINE" explorer "/desktop=Gallery,$size" "$build/tools/gallery/qv_gallery.exe" "$page" >/dev/null 2>&1 &
sleep "${QV_SCREENSHOT_DELAY:-6}"
import -display "$DISPLAY" -window root -crop "$size+0+0" +repage "$out"
"$root/tools/wine-fixture" stop "$QV_WINE_DIR"
wait || true
echo "Screenshot: $out"
