#pragma once
// The plug-in's settings: one store, owned by the lyric controller, backed by
// "<home>\conf.ini" (the engine reads the same file itself).
//
// Threads: values are read and changed under the store's lock from any
// thread (fetch threads read the recognition switches and bump the tip
// counters; the UI thread changes the look from menus and dialogs). The
// lyric look as the view draws it is read on the UI thread only.
#include <functional>
#include <string>

#include "shared/CriticalSection.h"
#include "shared/LyricSettings.h"
#include "view/LyricDrawConfig.h"

class SettingsStore {
 public:
  SettingsStore() = default;
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Reads the install home ("c:" when it is not registered), sets the file
  // path and loads the file; a missing or unreadable file gives the defaults.
  void LoadSettings();
  void LoadSettingsFrom(const std::string& home);
  // Writes every key except [LOCAL_LRC]; a read-only file fails silently.
  void SaveSettings() const;
  // Rewrites [LOCAL_LRC] from the folder list.
  void SaveLocalFolders() const;
  // The reset values; the usage flags and the folder list are kept.
  void ResetSettings();

  // Without the file: what LoadSettings does with the values of `source`.
  void Load(const zl::SettingsSource& source, const std::string& home);

  // Set once by loading, before any other thread runs.
  const std::string& Home() const { return m_home; }
  const std::string& FilePath() const { return m_path; }

  zl::LyricSettings Values() const;
  // Runs `change` on the values under the lock.
  void Modify(const std::function<void(zl::LyricSettings&)>& change);

  // UI thread: the look for the view, refreshed when the values changed.
  const LyricDrawConfig& DrawConfig();

 private:
  mutable zl::CriticalSection m_lock;
  std::string m_home;
  std::string m_path;
  zl::LyricSettings m_values;
  unsigned m_version = 1;
  unsigned m_drawVersion = 0;
  LyricDrawConfig m_draw;
};

// The view's look from the font values.
LyricDrawConfig DrawConfigFromFont(const zl::LyricFontSettings& font);
