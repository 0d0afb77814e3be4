#!/usr/bin/env bash
# CTest fixture of the end-to-end search test under Wine: "setup" makes a FAT
# image (mkfs.fat + mtools) and an NTFS image (mkntfs + an ntfs-3g mount),
# each with files and a folder deleted, maps them as drives Q: and R: of the
# test prefix (q:: is the device \\.\Q:, q: its root folder) and writes
# beside each image what the search must find:
#   folder <TAB> path from the root
#   file <TAB> path from the root <TAB> size in bytes
# and, for the FAT image, the free cluster that holds a JPEG file no folder
# names (found by the advanced search by its signature alone):
#   signature <TAB> JPG <TAB> cluster <TAB> size in bytes
# "cleanup" removes the mappings.
#   wizard-drives.sh setup|cleanup WINE_DIR WORK_DIR
set -euo pipefail
export PATH=$PATH:/usr/sbin:/sbin
export MTOOLS_SKIP_CHECK=1
action=$1
prefix=$2/prefix
work=$3

map() { # letter image
  mkdir -p "$work/root-$1" "$prefix/dosdevices"
  ln -sfn "$2" "$prefix/dosdevices/$1::"
  ln -sfn "$work/root-$1" "$prefix/dosdevices/$1:"
}

make_fat() {
  local image=$work/fat.img
  rm -f "$image"
  mkfs.fat -C -F 16 -n WIZFAT "$image" 20480 >/dev/null
  printf 'a file of the wizard test\n' >"$work/content.txt"
  put() { mcopy -i "$image" "$work/content.txt" "::$1"; }
  put "Keep Me.txt"
  put "Gone Letter.txt"
  mmd -i "$image" "::Projects"
  put "Projects/Plan Draft.txt"
  put "Projects/Alive Notes.txt"
  mmd -i "$image" "::Old Stuff"
  put "Old Stuff/Inner Report.txt"
  put "Old Stuff/Second Report.txt"
  mdel -i "$image" "::Gone Letter.txt"
  mdel -i "$image" "::Projects/Plan Draft.txt"
  mdeltree -i "$image" "::Old Stuff"
  local size
  size=$(stat -c %s "$work/content.txt")
  {
    printf 'folder\t%s\n' Projects "Old Stuff"
    for file in "Gone Letter.txt" "Projects/Plan Draft.txt" "Old Stuff/Inner Report.txt" \
      "Old Stuff/Second Report.txt"; do
      printf 'file\t%s\t%s\n' "$file" "$size"
    done
  } >"$work/fat.manifest"
  put_lost_jpeg "$image" >>"$work/fat.manifest"
}

le() { # image offset width: a little-endian number of the boot sector
  od -An -tu"$3" -j"$2" -N"$3" --endian=little "$1" | tr -d ' '
}

# Writes a JPEG file's first bytes into a free cluster near the volume's end,
# where no directory entry points, and prints its manifest line.
put_lost_jpeg() {
  local image=$1 sector cluster_sectors reserved fats roots fat_sectors total data clusters cluster
  sector=$(le "$image" 11 2)
  cluster_sectors=$(le "$image" 13 1)
  reserved=$(le "$image" 14 2)
  fats=$(le "$image" 16 1)
  roots=$(le "$image" 17 2)
  fat_sectors=$(le "$image" 22 2)
  total=$(le "$image" 19 2)
  [ "$total" -ne 0 ] || total=$(le "$image" 32 4)
  data=$((reserved + fats * fat_sectors + (roots * 32 + sector - 1) / sector))
  clusters=$(((total - data) / cluster_sectors))
  cluster=$((clusters - 8))
  {
    printf '\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00'
    head -c 3000 /dev/zero | tr '\0' 'J'
    printf '\xff\xd9'
  } >"$work/lost.jpg"
  dd if="$work/lost.jpg" of="$image" bs="$sector" seek=$((data + (cluster - 2) * cluster_sectors)) \
    conv=notrunc status=none
  printf 'signature\tJPG\t%s\t%s\n' "$cluster" "$(stat -c %s "$work/lost.jpg")"
}

make_ntfs() {
  local image=$work/ntfs.img mnt=$work/mnt
  rm -f "$image" "$work/ntfs.manifest"
  truncate -s 16M "$image"
  mkntfs -F -Q -q -L WIZNTFS "$image" >/dev/null 2>&1
  mkdir -p "$mnt"
  # Deleting needs the ntfs-3g mount (FUSE); without it there is no manifest
  # and the NTFS case is skipped.
  ntfs-3g "$image" "$mnt" 2>/dev/null || return 0
  (
    cd "$mnt"
    mkdir -p docs olddir
    printf 'still here\n' >keep.txt
    printf 'a deleted file in the root\n' >gone.txt
    printf 'a deleted report\n' >docs/report.txt
    printf 'a live file\n' >docs/live.txt
    printf 'inside a deleted folder\n' >olddir/inner.txt
    sync
    printf 'folder\t%s\n' docs olddir >"$work/ntfs.manifest"
    for file in gone.txt docs/report.txt olddir/inner.txt; do
      printf 'file\t%s\t%s\n' "$file" "$(stat -c %s "$file")" >>"$work/ntfs.manifest"
    done
    rm gone.txt docs/report.txt
    rm -r olddir
  )
  umount "$mnt"
}

case $action in
setup)
  mkdir -p "$work"
  make_fat
  make_ntfs
  map q "$work/fat.img"
  map r "$work/ntfs.img"
  ;;
cleanup)
  rm -f "$prefix/dosdevices/q::" "$prefix/dosdevices/q:" "$prefix/dosdevices/r::" "$prefix/dosdevices/r:"
  ;;
*) echo "usage: wizard-drives.sh setup|cleanup WINE_DIR WORK_DIR" >&2; exit 2 ;;
esac
