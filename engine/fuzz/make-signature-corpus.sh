#!/usr/bin/env bash
# Remakes the seed corpora of the compound-document, physical-disk-scan and
# signature-match fuzz targets: a small word-processor document built sector
# by sector, a disk that holds it beside a few other signatures, and sets of
# signatures with a sector to test.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$here/corpus/compound_document" "$here/corpus/physical_disk_scan" "$here/corpus/signature_match"
python3 - "$here/corpus" <<'PY'
import struct, sys
out = sys.argv[1]
END, FREE, FATMARK = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD

def document(main_name, mark, main_size=4096, crafted=None):
    sectors = {}
    header = bytearray(512)
    header[0:8] = bytes([0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1])
    struct.pack_into('<HHHH', header, 0x1A, 0x3E, 3, 0xFFFE, 9)
    struct.pack_into('<H', header, 0x20, 6)
    struct.pack_into('<IIIIIIII', header, 0x2C, 1, 1, 0, 4096, 10, 1, END, 0)
    for i in range(109):
        struct.pack_into('<I', header, 0x4C + 4 * i, 0 if i == 0 else FREE)
    fat = [FATMARK, END] + [i + 1 for i in range(2, 9)] + [END, END, END] + [FREE] * 116
    sectors[0] = struct.pack('<128I', *fat)
    directory = bytearray(512)
    def entry(slot, name, kind, start, size):
        e = 128 * slot
        raw = name.encode('utf-16-le')
        directory[e:e + len(raw)] = raw
        struct.pack_into('<H', directory, e + 0x40, len(raw) + 2)
        directory[e + 0x42] = kind
        struct.pack_into('<II', directory, e + 0x74, start, size)
    entry(0, 'Root Entry', 5, 11, 512)
    entry(1, main_name, 2, 2, main_size)
    entry(2, '\x05SummaryInformation', 2, 0, 200)
    sectors[1] = bytes(directory)
    sectors[2] = struct.pack('<I', mark) + bytes(508)
    sectors[10] = struct.pack('<128I', *([1, 2, 3, END] + [FREE] * 124))
    if crafted:
        crafted(header, sectors, directory)
        sectors[1] = bytes(directory)
    body = bytearray(header)
    for i in range(12):
        body += sectors.get(i, bytes(512))
    return bytes(body)

word = document('WordDocument', 0xA5EC)
with open(out + '/compound_document/word', 'wb') as f:
    f.write(b'\x00' + word)
with open(out + '/compound_document/presentation', 'wb') as f:
    f.write(b'\x03' + document('PowerPoint Document', 0x0BADDEED))
# Documents whose chains loop: a FAT sector of zeros (every chain 0, 0, ...)
# under a summary far into the mini stream, and a directory whose FAT entry
# names itself. Measured with no bound they walk their loops for good.
def zero_fat(header, sectors, directory):
    sectors[0] = bytes(512)
    struct.pack_into('<I', header, 0x40, FREE)
    struct.pack_into('<I', directory, 2 * 128 + 0x74, 0x7FFFF8)
def directory_loop(header, sectors, directory):
    fat = list(struct.unpack('<128I', sectors[0]))
    fat[1] = 1
    sectors[0] = struct.pack('<128I', *fat)
with open(out + '/compound_document/zero-fat-loop', 'wb') as f:
    f.write(b'\x00' + document('Workbook', 0, 3000, zero_fat))
with open(out + '/compound_document/directory-loop', 'wb') as f:
    f.write(b'\x00' + document('WordDocument', 0xA5EC, 4096, directory_loop))
disk = bytearray(16 * 512)
disk[3 * 512:3 * 512 + 4] = b'\xff\xd8\xff\xe0'
disk[6 * 512:6 * 512 + 6] = b'BM' + struct.pack('<I', 1000)
disk[8 * 512:8 * 512 + 2] = b'PK'
disk += word
with open(out + '/physical_disk_scan/mixed', 'wb') as f:
    f.write(bytes(disk))
# Signature sets for the indexed test: a count, 12 bytes per signature
# (offset, length, BMP flag, bytes), then the sector.
def rec(off, sig, bmp=0):
    return struct.pack('<HBB', off, len(sig), bmp) + sig.ljust(8, b'\0')
with open(f"{out}/signature_match/three-signatures", "wb") as f:
    f.write(bytes([3]) + rec(0, b'\xff\xd8\xff') + rec(0, b'%PDF') + rec(0, b'BM', 1) + b'BM' +
            struct.pack('<I', 1000) + bytes(506))
with open(f"{out}/signature_match/overlap", "wb") as f:
    f.write(bytes([3]) + rec(8, b'WAVE') + rec(4, b'ftypWAVE') + rec(500, b'\x01' * 8) + bytes(4) + b'ftypWAVE' +
            bytes(500))
PY
