#!/usr/bin/env bash
# Makes an NTFS image with about 100,000 small files in 100 folders through an
# ntfs-3g mount, deletes every third one, and times the search against
# `ntfsundelete --scan` on the same image. QV_BENCH_FILES asks for another
# number of files (in folders of 1,000; a gigabyte of image per 100,000).
#   make-ntfs-bench-image.sh IMAGE [NtfsBench]
set -euo pipefail
img=${1:?usage: make-ntfs-bench-image.sh IMAGE [NtfsBench]}
bench=${2:-}
files=${QV_BENCH_FILES:-100000}
if [ ! -f "$img" ]; then
  truncate -s "$(((files + 99999) / 100000))G" "$img"
  mkntfs -F -Q -q -c 4096 "$img" >/dev/null 2>&1
  mnt=$(mktemp -d)
  ntfs-3g "$img" "$mnt"
  python3 - "$mnt" "$files" <<'PY'
import os, sys
mnt, folders = sys.argv[1], (int(sys.argv[2]) + 999) // 1000
for d in range(folders):
    folder = os.path.join(mnt, 'folder%03d' % d)
    os.mkdir(folder)
    for f in range(1000):
        with open(os.path.join(folder, 'file%04d.txt' % f), 'wb') as out:
            out.write(b'%d/%d ' % (d, f) * (1 + f % 300))
for d in range(folders):
    for f in range(0, 1000, 3):
        os.remove(os.path.join(mnt, 'folder%03d' % d, 'file%04d.txt' % f))
PY
  umount "$mnt"
  rmdir "$mnt"
fi
if [ -n "$bench" ]; then
  "$bench" --bench "$img"
  start=$(date +%s.%N)
  found=$(ntfsundelete --scan "$img" 2>/dev/null | grep -c '^[0-9]' || true)
  end=$(date +%s.%N)
  echo "ntfsundelete --scan: $(echo "$end - $start" | bc) s, $found entries listed"
fi
