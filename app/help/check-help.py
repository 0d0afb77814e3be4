#!/usr/bin/env python3
"""Checks the help files: every help context the program passes has a topic,
every language has every page, and every compiled file exists and holds
every topic.

Usage: check-help.py HELP_SOURCE_DIR BIN_DIR
"""
import re
import sys
from pathlib import Path

LANGUAGES = {"en": "ENG", "fr": "FRN", "de": "GER", "es": "SPN", "it": "ITA"}


def sections(project_text):
    result, current = {}, None
    for line in project_text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = result.setdefault(line[1:-1], [])
        elif line and current is not None:
            current.append(line)
    return result


def main():
    source, bin_dir = Path(sys.argv[1]), Path(sys.argv[2])
    failures = []

    contexts = dict(re.findall(r"^#define\s+(IDH_\w+)\s+(\d+)", (source / "HelpContexts.h").read_text(), re.M))
    project = sections((source / "Help.hhp.in").read_text())
    files = project["FILES"]
    aliases = dict(line.split("=", 1) for line in project["ALIAS"])
    pages = [f for f in files if f.endswith(".htm")]

    if not contexts:
        failures.append("no help contexts in HelpContexts.h")
    for name, number in contexts.items():
        topic = aliases.get(name)
        if topic is None:
            failures.append(f"context {name} ({number}) has no topic")
        elif topic not in files:
            failures.append(f"context {name} ({number}) names {topic}, which is not compiled")
    if len(set(contexts.values())) != len(contexts):
        failures.append("two help contexts share a number")

    for folder in LANGUAGES:
        for page in pages + ["Contents.hhc"]:
            path = source / folder / page
            if not path.is_file():
                failures.append(f"{folder}/{page} is missing")
                continue
            text = path.read_text(encoding="cp1252")
            if page.endswith(".htm") and not re.search(r"<title>[^<]+</title>", text):
                failures.append(f"{folder}/{page} has no title")
            for link in re.findall(r'(?:href|value)="([\w.]+\.htm)', text):
                if link not in pages:
                    failures.append(f"{folder}/{page} links to {link}, which is not a page")
        contents = (source / folder / "Contents.hhc").read_text(encoding="cp1252")
        for page in pages:
            if f'"{page}"' not in contents:
                failures.append(f"{folder}/Contents.hhc leaves out {page}")

    compiled = {f"Quendal Varnoth File Recovery_{suffix}.chm" for suffix in LANGUAGES.values()}
    compiled.add("FileRecovery.chm")
    for name in sorted(compiled):
        path = bin_dir / name
        if not path.is_file():
            failures.append(f"{name} was not built")
            continue
        data = path.read_bytes()
        if not data.startswith(b"ITSF"):
            failures.append(f"{name} is not a compiled help file")
        # The directory of a compiled help file names every file it holds.
        for entry in pages + ["#IVB", "#STRINGS", "Contents.hhc"]:
            if ("/" + entry).encode() not in data:
                failures.append(f"{name} does not hold {entry}")

    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"{len(contexts)} contexts, {len(pages)} pages in {len(LANGUAGES)} languages, {len(compiled)} files")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
