#!/usr/bin/env bash
# Remakes the seed corpora of the NTFS fuzz targets: FILE records taken from
# an image that mkntfs formats and ntfscp fills, and small printf inputs for
# run lists, attribute lists and LZNT1.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
c=$here/corpus
mkdir -p "$c/ntfs_file_record" "$c/ntfs_run_list" "$c/ntfs_attribute_list" "$c/ntfs_lznt1" "$c/ntfs_search"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

truncate -s 8M "$tmp/n.img"
mkntfs -F -Q -q -c 512 "$tmp/n.img" >/dev/null 2>&1
printf 'small resident file\n' >"$tmp/small.txt"
head -c 3000 /dev/zero | tr '\0' 'x' >"$tmp/large.txt"
ntfscp -q "$tmp/n.img" "$tmp/small.txt" small.txt
ntfscp -q "$tmp/n.img" "$tmp/large.txt" large.txt
# $MFT starts at the cluster the boot sector names (offset 0x30), 1024-byte records.
mft=$(od -An -t u8 -j 48 -N 8 "$tmp/n.img" | tr -d ' ')
record() { dd if="$tmp/n.img" bs=1024 skip=$((mft / 2 + $1)) count=${2:-1} status=none; }
record 0 >"$c/ntfs_file_record/mft"
record 5 >"$c/ntfs_file_record/root-folder"
record 64 >"$c/ntfs_file_record/resident-file"
record 65 >"$c/ntfs_file_record/non-resident-file"
# Search inputs: a selector byte, then records from slot 6 (even) or 0 (odd).
{ printf '\x00'; record 64 2; } >"$c/ntfs_search/two-files"
{ printf '\x01'; record 0 6; } >"$c/ntfs_search/system-records"
# A damaged $MFT record whose one run (2^31 - 1 clusters from the fuzz
# volume's table at cluster 16) and data size (4 TiB) reach far past the
# volume's end: the walk must search what is there, not billions of records.
record 0 >"$tmp/mft0"
runs=$(od -An -t u2 -j $((0x100 + 0x20)) -N 2 "$tmp/mft0" | tr -d ' ')
printf '\x14\xff\xff\xff\x7f\x10\x00\x00' | dd of="$tmp/mft0" bs=1 seek=$((0x100 + runs)) conv=notrunc status=none
for field in 0x28 0x30 0x38; do
  printf '\x00\x00\x00\x00\x00\x04\x00\x00' | dd of="$tmp/mft0" bs=1 seek=$((0x100 + field)) conv=notrunc status=none
done
{ printf '\x01'; cat "$tmp/mft0"; } >"$c/ntfs_search/mft-runs-past-the-volume-end"

printf '\x11\x04\x20\x00' >"$c/ntfs_run_list/one-run"
printf '\x11\x02\x20\x01\x05\x11\x03\xf0\x00' >"$c/ntfs_run_list/sparse-and-back"
printf '\x81\x01\x01\x00\x00\x00\x01\x00\x00\x00\x00' >"$c/ntfs_run_list/wide-cluster"

entry() { # type vcn record
  printf "$(printf '\\x%02x\\x%02x\\x00\\x00\\x20\\x00\\x00\\x1a' "$(($1 & 255))" "$(($1 >> 8))")"
  printf "$(printf '\\x%02x\\x00\\x00\\x00\\x00\\x00\\x00\\x00' "$2")"
  printf "$(printf '\\x%02x\\x00\\x00\\x00\\x00\\x00\\x01\\x00' "$3")"
  printf '\x00\x00\x00\x00\x00\x00\x00\x00'
}
{ entry 16 0 40; entry 48 0 40; entry 128 0 40; entry 128 16 41; } >"$c/ntfs_attribute_list/four-entries"

printf '\x05\xb0\x08abc\x03\x20' >"$c/ntfs_lznt1/back-reference"
printf '\x02\x30xyz\x05\xb0\x08abc\x03\x20\x00\x00' >"$c/ntfs_lznt1/two-chunks"
