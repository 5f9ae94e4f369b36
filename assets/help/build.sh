#!/bin/sh
# Build ../help.hlp (CP932, CR LF) from help.txt (UTF-8, LF).
# Fails, leaving the old help.hlp in place, if help.txt holds a character CP932 lacks.
set -eu
export LC_ALL=C
cd "$(dirname "$0")"
out=../help.hlp
tmp=$out.tmp.$$
src=$out.src.$$
trap 'rm -f "$tmp" "$src"' EXIT
# The source with any CR dropped; every line (the last one too) then gets CR LF.
awk '{ sub(/\r$/, ""); print }' help.txt > "$src"
iconv -f UTF-8 -t CP932 "$src" | awk '{ printf "%s\r\n", $0 }' > "$tmp"
# The round trip must give back the source exactly: a character CP932 lacks stops iconv early.
if ! iconv -f CP932 -t UTF-8 "$tmp" | sed 's/\r$//' | cmp -s - "$src"; then
    echo "build.sh: help.hlp does not read back as help.txt (a character CP932 lacks?)" >&2
    exit 1
fi
mv "$tmp" "$out"
echo "wrote $(cd .. && pwd)/help.hlp"
