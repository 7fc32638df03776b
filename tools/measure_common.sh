# Shared set-up of the suggestion measurements, sourced by
# tools/measure_suggestions.sh and tools/measure_real_misspellings.sh.
# After `measure_setup NAME INPUT`: $dictionary and $score are set, the data
# packages are installed, INPUT and the word list are readable and the scorer
# is built. Environment: QUIRTEL_SCORE (default build/src/score/quirtel-score,
# built there when missing), DICTIONARY (default datos/es.dic).

measure_setup() {
    local name=$1 input=$2
    dictionary=${DICTIONARY:-$root/datos/es.dic}
    score=${QUIRTEL_SCORE:-$root/build/src/score/quirtel-score}
    "$root/tools/deps.sh" data
    for f in "$input" "$dictionary"; do
        [ -r "$f" ] || { echo "$name: cannot read $f" >&2; exit 1; }
    done
    if [ ! -x "$score" ] && [ -z "${QUIRTEL_SCORE:-}" ]; then
        cmake -S "$root" -B "$root/build" >/dev/null
        cmake --build "$root/build" --target quirtel-score -j2 >/dev/null
    fi
    dpkg-query -W -f='${Package} ${Version}\n' hunspell hunspell-es
}
