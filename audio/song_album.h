// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The game's four songs, "Music1.mid" to "Music4.mid", in the folder "SongAlbum" beside the program.
#pragma once

#include <string>

namespace nokturna {

struct SongAlbum {
  static constexpr int kSongCount = 4;

  std::string folder;         // ends in the path separator
  bool hasSongs = false;      // some song file was there when the game started: the music starts
  bool hasFirstSong = false;  // "Music1.mid" was there: without it the Song Album menu starts switched off

  // The file of song 1..4, there or not.
  std::string songPath(int song) const;
};

// The song folder for a program folder: "SongAlbum" inside it, with one separator between; nothing of the
// folder's name is trimmed or re-encoded.
std::string SongFolderFor(const std::string& programFolder);

// Looks for the songs in `folder` (ending in the separator), letter case significant: "music1.mid" is not
// taken for "Music1.mid", even where the file system ignores case. Only ordinary files count.
SongAlbum LookForSongs(const std::string& folder);

// The album beside the program in `programFolder`.
SongAlbum FindSongAlbum(const std::string& programFolder);

}  // namespace nokturna
