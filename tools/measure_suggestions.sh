#!/usr/bin/env bash
# Measures the spelling suggestions of quirtel-score against hunspell on a set
# of typing errors made from correct prose (tools/measure_suggestions.py says
# how): how often the meant word is the first suggestion, and how often it is
# among the first five, per kind of error.
#
# Usage: tools/measure_suggestions.sh [--list] [PROSE]
#   PROSE    correctly spelled prose (default tests/data/prosa_es.txt)
#   --list   also print every error with both programs' suggestions
# Environment: QUIRTEL_SCORE (default build/src/score/quirtel-score, built
# there when missing), DICTIONARY (default datos/es.dic; its frecuencias.txt
# beside it ranks the suggestions).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list=()
if [ "${1:-}" = "--list" ]; then
    list=(--list)
    shift
fi
prose=${1:-$root/tests/data/prosa_es.txt}
# shellcheck source=tools/measure_common.sh
. "$root/tools/measure_common.sh"
measure_setup measure_suggestions.sh "$prose"
python3 "$root/tools/measure_suggestions.py" "$score" "$dictionary" "$prose" "${list[@]}"
