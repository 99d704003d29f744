// OcxPage.exe SCRIPT TRANSCRIPT: a page's life in the browser stand-in. It
// runs the script's lines one by one (hosting a control by its class
// identifier, calling its methods as a page's script does, waiting), and
// writes what it saw to the transcript, each line as it happens, among them
// every text the control's status line (the window with id 202) shows and
// every movie its Flash control (id 201) names in its window text.
// "END" is the last line unless the page's process was taken down.
//
//   host {CLSID} WIDTH HEIGHT     HOSTED or NOT HOSTED
//   call NAME ARG...              by name; "text" is a BSTR, a number VT_I4
//   calld DISPID ARG...           by DISPID
//   wait-status PREFIX MS         until the status line begins with PREFIX
//   wait-window CLASS MS          until a top-level window of CLASS exists
//   wait-event NAME MS            until the named event is set
//   pump MS | echo TEXT | close
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "OcxContainer_win.h"

namespace {

FILE* g_out = nullptr;
std::unique_ptr<ocxhost::Container> g_page;
std::string g_status;
bool g_statusSeen = false;
std::string g_movie;

void Say(const std::string& line) {
  std::fprintf(g_out, "%s\n", line.c_str());
  std::fflush(g_out);
}

// The status line first: a control shows a report's text before it acts on it.
void NoteStatus() {
  HWND line = g_page ? g_page->FindChild(202) : nullptr;
  if (line) {
    const std::string text = ocxhost::WindowText(line);
    if (!g_statusSeen || text != g_status) Say("STATUS " + text);
    g_statusSeen = true;
    g_status = text;
  }
  HWND movie = g_page ? g_page->FindChild(201) : nullptr;
  if (movie) {
    const std::string text = ocxhost::WindowText(movie);
    if (text != g_movie) Say("MOVIE " + text);
    g_movie = text;
  }
}

// Pumps the page's messages until done() or ms have passed.
bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD began = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    NoteStatus();
    if (done && done()) return true;
    if (GetTickCount() - began >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  for (size_t i = 0; i < line.size();) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    if (line[i] == '"') {
      const size_t end = line.find('"', i + 1);
      words.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i + 1));
      i = end == std::string::npos ? line.size() : end + 1;
      continue;
    }
    const size_t end = line.find(' ', i);
    words.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
    i = end == std::string::npos ? line.size() : end;
  }
  return words;
}

std::vector<ocxhost::ScriptValue> Arguments(const std::vector<std::string>& words, size_t from) {
  std::vector<ocxhost::ScriptValue> args;
  for (size_t i = from; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w.size() >= 2 && w.front() == '"' && w.back() == '"')
      args.push_back(ocxhost::ScriptValue::Text(w.substr(1, w.size() - 2)));
    else
      args.push_back(ocxhost::ScriptValue::Number(std::strtol(w.c_str(), nullptr, 10)));
  }
  return args;
}

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(hr));
  return text;
}

void Run(const std::vector<std::string>& w, const std::string& line) {
  const std::string& verb = w[0];
  const DWORD ms = w.size() > 2 ? DWORD(std::strtoul(w[2].c_str(), nullptr, 10)) : 0;
  if (verb == "host" && w.size() >= 4) {
    g_page = std::make_unique<ocxhost::Container>(w[1], 40, 40, std::atoi(w[2].c_str()), std::atoi(w[3].c_str()));
    Say(g_page->Hosted() ? "HOSTED" : "NOT HOSTED");
  } else if ((verb == "call" || verb == "calld") && w.size() >= 2 && g_page) {
    const HRESULT hr = verb == "call" ? g_page->CallByName(w[1], Arguments(w, 2))
                                      : g_page->Call(DISPID(std::strtol(w[1].c_str(), nullptr, 10)), Arguments(w, 2));
    Say("CALL " + w[1] + " " + Hex(hr));
  } else if (verb == "wait-status" && w.size() >= 3) {
    const std::string prefix = w[1].size() >= 2 && w[1].front() == '"' ? w[1].substr(1, w[1].size() - 2) : w[1];
    const bool ok = PumpUntil([&] { return g_statusSeen && g_status.compare(0, prefix.size(), prefix) == 0; }, ms);
    Say((ok ? "WAITED " : "TIMEOUT ") + prefix);
  } else if (verb == "wait-window" && w.size() >= 3) {
    const bool ok = PumpUntil([&] { return FindWindowA(w[1].c_str(), nullptr) != nullptr; }, ms);
    Say((ok ? "WINDOW " : "TIMEOUT ") + w[1]);
  } else if (verb == "wait-event" && w.size() >= 3) {
    const bool ok = PumpUntil(
        [&] {
          HANDLE e = OpenEventA(SYNCHRONIZE, FALSE, w[1].c_str());
          const bool set = e && WaitForSingleObject(e, 0) == WAIT_OBJECT_0;
          if (e) CloseHandle(e);
          return set;
        },
        ms);
    Say((ok ? "EVENT " : "TIMEOUT ") + w[1]);
  } else if (verb == "pump" && w.size() >= 2) {
    PumpUntil(nullptr, DWORD(std::strtoul(w[1].c_str(), nullptr, 10)));
  } else if (verb == "echo") {
    Say(line.size() > 5 ? line.substr(5) : "");
  } else if (verb == "close") {
    g_page.reset();
    Say("CLOSED");
  } else {
    Say("BAD " + line);
  }
  NoteStatus();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: OcxPage SCRIPT TRANSCRIPT\n");
    return 2;
  }
  g_out = std::fopen(argv[2], "wb");
  if (!g_out) return 2;
  OleInitialize(nullptr);
  std::ifstream script(argv[1]);
  for (std::string line; std::getline(script, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    Run(Words(line), line);
  }
  g_page.reset();
  OleUninitialize();
  Say("END");
  std::fclose(g_out);
  return 0;
}
