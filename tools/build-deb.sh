#!/usr/bin/env bash
# Builds the Debian packages quirtel and quirtel-data from the files git
# tracks in this checkout, as they are in the working tree.
# Usage: tools/build-deb.sh [OUT_DIR]        (default: build-deb)
#
# dpkg-buildpackage writes its results beside the tree it builds, so the
# tracked files are copied to OUT_DIR/quirtel-VERSION/ and built there: the
# .deb, .changes and .buildinfo files land in OUT_DIR, and the checkout itself
# is never written to. Installs what the build needs with apt-get, only what
# is missing (as root or with sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(realpath -m -- "${1:-build-deb}")

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
tools/deps.sh package
if ! dpkg-checkbuilddeps debian/control 2>/dev/null; then
    echo "Installing the build dependencies of debian/control"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=300 build-dep -y -qq \
        --no-install-recommends "$root"
fi

version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}
tree="$out/quirtel-$upstream"
rm -rf -- "$tree"
rm -f -- "$out"/quirtel*_"$version"_*.deb "$out"/quirtel_"$version"_*.changes \
    "$out"/quirtel_"$version"_*.buildinfo
mkdir -p -- "$tree"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # A tracked file deleted in the working tree is left out.
    git ls-files -z | tar -c --null -T - --ignore-failed-read | tar -x -C "$tree"
else
    tar -c --exclude='./build*' --exclude=./.git . | tar -x -C "$tree"
fi

cd "$tree"
dpkg-buildpackage -b -us -uc -j"$(nproc)"
echo "Packages in $out:"
ls -1 "$out"/*_"$version"_*.deb
