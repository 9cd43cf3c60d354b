// Where the songs live and whether any of them is there. Names are the music module's own.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace nokturna {

extern std::string songFolder;               // ends in the path separator
extern std::array<std::string, 5> songFile;  // 1..4: "Music1.mid" .. "Music4.mid"
extern bool musicOn;
extern std::int16_t musicVolume;

// The song folder for a program folder: "SongAlbum" inside it, with exactly one separator between.
std::string SongFolderFor(const std::string& programFolder);

struct SongSearch {
  bool musicOn = false;           // some song file was found
  bool disableSongAlbum = false;  // a song before the first one found was missing
};

// Fills songFolder and songFile, then looks for the songs in order, letter case significant, and
// sets musicOn. The caller disables the "&Song Album" menu when told to.
SongSearch FindSongs(const std::string& programFolder);

}  // namespace nokturna
