#pragma once
// An install home of the test's own: a scratch folder registered as
// HKLM\SOFTWARE\ZOLYRIC\ZOLYRIC_HOME for the life of the object (what the
// registry held before is put back), with helpers for the files below it.
#include <string>

namespace enginetest {

class ScopedEngineHome {
 public:
  // nameTail (GBK) ends the folder's name, e.g. Chinese words with blanks.
  explicit ScopedEngineHome(const std::string& nameTail = "");
  ~ScopedEngineHome();
  ScopedEngineHome(const ScopedEngineHome&) = delete;
  ScopedEngineHome& operator=(const ScopedEngineHome&) = delete;

  const std::string& Home() const { return home_; }
  // home + "\" + relative
  std::string Path(const std::string& relative) const;
  // "<home>\Resource\" + relative
  std::string Res(const std::string& relative) const;
  // Writes a file below the home, creating its folders.
  void Write(const std::string& relative, const std::string& bytes) const;
  std::string Read(const std::string& relative) const;  // "" when missing
  bool Exists(const std::string& relative) const;

  // Removes the ZOLYRIC_HOME value while the object lives on.
  static void Unregister();

 private:
  std::string home_;
  bool hadValue_ = false;
  std::string oldValue_;
};

// Whole files by absolute path.
void WriteFileAt(const std::string& path, const std::string& bytes);
std::string ReadFileAt(const std::string& path);
bool FileAt(const std::string& path);
// Moves a file's last-write time by `seconds` (negative: into the past).
void AgeFile(const std::string& path, long long seconds);
// Files in a folder whose names end in `suffix`.
int CountFiles(const std::string& folder, const std::string& suffix);
// True when the file is there under the name Chinese Windows shows for these
// GBK bytes (the name the user sees, whatever code page this process has).
bool FileAtUnicodeName(const std::string& gbkPath);
// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

}  // namespace enginetest
