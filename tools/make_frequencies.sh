#!/usr/bin/env bash
# Regenerates datos/frecuencias.txt, the Spanish words ranked by how often
# they occur in film subtitles, from the npm package @zxcvbn-ts/language-es-es
# (its list commonWords, derived from OpenSubtitles 2024 via OPUS, ODC-BY).
# The versions are pinned in tools/frecuencias/package-lock.json, checked by
# their hashes: the same versions always give the same file, byte for byte.
#
# Usage: tools/make_frequencies.sh [OUTPUT]   (default: datos/frecuencias.txt)
# Needs node and npm; downloads the two packages into a scratch folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$root/datos/frecuencias.txt}
for tool in node npm; do
    command -v "$tool" >/dev/null || { echo "make_frequencies.sh: $tool is missing" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$root/tools/frecuencias/package.json" "$root/tools/frecuencias/package-lock.json" \
    "$root/tools/frecuencias/make_frequencies.js" "$tmp/"
(cd "$tmp" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >&2)
node "$tmp/make_frequencies.js" "$tmp/frecuencias.txt"

mkdir -p "$(dirname "$out")"
cp "$tmp/frecuencias.txt" "$out.tmp"
mv "$out.tmp" "$out"
echo "frecuencias.txt: $(wc -l <"$out") words, $(wc -c <"$out") bytes" >&2
(cd "$tmp" && npm ls --all --depth=1 2>/dev/null | tail -n +2) >&2
sha256sum "$out" >&2
