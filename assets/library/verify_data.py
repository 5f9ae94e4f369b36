#!/usr/bin/env python3
"""Checks the converted sets in assets/data against their sources.

For every assets/library/<title>.txt the file assets/data/<title>.std must
hold, in CP932 with CR LF line ends: the header (description/author, plus "#"
for an english set), then every question line verbatim and every answer line
as its code string (roman) or verbatim (english). For a roman set the code
strings are read back with `keyrook-tool yomi` and must give the readings of
the source again; they are also compared with this folder's own encoder in
check_sources.py, so the two implementations watch each other.

Usage: verify_data.py KEYROOK_TOOL
"""

import pathlib
import subprocess
import sys

import check_sources

HERE = pathlib.Path(__file__).resolve().parent
DATA = HERE.parent / "data"


def tool_lines(tool, command, lines):
    result = subprocess.run([tool, command], input="".join(l + "\n" for l in lines),
                            capture_output=True, encoding="utf-8", check=True)
    return result.stdout.split("\n")[:len(lines)]


def verify(tool, source):
    title = source.stem
    lines = source.read_text(encoding="utf-8").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    description, author, kind = lines[:3]
    body = lines[3:]
    english = kind == "english"
    std = DATA / (title + ".std")
    if not std.exists():
        return ["%s missing" % std.name]
    raw = std.read_bytes()
    errors = []
    if not raw.endswith(b"\r\n") or raw.replace(b"\r\n", b"").count(b"\n") \
            or raw.replace(b"\r\n", b"").count(b"\r"):
        errors.append("line ends are not CR LF throughout")
    stored = raw.decode("cp932").split("\r\n")[:-1]
    header = description + "/" + author + ("#" if english else "")
    if stored[:1] != [header]:
        errors.append("header is %r, want %r" % (stored[:1], header))
    if len(stored) != len(body) + 1:
        errors.append("%d lines stored, want %d" % (len(stored), len(body) + 1))
        return errors
    questions = stored[1::2]
    answers = stored[2::2]
    readings = body[1::2]
    if questions != body[0::2]:
        errors.append("question lines differ from the source")
    if english:
        if answers != readings:
            errors.append("english answer lines differ from the source")
        return errors
    for reading, code in zip(readings, answers):
        if code != check_sources.encode(reading):
            errors.append("%s: stored %s, local encoder gives %s"
                          % (reading, code, check_sources.encode(reading)))
    back = tool_lines(tool, "yomi", answers)
    for reading, code, yomi in zip(readings, answers, back):
        if yomi != reading:
            errors.append("%s: %s reads back as %s" % (reading, code, yomi))
    return errors


def main(argv):
    if len(argv) != 1:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    tool = argv[0]
    failed = False
    for source in sorted(HERE.glob("*.txt")):
        errors = verify(tool, source)
        print("%-4s %s" % ("ok" if not errors else "FAIL", source.stem))
        for e in errors:
            print("       " + e)
        failed |= bool(errors)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
