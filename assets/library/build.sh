#!/usr/bin/env bash
# Rebuilds assets/data/<title>.std from every assets/library/<title>.txt.
#
#   assets/library/build.sh [KEYROOK_TOOL]
#
# KEYROOK_TOOL defaults to build/bin/keyrook-tool under the repository root.
# A source file is: description, author, "roman" or "english", then the
# question/answer pairs exactly as they would stand in the maker's editor.
# Each set is rewritten in place, so the script can be run again at any time;
# files in assets/data/ without a source here are left alone.
set -euo pipefail
export PYTHONDONTWRITEBYTECODE=1

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
data="$root/assets/data"

tool=${1:-$root/build/bin/keyrook-tool}
case $tool in
    /*) ;;
    */*) tool="$PWD/$tool" ;;
esac
if [[ ! -x $tool ]] && ! command -v "$tool" >/dev/null 2>&1; then
    echo "build.sh: keyrook-tool not found at $tool" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Catch bad readings before anything is written.
if command -v python3 >/dev/null 2>&1; then
    if ! python3 "$here/check_sources.py" >"$work/check" 2>&1; then
        cat "$work/check" >&2
        echo "build.sh: sources have problems; nothing converted" >&2
        exit 1
    fi
else
    echo "build.sh: python3 missing, skipping the source check" >&2
fi

mkdir -p "$data"

failed=0
converted=0
shopt -s nullglob
for src in "$here"/*.txt; do
    title=$(basename "$src" .txt)
    description=$(sed -n '1p' "$src")
    author=$(sed -n '2p' "$src")
    kind=$(sed -n '3p' "$src")
    editor="$work/editor.txt"
    tail -n +4 "$src" >"$editor"

    args=()
    case $kind in
        roman) ;;
        english) args+=(--english) ;;
        *) echo "FAIL $title: line 3 is '$kind', want roman or english" >&2
           failed=$((failed + 1)); continue ;;
    esac

    out="$data/$title.std"
    if "$tool" convert "${args[@]}" --title "$title" --author "$author" \
            --description "$description" "$editor" "$data" >"$work/log" 2>&1 \
            && [[ -s $out ]]; then
        if [[ -s $work/log ]]; then
            # The tool converts quietly when nothing is wrong; anything it said
            # deserves a look even though the set was written.
            echo "WARN $title:" >&2
            sed 's/^/     /' "$work/log" >&2
        fi
        echo "ok   $title"
        converted=$((converted + 1))
    else
        echo "FAIL $title:" >&2
        sed 's/^/     /' "$work/log" >&2
        failed=$((failed + 1))
    fi
done

echo "$converted converted, $failed failed"
[[ $failed -eq 0 ]] || exit 1

# Every stored set must match its source and read back to the same readings.
if command -v python3 >/dev/null 2>&1; then
    if ! python3 "$here/verify_data.py" "$tool" >"$work/verify" 2>&1; then
        cat "$work/verify" >&2
        echo "build.sh: converted sets do not match their sources" >&2
        exit 1
    fi
    echo "all sets read back as written"
fi
