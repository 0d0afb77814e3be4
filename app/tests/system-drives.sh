#!/usr/bin/env bash
# CTest fixture of the search test through the system's own drive list under
# Wine: "setup" makes a FAT12, a FAT16, a FAT32 and an NTFS image (mkfs.fat +
# mtools, mkntfs + an ntfs-3g mount), each small, with files and a folder
# deleted, and maps them as drives K:, L:, M: and N: of the test prefix (k::
# is the device \\.\K:, k: its root folder). Wine then names each of them
# "NTFS" with the size of the host's disk. Beside each image lie the
# originals of its deleted files and what the search must find:
#   size <TAB> sectors of the volume
#   file <TAB> path from the root <TAB> original under <image>.orig
# Run before Wine starts: Wine's services list only the drives mapped when they
# start. "cleanup" removes the mappings.
#   system-drives.sh setup|cleanup WINE_DIR WORK_DIR
set -euo pipefail
export PATH=$PATH:/usr/sbin:/sbin
export MTOOLS_SKIP_CHECK=1
action=$1
prefix=$2/prefix
work=$3
letters="k l m n"

map() { # letter image
  mkdir -p "$work/root-$1" "$prefix/dosdevices"
  ln -sfn "$2" "$prefix/dosdevices/$1::"
  ln -sfn "$work/root-$1" "$prefix/dosdevices/$1:"
}

# original NAME SIZE: random bytes kept under the image's .orig folder.
original() {
  head -c "$2" /dev/urandom >"$orig/$1"
}

make_fat() { # name kind size-KB
  local name=$1 image=$work/$1.img
  orig=$work/$1.orig
  rm -rf "$image" "$orig" "$work/$name.manifest"
  mkdir -p "$orig"
  mkfs.fat -C -F "$2" -s 1 -n "QV$2" "$image" "$3" >/dev/null
  original keep.bin 3000
  original gone.bin 5000
  original report.bin 1234
  original inner.bin 700
  mcopy -i "$image" "$orig/keep.bin" "::Keep.bin"
  mcopy -i "$image" "$orig/gone.bin" "::Gone File.bin"
  mmd -i "$image" "::Docs" "::Old Folder"
  mcopy -i "$image" "$orig/report.bin" "::Docs/Lost Report.bin"
  mcopy -i "$image" "$orig/inner.bin" "::Old Folder/Inner Notes.bin"
  mdel -i "$image" "::Gone File.bin" "::Docs/Lost Report.bin"
  mdeltree -i "$image" "::Old Folder"
  {
    printf 'size\t%s\n' $(($(stat -c %s "$image") / 512))
    printf 'file\t%s\t%s\n' "Gone File.bin" gone.bin "Docs/Lost Report.bin" report.bin \
      "Old Folder/Inner Notes.bin" inner.bin
  } >"$work/$name.manifest"
}

make_ntfs() {
  local image=$work/ntfs.img mnt=$work/mnt
  orig=$work/ntfs.orig
  rm -rf "$image" "$orig" "$work/ntfs.manifest"
  mkdir -p "$orig" "$mnt"
  truncate -s 8M "$image"
  mkntfs -F -Q -q -L QVNTFS "$image" >/dev/null 2>&1
  map n "$image"
  # Deleting needs the ntfs-3g mount (FUSE); without it there is no manifest
  # and the NTFS case is skipped.
  ntfs-3g "$image" "$mnt" 2>/dev/null || return 0
  original gone.bin 5000
  original report.bin 1234
  original inner.bin 700
  mkdir -p "$mnt/Docs" "$mnt/Old Folder"
  head -c 3000 /dev/urandom >"$mnt/Keep.bin"
  cp "$orig/gone.bin" "$mnt/Gone File.bin"
  cp "$orig/report.bin" "$mnt/Docs/Lost Report.bin"
  cp "$orig/inner.bin" "$mnt/Old Folder/Inner Notes.bin"
  sync
  rm "$mnt/Gone File.bin" "$mnt/Docs/Lost Report.bin"
  rm -r "$mnt/Old Folder"
  umount "$mnt"
  {
    printf 'size\t%s\n' $(($(stat -c %s "$image") / 512))
    printf 'file\t%s\t%s\n' "Gone File.bin" gone.bin "Docs/Lost Report.bin" report.bin \
      "Old Folder/Inner Notes.bin" inner.bin
  } >"$work/ntfs.manifest"
}

case $action in
setup)
  # The prefix is made first (its making starts and ends Wine), so the drives
  # are there when the test run's Wine starts its services and lists drives.
  export QV_WINE_DIR=$2
  source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)/wine-env"
  qv_close_inherited_fds
  qv_wine_prefix
  mkdir -p "$work"
  rm -rf "$work"/*-recovered-*
  make_fat fat12 12 1440
  make_fat fat16 16 8192
  make_fat fat32 32 34000
  make_ntfs
  map k "$work/fat12.img"
  map l "$work/fat16.img"
  map m "$work/fat32.img"
  ;;
cleanup)
  for letter in $letters; do rm -f "$prefix/dosdevices/$letter::" "$prefix/dosdevices/$letter:"; done
  ;;
*) echo "usage: system-drives.sh setup|cleanup WINE_DIR WORK_DIR" >&2; exit 2 ;;
esac
