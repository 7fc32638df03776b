#!/usr/bin/env bash
# Checks of what is installed beside the programs: manual pages, desktop
# metadata, versions.
#   check.sh man PAGE                  groff's warnings through man-db: none
#   check.sh options PROGRAM PAGE...   every option of PROGRAM --help is in each page
#   check.sh versions VERSION SOURCE   the build, debian/changelog and the metainfo agree
#   check.sh tree BUILD_DIR WORK_DIR   cmake --install gives valid desktop metadata
set -euo pipefail

case "${1:-}" in
man)
    out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$2" 2>&1 >/dev/null)
    if [ -n "$out" ]; then
        printf '%s: %s\n' "$2" "$out"
        exit 1
    fi
    ;;
options)
    program=$2
    shift 2
    options=$("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
    if [ -z "$options" ]; then
        echo "$program --help names no options"
        exit 1
    fi
    status=0
    for page in "$@"; do
        # Wide enough that no option is broken across lines.
        text=$(LC_ALL=C.UTF-8 MANWIDTH=250 man -E UTF-8 -l "$page" 2>/dev/null)
        for option in $options; do
            if ! grep -q -e "$option\b" <<<"$text"; then
                echo "$page does not describe $option"
                status=1
            fi
        done
    done
    exit $status
    ;;
versions)
    version=$2
    source=$3
    debian=$(sed -n '1s/^[^(]*(\([^)]*\)).*/\1/p' "$source/debian/changelog")
    debian=${debian#*:}
    debian=${debian%-*}
    release=$(grep -o -m1 '<release version="[^"]*"' "$source"/src/res/*.metainfo.xml | cut -d'"' -f2)
    if [ "$debian" != "$version" ] || [ "$release" != "$version" ]; then
        echo "version $version, debian/changelog $debian, newest metainfo release $release"
        exit 1
    fi
    ;;
tree)
    build=$2
    work=$3
    rm -rf "$work"
    DESTDIR="$work" cmake --install "$build" --prefix /usr >/dev/null
    status=0
    appstreamcli validate-tree --no-net --strict "$work" || status=1
    for entry in "$work"/usr/share/applications/*.desktop; do
        out=$(desktop-file-validate "$entry" 2>&1) || status=1
        if [ -n "$out" ]; then
            printf '%s\n' "$out"
            status=1
        fi
    done
    rm -rf "$work"
    exit $status
    ;;
*)
    echo "usage: check.sh man|options|versions|tree ..." >&2
    exit 2
    ;;
esac
