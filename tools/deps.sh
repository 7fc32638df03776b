#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Usage: tools/deps.sh [build|test|data|fuzz|package]...   (default: build test)
set -euo pipefail

build=(cmake make g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev
       libqt6opengl6-dev
       qt6-translations-l10n libsdl2-mixer-dev libgtest-dev libgmock-dev libbenchmark-dev
       libx11-dev qt6-qpa-plugins scdoc)
test=(xvfb xauth xdotool openbox x11-xkb-utils x11-utils xclip dbus at-spi2-core python3-pyatspi
      clang-format fonts-dejavu-core man-db groff-base appstream desktop-file-utils)
data=(wspanish hunspell-es hunspell aspell aspell-es sox fortunes-es)
fuzz=(clang libclang-rt-14-dev)
# Building and checking the Debian packages (tools/build-deb.sh adds the
# package's own build dependencies from debian/control).
package=(dpkg-dev debhelper fakeroot lintian)

groups=("$@")
[ ${#groups[@]} -eq 0 ] && groups=(build test)

wanted=()
for g in "${groups[@]}"; do
    case "$g" in
        build) wanted+=("${build[@]}") ;;
        test) wanted+=("${test[@]}") ;;
        data) wanted+=("${data[@]}") ;;
        fuzz) wanted+=("${fuzz[@]}") ;;
        package) wanted+=("${package[@]}") ;;
        *) echo "deps.sh: unknown group '$g'" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
