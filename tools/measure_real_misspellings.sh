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
dictionary=${DICTIONARY:-$root/datos/es.dic}
score=${QUIRTEL_SCORE:-$root/build/src/score/quirtel-score}

"$root/tools/deps.sh" data
for f in "$set_file" "$dictionary"; do
    [ -r "$f" ] || { echo "measure_real_misspellings.sh: cannot read $f" >&2; exit 1; }
done
if [ ! -x "$score" ] && [ -z "${QUIRTEL_SCORE:-}" ]; then
    cmake -S "$root" -B "$root/build" >/dev/null
    cmake --build "$root/build" --target quirtel-score -j2 >/dev/null
fi
dpkg-query -W -f='${Package} ${Version}\n' hunspell hunspell-es
python3 "$root/tools/measure_real_misspellings.py" "$score" "$dictionary" "$set_file" "${list[@]}"
