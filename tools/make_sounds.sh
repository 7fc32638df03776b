#!/usr/bin/env bash
# Regenerates the sound files of datos/: the key click Type.wav and the six
# rating sounds 0.wav (slowest typing) to 5.wav (fastest), all 22050 Hz mono
# 16-bit PCM. The output is the same byte for byte on every run: no dither,
# fixed random numbers, no comments in the files.
# Usage: tools/make_sounds.sh [OUTPUT_DIR]   (default: datos)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-datos}"
command -v sox >/dev/null || { echo "make_sounds.sh: sox is missing (apt-get install sox)" >&2; exit 1; }
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# sox with the settings every step shares; intermediate files stay in float so
# that only the final conversion rounds to 16 bits.
SOX=(sox -D -R --no-show-progress)
# Notes are made at four times the final rate and then resampled, so that
# the harmonics of square and sawtooth waves above 11 kHz are filtered out
# instead of folding back as harsh off-key tones.
RATE=(-r 88200 -c 1)
FLOAT=(-b 32 -e floating-point)

# note FILE SECONDS TIMBRE PITCH [EFFECT...]
# PITCH is in semitones from A4 (440 Hz), e.g. 3 is C5. TIMBRE "bright" mixes a
# sawtooth with a square an octave up; any other word is a synth waveform.
note() {
    local file=$1 len=$2 timbre=$3 pitch=$4
    shift 4
    local synth
    if [ "$timbre" = bright ]; then
        synth=(synth "$len" sawtooth "%$pitch" synth "$len" square mix "%$((pitch + 12))")
    else
        synth=(synth "$len" "$timbre" "%$pitch")
    fi
    "${SOX[@]}" -n "${RATE[@]}" "${FLOAT[@]}" "$tmp/$file.wav" "${synth[@]}" "$@"
}

# chord FILE SECONDS TIMBRE PITCH... : the pitches sounding together.
chord() {
    local file=$1 len=$2 timbre=$3
    shift 3
    local synth=(synth "$len" "$timbre" "%$1")
    shift
    local p
    for p in "$@"; do
        synth+=(synth "$len" "$timbre" mix "%$p")
    done
    "${SOX[@]}" -n "${RATE[@]}" "${FLOAT[@]}" "$tmp/$file.wav" "${synth[@]}"
}

# finish NAME PEAK_DB PART... [-- EFFECT...]: joins the parts in order, applies
# the effects, normalises the peak to PEAK_DB and writes 16-bit PCM.
finish() {
    local name=$1 peak=$2
    shift 2
    local parts=() effects=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        parts+=("$tmp/$1.wav")
        shift
    done
    if [ $# -gt 0 ]; then
        shift
        effects=("$@")
    fi
    # Two passes: filters may raise the peak, and a float file keeps it whole
    # until the normalisation.
    "${SOX[@]}" "${parts[@]}" "${FLOAT[@]}" "$tmp/$name-joined.wav" "${effects[@]}" rate -v 22050
    "${SOX[@]}" "$tmp/$name-joined.wav" -b 16 -e signed-integer "$out/$name.wav" gain -n "$peak"
}

# Key click: a 30 ms burst of bright noise over a short high tick, decaying
# fast, like the strike of a mechanical key.
"${SOX[@]}" -n "${RATE[@]}" "${FLOAT[@]}" "$tmp/click.wav" \
    synth 0.03 whitenoise synth 0.03 sine mix 2600 highpass 1500 fade l 0 0.03 0.028
finish Type -6 click

# 0: slow, low and glum: a descending minor triad (A3 F3 D3) in soft sine,
# dulled and wavering.
note r0a 0.55 sine -12 fade h 0.04 0.55 0.2
note r0b 0.55 sine -16 fade h 0.04 0.55 0.2
note r0c 1.00 sine -19 fade h 0.04 1.00 0.6
finish 0 -3 r0a r0b r0c -- tremolo 5 40 lowpass 900

# 1: a falling minor third (E4 C4) in triangle: "not quite".
note r1a 0.35 triangle -5 fade h 0.02 0.35 0.1
note r1b 0.75 triangle -9 fade h 0.02 0.75 0.45
finish 1 -3 r1a r1b -- lowpass 2000

# 2: a rising fourth (G4 C5), plain and even.
note r2a 0.30 triangle -2 fade h 0.01 0.30 0.08
note r2b 0.60 triangle 3 fade h 0.01 0.60 0.35
finish 2 -3 r2a r2b

# 3: a rising major triad (C5 E5 G5) in soft square.
note r3a 0.20 square 3 fade h 0.01 0.20 0.05
note r3b 0.20 square 7 fade h 0.01 0.20 0.05
note r3c 0.60 square 10 fade h 0.01 0.60 0.35
finish 3 -3 r3a r3b r3c -- lowpass 3000

# 4: a quick major arpeggio up to the octave (C5 E5 G5 C6) in square.
note r4a 0.14 square 3 fade h 0.005 0.14 0.03
note r4b 0.14 square 7 fade h 0.005 0.14 0.03
note r4c 0.14 square 10 fade h 0.005 0.14 0.03
note r4d 0.70 square 15 fade h 0.005 0.70 0.4
finish 4 -3 r4a r4b r4c r4d -- lowpass 5000

# 5: a bright fanfare: G4 C5 E5 G5, a short E5-G5 call, then a held C major
# chord with the octave on top, in sawtooth and square.
note r5a 0.12 bright -2 fade h 0.005 0.12 0.02
note r5b 0.12 bright 3 fade h 0.005 0.12 0.02
note r5c 0.12 bright 7 fade h 0.005 0.12 0.02
note r5d 0.24 bright 10 fade h 0.005 0.24 0.04
note r5e 0.10 bright 7 fade h 0.005 0.10 0.02
note r5f 0.14 bright 10 fade h 0.005 0.14 0.02
chord r5g-raw 1.00 sawtooth 3 7 10 15
"${SOX[@]}" "$tmp/r5g-raw.wav" "$tmp/r5g.wav" tremolo 6 20 fade h 0.01 1.00 0.55
finish 5 -3 r5a r5b r5c r5d r5e r5f r5g -- vol 0.5 treble 4
