#include "audio/song_album.h"

#include <filesystem>
#include <system_error>

namespace nokturna {

std::string songFolder;
std::array<std::string, 5> songFile;
bool musicOn = false;
std::int16_t musicVolume = 0;

namespace {

constexpr char kSeparator = '/';
constexpr char kSongFolderName[] = "SongAlbum/";

// Blanks only, as the folder name may carry them; tabs and other white space are part of the name.
std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// True when `folder` holds an ordinary file stored under exactly `name`. The folder's entries are compared
// by name, so "music1.mid" is not taken for "Music1.mid" even where the file system ignores case.
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

}  // namespace

std::string SongFolderFor(const std::string& programFolder) {
  std::string folder = programFolder;
  if (folder.empty() || folder.back() != kSeparator) folder = TrimBlanks(folder) + kSeparator;
  return TrimBlanks(folder) + kSongFolderName;
}

SongSearch FindSongs(const std::string& programFolder) {
  songFolder = SongFolderFor(programFolder);
  for (int i = 1; i <= 4; ++i) songFile[i] = "Music" + std::to_string(i) + ".mid";

  SongSearch search;
  const std::string folder = TrimBlanks(songFolder);
  for (int i = 1; i <= 4; ++i) {
    if (HoldsFileNamed(folder, songFile[i])) {
      musicOn = true;
      break;
    }
    musicOn = false;
    search.disableSongAlbum = true;
  }
  search.musicOn = musicOn;
  return search;
}

}  // namespace nokturna
