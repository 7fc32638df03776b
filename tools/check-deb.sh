#!/usr/bin/env bash
# Builds the Debian packages and checks them as a user would: lintian, install
# with apt-get, quirtel-score on a sample text with the installed word list,
# the program started through its menu entry under Xvfb, then apt-get purge
# and nothing of the packages left in /usr. Packages that the install pulled
# in are purged again too, so the machine ends as it began.
# Usage: tools/check-deb.sh [OUT_DIR]        (default: build-deb)
# Needs root or sudo (apt-get).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m -- "${1:-build-deb}")

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt=(env DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=300)
step() { printf '\n== %s\n' "$*"; }
fail() {
    echo "check-deb: $*" >&2
    exit 1
}

tools/deps.sh package test
step "build"
tools/build-deb.sh "$out"
version=$(dpkg-parsechangelog -S Version)
changes="$out/quirtel_${version}_$(dpkg --print-architecture).changes"
debs=("$out/quirtel_${version}_$(dpkg --print-architecture).deb" "$out/quirtel-data_${version}_all.deb")

step "lintian"
lintian --fail-on error,warning --display-info "$changes"

step "install"
# What apt-get will add besides the two packages, to take it away again after.
pulled=$("${apt[@]}" -s install "${debs[@]}" | awk '/^Inst / && $2 !~ /^quirtel/ {print $2}')
quirtel_files_before=$(find /usr -name '*quirtel*' | sort)
tmp=$(mktemp -d)
installed=false
remove_packages() {
    "${apt[@]}" -y -qq purge quirtel quirtel-data >/dev/null
    if [ -n "$pulled" ]; then
        echo "purging what the install pulled in: $(echo $pulled)"
        "${apt[@]}" -y -qq purge $pulled >/dev/null
    fi
    installed=false
}
cleanup() {
    # Leave nothing behind, also when a check failed half way.
    if $installed; then
        remove_packages || true
    fi
    rm -rf -- "$tmp"
}
trap cleanup EXIT
installed=true
"${apt[@]}" -y -qq install "${debs[@]}" >/dev/null
for p in quirtel quirtel-data; do
    dpkg-query -W -f='${Package} ${Version} ${Status}\n' "$p"
done
shipped=$(ls datos/textos/*.txt | wc -l)
packaged=$(dpkg -L quirtel-data | grep -c '^/usr/share/quirtel/datos/textos/.*\.txt$' || true)
[ "$packaged" -eq "$shipped" ] || fail "quirtel-data holds $packaged texts to copy, not $shipped"

step "quirtel-score"
/usr/bin/quirtel-score --help | grep -q -- '--dictionary' || fail "quirtel-score --help names no options"
(
    cd "$tmp"
    quirtel-score --json --seconds 60 --dictionary /usr/share/quirtel/datos/es.dic \
        "$OLDPWD/tools/sample.txt" >score.json
)
python3 - "$tmp/score.json" <<'PY'
import json, sys
report = json.load(open(sys.argv[1], encoding="utf-8"))
faulty = sorted(t["text"] for t in report["faultyTokens"])
print(f"{report['characters']} characters, {report['speedText']}, faulty: {faulty}")
# The sample's two misspellings are found, and its correct words (ñ, ü, accents) pass.
assert faulty == ["palabrs", "qzx"], faulty
PY

step "manual pages and icon"
for lang in en es; do
    page=$(man -L "$lang" -w quirtel)
    [ "$lang" = en ] || [[ "$page" == */man/$lang/* ]] || fail "man -L $lang finds $page"
    out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "$page: $out"
    echo "$lang: $page"
done
entry=/usr/share/applications/io.github.quirtel.Quirtel.desktop
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon named $icon"
echo "icon: /usr/share/icons/hicolor/scalable/apps/$icon.svg"

step "the menu entry under Xvfb"
exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n1)
[ -n "$exec_line" ] || fail "$entry has no Exec line"
# Field codes (%f, %U...) stand for files the menu passes; none here.
command=$(sed 's/ *%[fFuUdDnNickvm]//g' <<<"$exec_line")
echo "Exec: $command"
mkdir -p "$tmp/home"
# PATH leaves out /usr/local, where a cmake --install may have put a launcher.
env -i PATH=/usr/bin:/bin HOME="$tmp/home" LANG=C.UTF-8 SDL_AUDIODRIVER=dummy \
    xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
    command=$1
    sh -c "exec $command" >"$HOME/program.log" 2>&1 &
    program=$!
    window=""
    for _ in $(seq 1 300); do
        window=$(xdotool search --all --onlyvisible --pid "$program" --name Quirtel 2>/dev/null |
            head -n1) || true
        [ -n "$window" ] && break
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        echo "no main window; the program said:"
        cat "$HOME/program.log"
        kill "$program" 2>/dev/null
        exit 1
    fi
    xwininfo -id "$window" | grep -E "xwininfo:|Map State|Width:|Height:"
    kill "$program"
    wait "$program" 2>/dev/null || true
    ' check "$command"
link=$(readlink "$tmp/home/.local/share/quirtel/datos") || fail "the launcher made no datos link"
[ "$link" = /usr/share/quirtel/datos ] || fail "datos links to $link"
echo "working folder: ~/.local/share/quirtel, datos -> $link"

step "purge"
remove_packages
left=$(comm -13 <(echo "$quirtel_files_before") <(find /usr -name '*quirtel*' | sort))
[ -z "$left" ] || fail "left in /usr after purge: $left"
# Status "un" (or unknown): neither files nor configuration are left.
if dpkg-query -W -f='${db:Status-Abbrev}\n' quirtel quirtel-data 2>/dev/null | grep -q '^.[^n]'; then
    fail "dpkg still has them: $(dpkg -l quirtel quirtel-data | tail -n2)"
fi
echo "nothing of the packages is left in /usr"
echo "check-deb: ${SECONDS}s"
