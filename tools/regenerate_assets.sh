#!/bin/sh

# SPDX-FileCopyrightText: 2026 The Nokturna team
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the asset generators and rewrites assets/sounds, assets/pictures and desktop/icons.
# Both generators are deterministic, so a rerun on the same system gives the
# same files.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-"$here/build-assets"}
cmake -S "$here" -B "$build" -DBUILD_TESTING=OFF
cmake --build "$build" -j2 --target make_clips make_artwork
mkdir -p "$here/assets/sounds" "$here/assets/pictures" "$here/desktop/icons"
"$build/tools/make_clips" "$here/assets/sounds"
# The pictures, and the desktop's larger icons in desktop/icons.
QT_QPA_PLATFORM=offscreen "$build/tools/make_artwork" "$here/assets/pictures" "$here/desktop/icons"
# The how-to-play picture shows the real main window, so it is made after the
# pictures that window uses, by a build that holds them.
cmake --build "$build" -j2 --target make_help_art
for scale in 1 2; do
  QT_QPA_PLATFORM=offscreen "$build/tools/make_help_art" "$here/assets/pictures" "$scale"
done
# The background songs, SongAlbum/Music1.mid .. Music4.mid.
cmake --build "$build" -j2 --target make_songs
"$build/tools/make_songs" "$here/SongAlbum"
