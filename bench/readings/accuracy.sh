#!/usr/bin/env bash
# How often the suggested reading of a question equals the reading written for it.
#
#   bench/readings/accuracy.sh [KEYROOK_TOOL] [FILE...]
#
# Each FILE holds question / reading line pairs as the maker's editor does (default: the
# sentences*.txt beside this script, ordinary sentences written for this measurement, each
# batch written before the rules were tuned on it).
# Prints every differing pair and the share of exact suggestions.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tool=${1:-$here/../../build/bin/keyrook-tool}
shift || true
[ $# -gt 0 ] || set -- "$here"/sentences*.txt
total=0
exact=0
for file in "$@"; do
    while IFS=$'\t' read -r question want got; do
        total=$((total + 1))
        if [ "$want" = "$got" ]; then
            exact=$((exact + 1))
        else
            printf '%s\n  written   %s\n  suggested %s\n' "$question" "$want" "$got"
        fi
    done < <(paste <(awk 'NR % 2 == 1' "$file") <(awk 'NR % 2 == 0' "$file") \
                   <(awk 'NR % 2 == 1' "$file" | "$tool" reading))
done
awk -v e="$exact" -v t="$total" 'BEGIN { printf "exact: %d of %d (%.1f %%)\n", e, t, t ? 100 * e / t : 0 }'
