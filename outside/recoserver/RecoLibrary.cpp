#include "RecoLibrary.h"

namespace recoserver {

namespace {
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return out;
    start = tab + 1;
  }
}

bool IsAbsolute(const std::string& path) {
  return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}
}  // namespace

bool RecoLibrary::Load(const std::string& listText, const std::string& folder,
                       const std::function<bool(const std::string&, std::string&)>& read, std::string& error) {
  size_t start = 0;
  for (int number = 1; start < listText.size(); ++number) {
    const size_t lf = listText.find('\n', start);
    std::string line = listText.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
    start = lf == std::string::npos ? listText.size() : lf + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::vector<std::string> f = Fields(line);
    if (f.size() != 4) {
      error = "line " + std::to_string(number) + " has not four fields";
      return false;
    }
    Song s{f[0], f[1], f[2], f[3], {}};
    const std::string path = IsAbsolute(f[0]) || folder.empty() ? f[0] : folder + "\\" + f[0];
    std::string bytes;
    if (!read(path, bytes) || !fpmatch::PrintSong(bytes, s.print)) {
      error = "no audio in " + path;
      return false;
    }
    songs_.push_back(s);
  }
  return true;
}

std::string RecoLibrary::Answer(const RecoRequest& request) const {
  const Song* best = nullptr;
  size_t bestWords = 0;
  for (const Song& s : songs_) {
    const size_t n = fpmatch::AgreeingWords(s.print.words, request.fp);
    if (n >= kMatchWords && n > bestWords) {
      best = &s;
      bestWords = n;
    }
  }
  if (!best) return "2\n";
  const std::string id = std::to_string(1000 + (best - songs_.data()));
  const std::string score = std::to_string(bestWords);
  return "1\t" + id + "\t" + best->title + "\t" + best->artist + "\t" + best->album + "\t" + score + "/256\t" +
         best->print.format + "\t" + best->file + "\tstandin\t" + score + "\tstand-in library\n";
}

}  // namespace recoserver
