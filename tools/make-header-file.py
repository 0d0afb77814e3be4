#!/usr/bin/env python3
"""Turns the readable signature table (app/signatures/HeaderFile.txt) into
the program's binary signature file HeaderFile.cfg: 1072-byte records,
little-endian, no header, every record marked as shipped.

Usage: make-header-file.py TABLE OUTPUT
A malformed line stops the build with its line number."""

import os
import struct
import sys

GROUPS = ["All", "Application files", "Database", "Email", "Document", "Internet", "Movie",
          "Office document", "Text", "Sound", "Graphic", "Archive", "Miscellaneous"]
RECORD_SIZE = 1072
TEXT_CHARS = 260


def text_field(text, where):
    encoded = text.encode("utf-16-le")
    if len(text) > 255:
        raise ValueError(f"{where}: text longer than 255 characters")
    return encoded + b"\0" * (2 * TEXT_CHARS - len(encoded))


def parse_size(text, where):
    number, unit = text.split()
    number = int(number)
    if unit == "MB":
        size, unit_byte = number << 20, 0
    elif unit == "KB":
        size, unit_byte = number << 10, 1
    else:
        raise ValueError(f"{where}: size unit must be MB or KB")
    if size == 0 or size > 0xFFFFFFFF:
        raise ValueError(f"{where}: size must be above 0 and below 4096 MB")
    return size, unit_byte


def record(line, where):
    columns = [c.strip() for c in line.split("|")]
    if len(columns) != 6:
        raise ValueError(f"{where}: six columns expected, {len(columns)} found")
    name, extension, offset, signature, size, group = columns
    if not name or not extension or "." in extension:
        raise ValueError(f"{where}: name and extension (without the dot) are needed")
    offset = int(offset)
    if not 0 <= offset <= 511:
        raise ValueError(f"{where}: offset must lie between 0 and 511")
    signature = bytes(int(b, 16) for b in signature.split())
    if not 1 <= len(signature) <= 8:
        raise ValueError(f"{where}: a signature has 1 to 8 bytes")
    if group not in GROUPS[1:]:
        raise ValueError(f"{where}: unknown group {group!r}")
    max_size, unit = parse_size(size, where)
    out = bytearray(RECORD_SIZE)
    out[8:528] = text_field(name, where)                          # 8, 520, software name
    out[528:1048] = text_field(extension, where)                  # 528, 520, extension
    struct.pack_into("<I", out, 1048, offset)                     # 1048, 4, signature offset
    out[1052] = len(signature)                                    # 1052, 1, signature length
    out[1053:1053 + len(signature)] = signature                   # 1053, 8, signature bytes
    out[1062] = 1                                                 # 1062, 1, shipped record
    struct.pack_into("<I", out, 1064, max_size)                   # 1064, 4, maximum size in bytes
    out[1068] = unit                                              # 1068, 1, 0 MB, 1 KB
    out[1069] = GROUPS.index(group)                               # 1069, 1, group
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    table, output = sys.argv[1], sys.argv[2]
    records = []
    try:
        with open(table, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                if line.strip() and not line.lstrip().startswith("#"):
                    records.append(record(line, f"{table}:{number}"))
    except ValueError as error:
        sys.exit(str(error))
    with open(output + ".tmp", "wb") as f:
        f.write(b"".join(records))
    os.replace(output + ".tmp", output)


if __name__ == "__main__":
    main()
