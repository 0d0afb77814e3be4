#!/usr/bin/env bash
# Makes the FAT32 image of the search benchmark with the real tools: a 2 GB
# volume of 4 KB clusters holding folders of files of mixed sizes, copied in
# by one recursive mcopy; then a third of the files and a few whole folders
# are deleted with mdel and mdeltree in large batches.
# Usage: make-fat-bench-image.sh IMAGE [FOLDERS [FILES_PER_FOLDER]]
set -euo pipefail
image=${1:?usage: make-fat-bench-image.sh IMAGE [FOLDERS [FILES_PER_FOLDER]]}
folders=${2:-200}
per_folder=${3:-150}
export MTOOLS_SKIP_CHECK=1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

python3 - "$tree" "$folders" "$per_folder" <<'PY'
import os, random, sys
root, folders, per = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = random.Random(1)
block = os.urandom(1 << 20)
for d in range(folders):
    group = os.path.join(root, 'Group %02d' % (d % 20))
    folder = os.path.join(group, 'Project folder %03d' % d)
    os.makedirs(folder, exist_ok=True)
    for f in range(per):
        size = int(rng.lognormvariate(9.2, 1.3)) % (4 << 20)
        name = ('report %04d of project %03d.dat' % (f, d)) if f % 2 else ('F%05d.BIN' % f)
        with open(os.path.join(folder, name), 'wb') as out:
            start = rng.randrange(0, len(block) - 1)
            while size > 0:
                piece = block[start:start + size]
                out.write(piece)
                size -= len(piece)
                start = 0
PY

rm -f "$image"
mkfs.fat -C -F 32 -s 8 -n BENCH "$image" $((2 * 1024 * 1024)) >/dev/null
mcopy -s -Q -i "$image" "$tree"/* ::/

# A third of the files, in batches, then a few whole folders.
(cd "$tree" && find . -type f | sort | awk 'NR % 3 == 0' | sed 's|^\.|::|') >"$tree.list"
xargs -d '\n' -n 500 mdel -i "$image" <"$tree.list"
rm -f "$tree.list"
for d in 7 77 150; do
  if [ "$d" -lt "$folders" ]; then
    mdeltree -i "$image" "::/Group $(printf %02d $((d % 20)))/Project folder $(printf %03d $d)"
  fi
done
echo "made $image"
