#pragma once
// The stand-in's lyric library: a folder of "Artist-Title.lrc" files with
// optional pictures beside them ("Artist.jpg", "Artist_swf.jpg",
// "Artist_swf.sig", "Artist-Title_flv.jpg", "Artist-Title_flv.sig"), and the
// answers built from it.
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
  void Add(const std::string& fileName, const std::string& data) { files_[fileName] = data; }

  // Answer body (header lines, blank line, list or zip) for a decoded query.
  std::string Answer(const Query& q, const AnswerOptions& opt) const;

 private:
  struct Song {
    std::string artist, title;
  };
  std::vector<Song> Match(const std::string& artist, const std::string& title) const;
  const std::string* File(const std::string& name) const;

  std::map<std::string, std::string> files_;
};

}  // namespace lyricserver
