// wine_codepage: run by the Wine test fixture before any Windows test.
//   wine_codepage.exe FOLDER TEXT
// The users run Chinese Windows, so the tests must see what they see: ANSI
// and OEM code page 936, a Chinese argument (TEXT is "歌词 测试") arriving as
// its GBK bytes, and a file named in GBK through CreateFileA, which it
// creates in FOLDER for the caller to find under its UTF-8 name on Linux.
// Exit code 0 when all holds, 1 (with the reason on stderr) otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char kText[] = "歌词 测试";  // GBK at run time
const char kFileName[] = "歌词 测试.txt";

std::string Hex(const std::string& bytes) {
  std::string out;
  char b[4];
  for (unsigned char c : bytes) {
    std::snprintf(b, sizeof b, "%02X ", c);
    out += b;
  }
  return out;
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "wine_codepage: %s\n", why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Fail("usage: wine_codepage FOLDER TEXT");
  const UINT ansi = GetACP(), oem = GetOEMCP();
  if (ansi != 936 || oem != 936)
    return Fail("Windows code page is " + std::to_string(ansi) + " (ANSI) and " + std::to_string(oem) +
                " (OEM), not 936: run Wine with LC_ALL=zh_CN.UTF-8");
  if (std::string(argv[2]) != kText)
    return Fail("a Chinese argument arrived as " + Hex(argv[2]) + "instead of " + Hex(kText) +
                "(is the Linux locale zh_CN.UTF-8 generated? scripts/setup does it)");
  const std::string path = std::string(argv[1]) + "\\" + kFileName;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return Fail("cannot create " + path + " (error " + std::to_string(GetLastError()) + ")");
  CloseHandle(file);
  std::printf("Windows code page 936 (ANSI and OEM)\n");
  return 0;
}
