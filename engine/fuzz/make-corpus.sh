#!/usr/bin/env bash
# Remakes the seed corpora of the engine's fuzz targets with real tools
# (sfdisk, mkfs.fat) and small printf generators.
set -euo pipefail
export PATH=$PATH:/usr/sbin:/sbin
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
walk=$here/corpus/partition_walk
ident=$here/corpus/identity
records=$here/corpus/records
mkdir -p "$walk" "$ident" "$records"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Partition tables: primaries only, a primary with an extended chain, and a
# real FAT partition.
truncate -s 64K "$tmp/p.img"
printf 'label: dos\n2,20,c\n24,10,7\n40,10,6\n60,10,e\n' | sfdisk -q "$tmp/p.img"
head -c 512 "$tmp/p.img" >"$walk/primaries"
truncate -s 64K "$tmp/e.img"
printf 'label: dos\n2,20,c\n24,,5\n26,10,6\n40,10,b\n60,10,1\n' | sfdisk -q "$tmp/e.img"
head -c $((64 * 512)) "$tmp/e.img" >"$walk/extended-chain"
truncate -s 2M "$tmp/f.img"
printf 'label: dos\n2048,,c\n' | sfdisk -q "$tmp/f.img"
mkfs.fat -F 12 --offset 2048 "$tmp/f.img" 1000 >/dev/null 2>&1
head -c 512 "$tmp/f.img" >"$walk/fat-primary"

# IDENTIFY data: texts at their offsets, the bytes of each word swapped.
swap() { printf '%-*.*s' "$2" "$2" "$1" | sed 's/\(.\)\(.\)/\2\1/g' | tr -d '\n'; }
{
  printf '\x05'
  head -c 19 /dev/zero
  swap "          SN12345678" 20
  head -c 6 /dev/zero
  swap "1.0A" 8
  swap "QUENDAL TEST DISK" 40
  head -c 418 /dev/zero
} >"$ident/identify-block"
# SMART data: three attribute entries, 194 among them.
{
  printf '\x11\x00'
  for id in 01 c2 09; do printf "\\x$id\\x00\\x00\\x64\\x64\\x28"; head -c 6 /dev/zero; done
  head -c 474 /dev/zero
} >"$ident/smart-data"

# Records: an empty found-entry record and a signature record for "%PDF" at 0.
head -c 64 /dev/zero >"$records/entry-record"
{
  head -c 1048 /dev/zero
  printf '\x00\x00\x00\x00\x04\x25\x50\x44\x46'
  head -c 15 /dev/zero
} >"$records/header-record"
