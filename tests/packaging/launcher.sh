#!/bin/sh
# The launcher's "datos" link, started from a fake installation with a fake
# home folder: which links it makes or replaces, and which it leaves alone.
#   launcher.sh LAUNCHER
set -eu

launcher=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

prefix=$tmp/prefix
mkdir -p "$prefix/bin" "$prefix/share/quirtel/datos" "$tmp/old/share/quirtel/datos" \
    "$tmp/mis-datos"
cp -- "$launcher" "$prefix/bin/quirtel-launch"
# The program only has to start in the working folder.
printf '#!/bin/sh\nexit 0\n' >"$prefix/bin/quirtel"
chmod +x "$prefix/bin/quirtel-launch" "$prefix/bin/quirtel"
work=$tmp/home/.local/share/quirtel
data=$prefix/share/quirtel/datos

status=0
# check NAME SETUP EXPECTED: SETUP prepares $work/datos; EXPECTED is the link
# target afterwards, or "folder" for a real folder.
check() {
    rm -rf "$tmp/home"
    mkdir -p "$work"
    eval "$2"
    env -u XDG_DATA_HOME HOME="$tmp/home" "$prefix/bin/quirtel-launch"
    if [ -L "$work/datos" ]; then
        got=$(readlink -- "$work/datos")
    elif [ -d "$work/datos" ]; then
        got=folder
    else
        got=none
    fi
    if [ "$got" != "$3" ]; then
        echo "$1: datos is $got, expected $3"
        status=1
    fi
}

check "no datos" ":" "$data"
check "link to an older install" 'ln -s "$tmp/old/share/quirtel/datos" "$work/datos"' "$data"
check "link to a removed install" 'ln -s /nonexistent/share/quirtel/datos/ "$work/datos"' "$data"
check "link that leads nowhere" 'ln -s "$tmp/gone" "$work/datos"' "$data"
check "link to the user's own data" 'ln -s "$tmp/mis-datos" "$work/datos"' "$tmp/mis-datos"
check "the user's own folder" 'mkdir "$work/datos"' folder
exit $status
