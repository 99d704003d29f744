#pragma once
// Windows test set-up: an install home of the test's own, registered in the
// prefix's HKLM\SOFTWARE\ZOLYRIC for the life of the object.
#include <string>

namespace zltest {

class ScopedInstallHome {
 public:
  // Creates a scratch home folder with its face\ folder and registers it,
  // remembering what the registry held before.
  ScopedInstallHome();
  // Puts the registry back as it was and removes the folder.
  ~ScopedInstallHome();
  ScopedInstallHome(const ScopedInstallHome&) = delete;
  ScopedInstallHome& operator=(const ScopedInstallHome&) = delete;

  const std::string& Home() const { return home_; }
  void WriteConfigImage(const std::string& iniText) const;  // face\zoc.img
  // Sets ZOLYRIC_HOME to any text, or removes the value.
  static void SetHomeValue(const std::string& value);
  static void RemoveHomeValue();

 private:
  std::string home_;
  bool hadKey_ = false;
  bool hadValue_ = false;
  std::string oldValue_;
  bool hadSubkey_[3] = {};
};

// Folder of the running test program, with a trailing backslash.
std::string ProgramFolder();
// "<ProgramFolder>shared_test_child.exe".
std::string ChildProgram();
// True when the file is there under the name Chinese Windows shows for these
// GBK bytes (the name the user sees, whatever code page this process has).
bool FileAtUnicodeName(const std::string& gbkPath);

}  // namespace zltest
