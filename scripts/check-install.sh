#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and checks what a desktop and `man` will find there:
# the menu entry and AppStream data validate, the icon's files exist at their sizes, and the man
# page renders without warnings and matches the installed binary's --help and --version.
#   usage: scripts/check-install.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() {
    echo "check-install: $*" >&2
    exit 1
}

DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
usr=$dest/usr
desktop=$(find "$usr/share/applications" -name '*.desktop')
[ "$(wc -l <<<"$desktop")" -eq 1 ] && [ -f "$desktop" ] || fail "not one desktop entry: $desktop"
id=$(basename "$desktop" .desktop)

report=$(desktop-file-validate "$desktop" 2>&1) || fail "$report"
[ -z "$report" ] || fail "$report"
[ -f "$usr/share/metainfo/$id.metainfo.xml" ] || fail "no AppStream data for $id"
report=$(appstreamcli validate-tree --no-net --strict "$dest" 2>&1) || fail "$report"

exec=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$usr/bin/$exec" ] || fail "Exec=$exec is not an installed program"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
icons=$usr/share/icons/hicolor
grep -q '<svg' "$icons/scalable/apps/$id.svg" || fail "no scalable icon"
# A PNG's width and height are the big-endian words at bytes 16 and 20, after its signature.
png_size() {
    od -An -tu1 -N24 "$1" | tr -s ' \n' ' ' | awk '{
        if ($2 != 80 || $3 != 78 || $4 != 71) exit 1
        printf "%dx%d", (($17 * 256 + $18) * 256 + $19) * 256 + $20,
                        (($21 * 256 + $22) * 256 + $23) * 256 + $24 }'
}
for size in 48 128; do
    png=$icons/${size}x${size}/apps/$id.png
    [ -f "$png" ] && [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is not ${size}x${size}"
done

page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/orvan.1.gz" 2>"$dest/warnings")
[ ! -s "$dest/warnings" ] || fail "man page: $(cat "$dest/warnings")"
[ -n "$page" ] || fail "the man page renders empty"
for option in $("$usr/bin/orvan" --help | sed -n 's/^ *\(--[a-z-]*\).*/\1/p'); do
    grep -q -- "^ *$option\b" <<<"$page" || fail "the man page lacks $option"
done
version=$("$usr/bin/orvan" --version)
grep -qF "$version" <<<"$page" || fail "the man page is not of $version"
echo "check-install: installed files of $id are in order"
