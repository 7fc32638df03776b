#!/usr/bin/env bash
# Measures the spelling suggestions of quirtel-score against hunspell on a
# hand-written set of misspellings of the kinds people make (b/v, c/s/z, g/j,
# ll/y, a silent h, qu/c/k, two slips in one word...): how often the meant
# word is the first suggestion, and how often it is among the first five.
#
# Usage: tools/measure_real_misspellings.sh [--list] [SET]
#   SET      "error word" pairs (default tests/data/faltas_reales.txt)
#   --list   also print every error with both programs' suggestions
#            (X: the meant word is not among ours, *: not first)
# Environment: QUIRTEL_SCORE (default build/src/score/quirtel-score, built
# there when missing), DICTIONARY (default datos/es.dic).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list=()
if [ "${1:-}" = "--list" ]; then
    list=(--list)
    shift
fi
set_file=${1:-$root/tests/data/faltas_reales.txt}
# shellcheck source=tools/measure_common.sh
. "$root/tools/measure_common.sh"
measure_setup measure_real_misspellings.sh "$set_file"
python3 "$root/tools/measure_real_misspellings.py" "$score" "$dictionary" "$set_file" "${list[@]}"
