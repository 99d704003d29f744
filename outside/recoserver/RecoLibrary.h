#pragma once
// The recognition server's library: songs with their names, fingerprinted
// the way the recognition engine does it, and the answer line for a request.
// Platform-neutral.
#include <functional>
#include <string>
#include <vector>

#include "AudioPrint.h"
#include "RecoRequest.h"

namespace recoserver {

// How many of the 256 words must agree for a match.
constexpr size_t kMatchWords = 192;

class RecoLibrary {
 public:
  // A list of "SONGFILE<TAB>TITLE<TAB>ARTIST<TAB>ALBUM" lines; a relative
  // song path is taken from the list's folder. read(path, bytes) reads a
  // file. False with `error` when a line or a song cannot be used.
  bool Load(const std::string& listText, const std::string& folder,
            const std::function<bool(const std::string&, std::string&)>& read, std::string& error);

  // "1<TAB>id<TAB>title<TAB>artist<TAB>album<TAB>...<LF>" for the best match,
  // "2<LF>" when no song matches.
  std::string Answer(const RecoRequest& request) const;

 private:
  struct Song {
    std::string file, title, artist, album;
    fpmatch::SongPrint print;
  };
  std::vector<Song> songs_;
};

}  // namespace recoserver
