#pragma once
// The lyric server's library: a folder tree of LRC files named
// "Artist-Title.lrc" (blanks around the dash allowed; a file named otherwise
// is known by its own [ar:] and [ti:] tags), with optional pictures beside
// them ("Artist.jpg", "Artist_swf.jpg", "Artist_swf.sig", "Artist-Title_flv.jpg",
// "Artist-Title_flv.sig"), and the answers built from it. Read-only once
// loaded, so any number of connections may ask at once.
#include <map>
#include <string>
#include <vector>

#include "LyricQuery.h"

namespace lyricserver {

struct AnswerOptions {
  std::string password;      // protects content archives when not empty
  bool noHeaderBreak = false;  // header and body not separated by a blank line
  bool listWithoutPath = false;  // a query without a server path gets the list of matches
  int noneRcode = 1;           // rcode of a "none" answer (1: recognition settled)
};

class LyricLibrary {
 public:
  // Whether a file of this name belongs in the library (lyrics, pictures, signatures).
  static bool Wanted(const std::string& fileName);
  // A file by its name without folder; a later file of the same name is ignored.
  void Add(const std::string& fileName, const std::string& data);
  size_t LyricCount() const { return songs_.size(); }

  // Answer body (header lines, blank line, list or zip) for a decoded query.
  std::string Answer(const Query& q, const AnswerOptions& opt) const;

 private:
  struct Song {
    std::string artist, title, lrcFile;
  };
  std::vector<Song> Match(const std::string& artist, const std::string& title) const;
  const std::string* File(const std::string& name) const;

  std::map<std::string, std::string> files_;
  std::vector<Song> songs_;
};

// "Artist - Title" or "Artist-Title" (the name without ".lrc"), else the
// file's [ar:] and [ti:] tags. False when neither gives a title.
bool SongNames(const std::string& stem, const std::string& lrc, std::string& artist, std::string& title);

}  // namespace lyricserver
