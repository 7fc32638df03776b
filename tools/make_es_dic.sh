#!/usr/bin/env bash
# Regenerates the Spanish word list datos/es.dic from three Debian packages:
#   wspanish     /usr/share/dict/spanish (lemmas)
#   hunspell-es  stems and affix rules, expanded by tools/expand_affixes.py
#   aspell-es    the aspell master dictionary, expanded by aspell itself
# The union is lower-cased, converted to Windows-1252, filtered to useful
# entries (tools/normalize_words.py) and sorted by bytes without duplicates,
# so the same package versions always give the same file, byte for byte.
#
# Usage: tools/make_es_dic.sh [OUTPUT]   (default: datos/es.dic)
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/datos/es.dic}

"$root/tools/deps.sh" data

wspanish=/usr/share/dict/spanish
aff=/usr/share/hunspell/es_ES.aff
dic=/usr/share/hunspell/es_ES.dic
for f in "$wspanish" "$aff" "$dic"; do
    [ -r "$f" ] || { echo "make_es_dic.sh: missing $f" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

python3 "$root/tools/expand_affixes.py" "$aff" "$dic" >"$tmp/hunspell.txt"
# aspell picks its text encoding from the locale unless told; expand prints
# all forms of one stem on one line, separated by spaces.
aspell --encoding=utf-8 -d es dump master |
    aspell --encoding=utf-8 -l es expand | tr ' ' '\n' >"$tmp/aspell.txt"
cp "$wspanish" "$tmp/wspanish.txt"

for src in wspanish hunspell aspell; do
    python3 "$root/tools/normalize_words.py" <"$tmp/$src.txt" 2>/dev/null |
        sort -u >"$tmp/$src.dic"
    echo "$src: $(wc -l <"$tmp/$src.dic") entries" >&2
done
sort -u -m "$tmp/wspanish.dic" "$tmp/hunspell.dic" "$tmp/aspell.dic" >"$tmp/es.dic"

lines=$(wc -l <"$tmp/es.dic")
if [ "$lines" -lt 500000 ]; then
    echo "make_es_dic.sh: only $lines entries, refusing to replace $out" >&2
    exit 1
fi
mkdir -p "$(dirname "$out")"
cp "$tmp/es.dic" "$out.tmp"
mv "$out.tmp" "$out"

echo "es.dic: $lines entries, $(wc -c <"$out") bytes" >&2
dpkg-query -W -f='${Package} ${Version}\n' wspanish hunspell-es aspell-es >&2
sha256sum "$out" >&2
