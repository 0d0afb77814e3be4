#!/usr/bin/env python3
"""Writes the English string table of the program (the STRINGTABLE entries
of app/QuendalVarnoth.rc, by the ids app/resource.h gives them) as a C++
table, so programs built without the resources (the engine's benchmark
programs) log the texts the program shows instead of their ids.

Usage: make-english-texts.py RESOURCE_SCRIPT RESOURCE_HEADER OUTPUT"""

import re
import sys


def main():
    script, header, output = sys.argv[1:4]
    ids = {}
    for line in open(header, encoding="utf-8"):
        # A define may carry a note after it ("// engine: ..."); the id is
        # the number before it.
        match = re.match(r"#define\s+(IDS_\w+)\s+(\d+)\s*(//.*)?$", line)
        if match:
            ids[match.group(1)] = int(match.group(2))
    rows = []
    in_table = False
    for line in open(script, encoding="utf-8"):
        stripped = line.strip()
        if stripped == "STRINGTABLE":
            in_table = True
        elif stripped == "END":
            in_table = False
        match = re.match(r'(IDS_\w+)\s+"(.*)"$', stripped)
        if in_table and match and match.group(1) in ids:
            # Resource scripts double a quote inside a text; C++ escapes it.
            text = match.group(2).replace('""', '\\"')
            rows.append((ids[match.group(1)], text))
    with open(output, "w", encoding="utf-8") as out:
        out.write("// Made by tools/make-english-texts.py from the program's resource script.\n")
        out.write("#pragma once\n\n#include <cstdint>\n\n")
        out.write("struct EnglishText {\n  uint32_t m_id;\n  const char16_t *m_text;\n};\n\n")
        out.write("inline constexpr EnglishText kEnglishTexts[] = {\n")
        for number, text in sorted(rows):
            out.write('    {%d, u"%s"},\n' % (number, text))
        out.write("};\n")


if __name__ == "__main__":
    main()
