#include "GenPlugins_win.h"

#include <algorithm>

namespace playerhost {

CGenPlugins::~CGenPlugins() {
  QuitAll(nullptr);
  UnloadAll();
}

void CGenPlugins::LoadAll(const std::string& folder, HWND mainWindow, const LogFn& log) {
  auto say = [&](const std::string& line) {
    if (log) log(line);
  };
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';

  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  zl::UniqueFind search(::FindFirstFileA((dir + "gen_*.dll").c_str(), &found));
  if (!search) {
    say("no plug-ins in " + dir);
    return;
  }
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (::FindNextFileA(search.Get(), &found));
  std::sort(names.begin(), names.end());

  using GetRecordFn = GenPluginRecord*(__cdecl*)();
  for (const std::string& name : names) {
    const std::string path = dir + name;
    zl::UniqueModule module(::LoadLibraryA(path.c_str()));
    if (!module) {
      say("cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")");
      continue;
    }
    auto getRecord = reinterpret_cast<GetRecordFn>(
        reinterpret_cast<void*>(::GetProcAddress(module.Get(), kGenPluginExport)));
    if (!getRecord) {
      say(name + " has no " + kGenPluginExport);
      continue;
    }
    GenPluginRecord* record = getRecord();
    if (!record || record->version != kGenPluginVersion || !record->init) {
      say(name + ": not a general-purpose plug-in record");
      continue;
    }
    record->hwndParent = mainWindow;
    record->hDllInstance = module.Get();
    const int rc = record->init();
    if (rc != 0) {
      say(name + ": init failed (" + std::to_string(rc) + "), unloaded");
      continue;
    }
    say("started " + name + (record->description ? std::string(": ") + record->description : ""));
    plugins_.push_back(Loaded{name, std::move(module), record, false});
  }
}

void CGenPlugins::QuitAll(const LogFn& log) {
  for (auto it = plugins_.rbegin(); it != plugins_.rend(); ++it) {
    if (it->quitDone) continue;
    it->quitDone = true;
    if (it->record->quit) it->record->quit();
    if (log) log("quit " + it->fileName);
  }
}

void CGenPlugins::UnloadAll() {
  while (!plugins_.empty()) plugins_.pop_back();
}

bool CGenPlugins::Config(size_t index) {
  if (index >= plugins_.size() || plugins_[index].quitDone || !plugins_[index].record->config) {
    return false;
  }
  plugins_[index].record->config();
  return true;
}

std::vector<std::string> CGenPlugins::Names() const {
  std::vector<std::string> names;
  for (const Loaded& p : plugins_) names.push_back(p.fileName);
  return names;
}

}  // namespace playerhost
