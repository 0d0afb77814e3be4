#!/usr/bin/env bash
# CTest fixture of the raw-drive tests under Wine: "setup" makes a 1.44 MB FAT12
# image with one file and maps it as drive X: of the test prefix (x:: is the
# device \\.\X:, x: its root folder); "cleanup" removes the mapping.
#   wine-drive.sh setup|cleanup WINE_DIR WORK_DIR
set -euo pipefail
export PATH=$PATH:/usr/sbin:/sbin
action=$1
prefix=$2/prefix
work=$3
case $action in
setup)
  mkdir -p "$work/xroot" "$prefix/dosdevices"
  image=$work/floppy.img
  rm -f "$image"
  mkfs.fat -C -F 12 -n QVTEST -i 51ACE1D0 "$image" 1440 >/dev/null
  printf 'hello from the raw drive test\n' >"$work/hello.txt"
  MTOOLS_SKIP_CHECK=1 mcopy -i "$image" "$work/hello.txt" ::HELLO.TXT
  ln -sfn "$image" "$prefix/dosdevices/x::"
  ln -sfn "$work/xroot" "$prefix/dosdevices/x:"
  ;;
cleanup)
  rm -f "$prefix/dosdevices/x::" "$prefix/dosdevices/x:"
  ;;
*) echo "usage: wine-drive.sh setup|cleanup WINE_DIR WORK_DIR" >&2; exit 2 ;;
esac
