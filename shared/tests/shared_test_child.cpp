// A small program the Windows tests start as a child process.
//   log FILE COUNT TAG [EVENT]
//                         write COUNT log lines through the process-wide
//                         logger (first waiting for the named event, so that
//                         several writers start together)
//   cwd OUT               write the current folder to OUT
//   startup OUT           write "flags show" of the start-up information to OUT
//   sleep MS OUT          sleep MS milliseconds, then write "done" to OUT
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shared/Logger.h"

namespace {
bool WriteText(const char* path, const std::string& text) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  std::fwrite(text.data(), 1, text.size(), f);
  return std::fclose(f) == 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: shared_test_child log|cwd|startup|sleep ...\n");
    return 2;
  }
  const std::string mode = argv[1];
  if (mode == "log" && (argc == 5 || argc == 6)) {
    if (argc == 6) {
      HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, argv[5]);
      if (!go || WaitForSingleObject(go, 30000) != WAIT_OBJECT_0) return 3;
      CloseHandle(go);
    }
    const int count = std::atoi(argv[3]);
    // Long lines: each write takes long enough for two writers to collide.
    const std::string padding(300, 'x');
    for (int i = 0; i < count; ++i)
      LogWrite(argv[2], LOG_FATAL, argv[4], "line %d of %s %s", i, argv[4], padding.c_str());
    return 0;
  }
  if (mode == "cwd") {
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    return WriteText(argv[2], folder) ? 0 : 1;
  }
  if (mode == "startup") {
    STARTUPINFOA si;
    GetStartupInfoA(&si);
    return WriteText(argv[2], std::to_string(si.dwFlags & STARTF_USESHOWWINDOW) + " " +
                                  std::to_string(si.wShowWindow))
               ? 0
               : 1;
  }
  if (mode == "sleep" && argc == 4) {
    Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    return WriteText(argv[3], "done") ? 0 : 1;
  }
  std::fprintf(stderr, "shared_test_child: bad arguments\n");
  return 2;
}
