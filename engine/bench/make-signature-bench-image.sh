#!/usr/bin/env bash
# Makes the image of the signature benchmark with the real tools: a 2 GB file
# filled with noise (so free clusters hold bytes as on a used drive, and the
# file is not sparse), formatted FAT32 with 4 KB clusters in place; a few
# thousand JPEG, PDF, ZIP and BMP files (true headers, random bodies) are
# copied in by one recursive mcopy and two thirds of them deleted with mdel.
# Usage: make-signature-bench-image.sh IMAGE [FILES]
set -euo pipefail
image=${1:?usage: make-signature-bench-image.sh IMAGE [FILES]}
files=${2:-3000}
export MTOOLS_SKIP_CHECK=1
tree=$(mktemp -d)
trap 'rm -rf "$tree" "$tree.list"' EXIT

python3 - "$image" "$tree" "$files" <<'PY'
import os, random, struct, sys
image, root, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
rng = random.Random(1)
# The noise avoids the signatures' first bytes so the only hits are the files.
block = bytes(b % 200 + 1 for b in os.urandom(1 << 20))
with open(image, 'wb') as out:
    for _ in range(2048):
        out.write(block)

# Headers whole enough for a carving tool to take them: a full JFIF APP0
# segment followed by a comment segment, a PDF header line, a stored ZIP
# entry, and a 24-bit bitmap whose pixel rows fill the file exactly.
def header(kind, size):
    if kind == 'jpg':
        return (b'\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00'
                b'\xff\xfe\x00\x08bench!')
    if kind == 'pdf':
        return b'%PDF-1.4\n%\xe2\xe3\xcf\xd3\n'
    if kind == 'zip':
        return b'PK\x03\x04\x14\x00\x00\x00\x08\x00'
    width = 256
    height = (size - 54) // (width * 3)
    return b'BM' + struct.pack('<IHHIIiiHHIIiiII', 54 + width * 3 * height, 0, 0, 54, 40, width, height,
                               1, 24, 0, width * 3 * height, 2835, 2835, 0, 0)

def body_size(kind, size):
    return 54 + (size - 54) // 768 * 768 if kind == 'bmp' else size

kinds = ['jpg', 'pdf', 'zip', 'bmp']
for n in range(count):
    kind = kinds[n % 4]
    folder = os.path.join(root, 'Folder %02d' % (n % 30))
    os.makedirs(folder, exist_ok=True)
    size = body_size(kind, rng.randrange(8 << 10, 256 << 10))
    start = rng.randrange(0, len(block) - size)
    head = header(kind, size)
    with open(os.path.join(folder, 'file %05d.%s' % (n, kind)), 'wb') as f:
        tail = b'\xff\xd9' if kind == 'jpg' else b'\n%%EOF\n' if kind == 'pdf' else b''
        f.write(head + block[start + len(head):start + size - len(tail)] + tail)
PY

mkfs.fat -F 32 -s 8 -n SIGBENCH "$image" >/dev/null
mcopy -s -Q -i "$image" "$tree"/* ::/
(cd "$tree" && find . -type f | sort | awk 'NR % 3 != 0' | sed 's|^\.|::|') >"$tree.list"
xargs -d '\n' -n 500 mdel -i "$image" <"$tree.list"
echo "made $image"
