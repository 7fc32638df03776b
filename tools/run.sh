#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in this folder
# (it reads ./datos and writes ./estadistica.txt in its working folder).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [ -x build/src/app/quirtel ]; then
    exec build/src/app/quirtel "$@"
fi
# Until the window exists: score the sample text the way the program does.
exec build/src/score/quirtel-score --seconds 60 tools/sample.txt
