#!/usr/bin/env bash
# Remakes the seed corpora of the FAT fuzz targets with mkfs.fat and mtools:
# boot sectors of each kind, a folder cluster full of long names, and a tiny
# FAT12 image (only its written sectors) with deleted files and folders.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
boot=$here/corpus/fat_boot_sector
entries=$here/corpus/fat_directory_entry
search=$here/corpus/fat_fast_search
advanced=$here/corpus/fat_advanced_search
mkdir -p "$boot" "$entries" "$search" "$advanced"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export MTOOLS_SKIP_CHECK=1

mkboot() { # name size-KB options...
  local name=$1 kb=$2
  shift 2
  mkfs.fat -C "$@" "$tmp/$name.img" "$kb" >/dev/null
  head -c 512 "$tmp/$name.img" >"$boot/mkfs-$name.bin"
}
mkboot fat12 1440 -F 12
mkboot fat12-s64 32768 -F 12 -s 64
mkboot fat16-s1 8192 -F 16 -s 1
mkboot fat32-s1 40960 -F 32 -s 1

# A folder of long-named files, half deleted; the seed's first byte picks the
# split between the cluster before and the cluster in hand.
mkfs.fat -C -F 16 -s 1 "$tmp/names.img" 8192 >/dev/null
mmd -i "$tmp/names.img" ::/Many
echo x >"$tmp/x"
for i in 1 2 3 4 5 6 7 8; do mcopy -i "$tmp/names.img" "$tmp/x" "::/Many/long file name number $i.txt"; done
for i in 2 4 6 8; do mdel -i "$tmp/names.img" "::/Many/long file name number $i.txt"; done
python3 - "$tmp/names.img" "$entries/many-long-names.bin" <<'PY'
import sys
d = open(sys.argv[1], 'rb').read()
at = d.find('long '.encode('utf-16-le')) // 512 * 512
open(sys.argv[2], 'wb').write(bytes([16]) + d[at - 512:at + 512])
PY

mkfs.fat -C -F 12 -r 16 -s 1 "$tmp/tiny.img" 40 >/dev/null
echo hello >"$tmp/a.txt"
head -c 700 /dev/urandom >"$tmp/Long Named File.bin"
mmd -i "$tmp/tiny.img" ::/Dir
mmd -i "$tmp/tiny.img" ::/Dir/Sub
mcopy -i "$tmp/tiny.img" "$tmp/a.txt" "$tmp/Long Named File.bin" ::/Dir/
mcopy -i "$tmp/tiny.img" "$tmp/a.txt" ::/Dir/Sub/
mcopy -i "$tmp/tiny.img" "$tmp/a.txt" ::/TOP.TXT
mdel -i "$tmp/tiny.img" "::/Dir/Long Named File.bin" ::/TOP.TXT
mdeltree -i "$tmp/tiny.img" ::/Dir/Sub
head -c $((11 * 512)) "$tmp/tiny.img" >"$search/fat12-tiny-deleted.img"

# A folder deleted as Windows leaves it: several clusters of long-named
# entries, each file's entry made before its data (an empty file first, then
# mcopy over it), and the folder's size patched into its deleted entry, which
# no tool here writes.
mkfs.fat -C -F 12 -r 16 -s 1 "$tmp/win.img" 60 >/dev/null
: >"$tmp/empty"
mmd -i "$tmp/win.img" ::/Gone
for i in 1 2 3 4 5 6 7; do
  mcopy -i "$tmp/win.img" "$tmp/empty" "::/Gone/A long file name number $i.txt"
  mcopy -o -i "$tmp/win.img" "$tmp/Long Named File.bin" "::/Gone/A long file name number $i.txt"
done
mdeltree -i "$tmp/win.img" ::/Gone
python3 - "$tmp/win.img" "$search/fat12-windows-deleted-folder.img" <<'PY'
import sys
d = bytearray(open(sys.argv[1], 'rb').read())
at = d.find(b'\xe5ONE       \x10')
d[at + 28:at + 32] = (4 * 512).to_bytes(4, 'little')
open(sys.argv[2], 'wb').write(bytes(d))
PY

# A folder of long-named files copied in by one recursive mcopy and deleted
# with mdeltree: mtools gives the folder its later clusters after all the
# files' data, where only the advanced search finds them.
mkfs.fat -C -F 12 -r 16 -s 1 "$tmp/later.img" 60 >/dev/null
mkdir "$tmp/Trip"
for i in $(seq 1 14); do head -c $((i * 70)) /dev/urandom >"$tmp/Trip/Picture of the trip $i.jpg"; done
mcopy -s -i "$tmp/later.img" "$tmp/Trip" ::/
mdeltree -i "$tmp/later.img" ::/Trip
cp "$tmp/later.img" "$advanced/fat12-mtools-deleted-folder.img"
