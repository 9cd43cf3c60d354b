#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package of a build tree and checks what it would install and what it asks apt for.
# usage: check_debian_package.sh <build folder> <version> <path of cmake>
set -euo pipefail
build=$1 version=$2 cmake=$3
cpack="$(dirname "$cmake")/cpack"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! (cd "$build" && "$cpack" -G DEB -B "$work/out") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack could not build the package"
  exit 1
fi
arch=$(dpkg --print-architecture)
deb="$work/out/nokturna_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$work/out"; echo "FAIL: no $(basename "$deb")"; exit 1; }

# ------------------------------------------------------------------ control fields
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = nokturna ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is no 'name <address>'"
[ -n "$(field Description)" ] || fail "no Description"
# Each alternative of Depends, one a line, without version constraints.
depends=$(field Depends | tr ',' '\n' | sed -e 's/([^)]*)//g' -e 's/^ *//' -e 's/ *$//')
for wanted in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libsdl2-2.0-0 libfluidsynth3 \
              fonts-liberation2 fonts-lato; do
  grep -qx "$wanted" <<<"$depends" || fail "Depends lacks $wanted"
done
# The songs need a General MIDI SoundFont that gives /usr/share/sounds/sf2/default-GM.sf2.
grep -Eqx 'timgm6mb-soundfont *\| *fluid-soundfont-gm|fluid-soundfont-gm *\| *timgm6mb-soundfont' <<<"$depends" \
  || fail "Depends lacks a General MIDI SoundFont"

# ------------------------------------------------------------------ contents
listing=$(dpkg-deb -c "$deb")
entry() { awk -v p="./$1" '$6 == p' <<<"$listing"; }
id=io.github.nokturna.Nokturna
program_dir=usr/lib/games/nokturna
expected=(
  $program_dir/nokturna $program_dir/nokturna-sound
  $program_dir/SongAlbum/Music1.mid $program_dir/SongAlbum/Music2.mid
  $program_dir/SongAlbum/Music3.mid $program_dir/SongAlbum/Music4.mid
  usr/share/man/man6/nokturna.6.gz
  usr/share/doc/nokturna/copyright usr/share/doc/nokturna/changelog.gz
  usr/share/applications/$id.desktop
  usr/share/metainfo/$id.metainfo.xml
  usr/share/icons/hicolor/32x32/apps/nokturna.png usr/share/icons/hicolor/64x64/apps/nokturna.png
  usr/share/icons/hicolor/128x128/apps/nokturna.png usr/share/icons/hicolor/256x256/apps/nokturna.png
  usr/share/icons/hicolor/scalable/apps/nokturna.svg
)
for path in "${expected[@]}"; do
  [ -n "$(entry "$path")" ] || fail "the package lacks /$path"
done
for program in nokturna nokturna-sound; do
  [[ "$(entry $program_dir/$program)" == -rwxr-xr-x* ]] || fail "/$program_dir/$program is no executable file"
done
link=$(awk '$6 == "./usr/games/nokturna" && $1 ~ /^l/ { print $8 }' <<<"$listing")
[ "$link" = ../lib/games/nokturna/nokturna ] || fail "/usr/games/nokturna is no link to ../lib/games/nokturna/nokturna"
outside=$(awk '$6 !~ /^\.\/usr\// && $6 != "./" && $6 != "./usr/" { print $6 }' <<<"$listing")
[ -z "$outside" ] || fail "files outside /usr: $outside"

# ------------------------------------------------------------------ the installed files fit together
root="$work/root"
dpkg-deb -x "$deb" "$root"
# The icon sizes, from the PNG header (width and height are the big-endian words at bytes 16 and 20).
for size in 32 64 128 256; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/nokturna.png"
  [ -f "$png" ] || continue
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
  [ "$w x $h" = "$size x $size" ] || fail "the ${size}x${size} icon is $w x $h"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/nokturna.svg" 2>/dev/null || fail "the scalable icon is no SVG"
desktop="$root/usr/share/applications/$id.desktop"
if [ -f "$desktop" ]; then
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ "$(readlink -f "$root/usr/games/$exec_program")" = "$root/$program_dir/nokturna" ] \
    || fail "the menu entry's Exec=$exec_program does not lead to /$program_dir/nokturna"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the menu entry's Icon=$icon is not installed"
fi
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
if [ -f "$metainfo" ]; then
  grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $id.desktop"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
fi

# ------------------------------------------------------------------ what Debian's rules ask of it
# The program's own module lies outside the linker's path: no maintainer script, so no ldconfig call.
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E '^\./(preinst|postinst|prerm|postrm)$' || true)
[ -z "$scripts" ] || fail "maintainer scripts in the package: $scripts"
page="$root/usr/share/man/man6/nokturna.6.gz"
if [ -f "$page" ]; then
  # No time in the gzip header (bytes 4 to 7), and a NAME line that whatis and apropos can read.
  [ "$(od -An -tu1 -j4 -N4 "$page" | tr -s ' ')" = " 0 0 0 0" ] || fail "the manual page's gzip header has a time"
  zcat "$page" | grep -A1 '^\.SH NAME' | grep -q '^nokturna \\- ' || fail "the manual page has no 'nokturna \\- ...' NAME line"
fi
changelog="$root/usr/share/doc/nokturna/changelog.gz"
if [ -f "$changelog" ]; then
  [ "$(zcat "$changelog" | head -n1 | cut -d' ' -f1-2)" = "nokturna ($version)" ] \
    || fail "the changelog's first entry is not for nokturna ($version)"
fi
copyright="$root/usr/share/doc/nokturna/copyright"
if [ -f "$copyright" ]; then
  head -n1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || fail "the copyright file is not in Debian's machine-readable format"
  # The Creative Commons text, read back out of its License paragraph, is the one in LICENSES/ but for tabs.
  sources=$(dirname "$0")/../..
  awk '/^License: CC-BY-SA-4.0$/ { text = 1; next } text && /^[^ ]/ { text = 0 } text' "$copyright" \
    | sed -e 's/^ //' -e 's/^\.$//' >"$work/cc-by-sa.txt"
  expand "$sources/LICENSES/CC-BY-SA-4.0.txt" | diff -q - "$work/cc-by-sa.txt" >/dev/null \
    || fail "the copyright file's CC-BY-SA-4.0 text differs from LICENSES/CC-BY-SA-4.0.txt"
fi

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): $(wc -l <<<"$listing") entries, all in place"
