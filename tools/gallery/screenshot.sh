#!/usr/bin/env bash
# Starts the built gallery under Wine on the virtual screen and saves a
# picture of its window.
#   tools/gallery/screenshot.sh [BUILD_DIR] [OUT.png]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd)
out=${2:-$build/gallery.png}
export QV_WINE_DIR=${QV_WINE_DIR:-$build/wine}
source "$root/tools/wine-env"
qv_wine_prefix
qv_wine_display
"$QV_WINE" "$build/tools/gallery/qv_gallery.exe" </dev/null >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  xdotool search --name "Toolkit Gallery" >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 2 # first paint
geometry=$(xdotool search --name "Toolkit Gallery" getwindowgeometry --shell | tr '\n' ' ')
eval "$geometry"
# The window and the caption space above it.
import -display "$DISPLAY" -window root -crop "$((WIDTH + X + 4))x$((HEIGHT + Y + 4))+0+0" +repage "$out"
echo "Screenshot: $out"
