#!/usr/bin/env bash
# Measures the false-fault rate of the word list: the share of tokens that the
# program's own word check (quirtel-score) marks as faulty in a text of
# correctly spelled Spanish prose.
#
# Usage: tools/measure_false_faults.sh [--list] [FILE]
#   FILE     the prose (default tests/data/prosa_es.txt); every token counts,
#            a token being a run of characters between spaces or line ends
#   --list   also print each faulty token with its count, most frequent first
# Environment: QUIRTEL_SCORE (default build-dict/src/score/quirtel-score,
# built there when missing), DICTIONARY (default datos/es.dic).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
list=0
if [ "${1:-}" = "--list" ]; then
    list=1
    shift
fi
file=${1:-$root/tests/data/prosa_es.txt}
dictionary=${DICTIONARY:-$root/datos/es.dic}
score=${QUIRTEL_SCORE:-$root/build-dict/src/score/quirtel-score}

# Refuse a missing input or word list up front, with this script's own message.
for f in "$file" "$dictionary"; do
    if [ ! -f "$f" ] || [ ! -r "$f" ]; then
        echo "measure_false_faults.sh: cannot read $f" >&2
        exit 1
    fi
done
if [ ! -x "$score" ] && [ -z "${QUIRTEL_SCORE:-}" ]; then
    cmake -S "$root" -B "$root/build-dict" -DQUIRTEL_BUILD_GUI=OFF >/dev/null
    cmake --build "$root/build-dict" --target quirtel-score -j2 >/dev/null
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
errors=$tmp/errors
"$score" --json --dictionary "$dictionary" "$file" >"$tmp/report.json" 2>"$errors"
if [ -s "$errors" ]; then
    echo "measure_false_faults.sh: quirtel-score reported:" >&2
    cat "$errors" >&2
    exit 1
fi

python3 - "$file" "$list" "$tmp/report.json" <<'EOF'
import collections, json, sys

path, show_list = sys.argv[1], sys.argv[2] == "1"
with open(sys.argv[3], encoding="utf-8") as f:
    report = json.load(f)
with open(path, "rb") as f:
    lines = f.read().replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n")
tokens = sum(1 for line in lines for token in line.split(b" ") if token)
faults = report["faults"]
if faults != len(report["faultyTokens"]):
    sys.exit("measure_false_faults.sh: faults and faultyTokens disagree")
rate = 100.0 * faults / tokens if tokens else 0.0
print("%s: %d faulty of %d tokens = %.2f%%" % (path, faults, tokens, rate))
if show_list:
    counts = collections.Counter(t["text"] for t in report["faultyTokens"])
    for text, n in sorted(counts.items(), key=lambda kv: (-kv[1], kv[0])):
        print("%6d %s" % (n, text))
EOF
