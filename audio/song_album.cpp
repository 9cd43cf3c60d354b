// SPDX-FileCopyrightText: 2026 The Nokturna team
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "audio/song_album.h"

#include <filesystem>
#include <system_error>

namespace nokturna {

namespace {

constexpr char kSeparator = '/';
constexpr char kSongFolderName[] = "SongAlbum/";

// The folder's entries are compared by name, so that letter case counts on every file system.
bool HoldsFileNamed(const std::string& folder, const std::string& name) {
  std::error_code error;
  std::filesystem::directory_iterator entry(folder, error);
  if (error) return false;
  for (const std::filesystem::directory_iterator end; entry != end; entry.increment(error)) {
    if (error) return false;
    if (entry->path().filename().string() != name) continue;
    std::error_code statusError;
    return entry->is_regular_file(statusError) && !statusError;
  }
  return false;
}

std::string SongFileName(int song) { return "Music" + std::to_string(song) + ".mid"; }

}  // namespace

std::string SongAlbum::songPath(int song) const { return folder + SongFileName(song); }

std::string SongFolderFor(const std::string& programFolder) {
  // A real folder's name is taken as it is: blanks at its ends, and any other bytes, are part of it.
  std::string folder = programFolder;
  if (folder.empty() || folder.back() != kSeparator) folder += kSeparator;
  return folder + kSongFolderName;
}

SongAlbum LookForSongs(const std::string& folder) {
  SongAlbum album{folder};
  album.hasFirstSong = HoldsFileNamed(folder, SongFileName(1));
  for (int song = 1; song <= SongAlbum::kSongCount && !album.hasSongs; ++song) {
    album.hasSongs = HoldsFileNamed(folder, SongFileName(song));
  }
  return album;
}

SongAlbum FindSongAlbum(const std::string& programFolder) {
  return LookForSongs(SongFolderFor(programFolder));
}

}  // namespace nokturna
