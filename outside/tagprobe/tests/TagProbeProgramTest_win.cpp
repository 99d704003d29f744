// tagprobe.exe run as the engine and the plug-in run it, on songs made here.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>

#include "AsfBytes.h"
#include "ChildProcess_win.h"
#include "TestBytes.h"

using namespace tagprobe;

namespace {

// A folder of its own for each test, removed with what is in it.
class Folder {
 public:
  explicit Folder(const std::string& name) : path_(testsupport::TempPath(name)) {
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~Folder() {
    for (const std::string& f : Files()) {
      SetFileAttributesA((path_ + "\\" + f).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((path_ + "\\" + f).c_str());
    }
    RemoveDirectoryA(path_.c_str());
  }
  std::string operator/(const std::string& file) const { return path_ + "\\" + file; }
  const std::string& Path() const { return path_; }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    zl::UniqueFind h(FindFirstFileA((path_ + "\\*").c_str(), &fd));
    if (!h) return names;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileA(h.Get(), &fd));
    return names;
  }

 private:
  std::string path_;
};

void Write(const std::string& path, const Bytes& b) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

Bytes Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// True when the file is there under the name Chinese Windows shows for these
// GBK bytes, whatever code page this process has.
bool ExistsUnderUnicodeName(const std::string& gbkPath) {
  std::wstring wide(gbkPath.size() + 1, L'\0');
  const int n = MultiByteToWideChar(936, 0, gbkPath.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  return n > 0 && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

uint64_t LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d);
  return (uint64_t{d.ftLastWriteTime.dwHighDateTime} << 32) | d.ftLastWriteTime.dwLowDateTime;
}

// Runs tagprobe.exe with the given arguments and returns its exit code.
DWORD Tagprobe(const std::string& args) {
  testsupport::ChildProcess child;
  if (!child.Start("\"" + testsupport::BesideMe("tagprobe.exe") + "\" " + args, false)) return 0xDEAD;
  DWORD code = 0xBEEF;
  if (!child.Wait(30000, &code)) return 0xBEEF;
  return code;
}

std::string Q(const std::string& path) { return "\"" + path + "\""; }

// The data file for found names, laid out by hand: 1, then the three fields.
Bytes Record(const std::string& title, const std::string& artist, const std::string& album) {
  Bytes r(1804, 0);
  r[0] = 1;
  std::memcpy(r.data() + 4, title.data(), title.size());
  std::memcpy(r.data() + 4 + 256, artist.data(), artist.size());
  std::memcpy(r.data() + 4 + 512, album.data(), album.size());
  return r;
}

const std::string kTitle = "\xC7\xE7\xCC\xEC", kArtist = "\xD6\xDC\xBD\xDC\xC2\xD7",
                  kAlbum = "\xD2\xB6\xBB\xDD\xC3\xC0";
const Bytes kAudio = AudioFrames(6);

// Reads `song` with G and checks the data file and that the song is as it was.
void ExpectTags(const Folder& dir, const Bytes& song, const Bytes& expected) {
  const std::string songPath = dir / "song.mp3", data = dir / "tag.dat";
  Write(songPath, song);
  const uint64_t written = LastWrite(songPath);
  Sleep(20);
  EXPECT_EQ(Tagprobe("G " + Q(songPath) + " " + Q(data)), 0u);
  EXPECT_EQ(Read(data), expected);
  EXPECT_EQ(Read(songPath), song);
  EXPECT_EQ(LastWrite(songPath), written);
  EXPECT_EQ(dir.Files().size(), 2u);
}

}  // namespace

TEST(TagprobeGet, Id3v1Only) {
  Folder dir("tp_v1");
  ExpectTags(dir, kAudio + Id3v1(kTitle, "Jay Chou", kAlbum), Record(kTitle, "Jay Chou", kAlbum));
}

TEST(TagprobeGet, Id3v23Utf16Frames) {
  Folder dir("tp_v23");
  const Bytes tag =
      Id3Tag(3, V23Frame("TIT2", B({1, 0xFF, 0xFE, 0x74, 0x66, 0x29, 0x59, 0, 0})) +
                    V23Frame("TPE1", B({1, 0xFF, 0xFE, 0x68, 0x54, 0x70, 0x67, 0x26, 0x4F})) +
                    V23Frame("TALB", B({1, 0xFF, 0xFE, 0xF6, 0x53, 0xE0, 0x60, 0x8E, 0x7F})) + Bytes(200, 0));
  ExpectTags(dir, tag + kAudio + Id3v1("v1 title", "v1 artist", "v1 album"), Record(kTitle, kArtist, kAlbum));
}

TEST(TagprobeGet, Id3v24Utf8Frames) {
  Folder dir("tp_v24");
  const Bytes tag = Id3Tag(4, V24Frame("TIT2", B({3, 0xE6, 0x99, 0xB4, 0xE5, 0xA4, 0xA9})) +
                                  V24Frame("APIC", B({0}) + S("image/png") + B({0, 3, 0}) + Bytes(300, 0x89)) +
                                  V24Frame("TPE1", B({3, 0xE5, 0x91, 0xA8, 0xE6, 0x9D, 0xB0, 0xE4, 0xBC, 0xA6})));
  ExpectTags(dir, tag + kAudio, Record(kTitle, kArtist, ""));
}

TEST(TagprobeGet, WmaContentDescriptionAndAlbumTitle) {
  Folder dir("tp_wma");
  const Bytes data = AsfObject(GuidData(), Bytes(16, 0x11) + Le64(1) + B({1, 1}) + Bytes(500, 0x5A));
  const Bytes children =
      FileProperties(0) + ContentDescription(U16z(u"\x6674\x5929"), U16z(u"Jay"), {}) +
      AsfObject(GuidExtendedContent(), Le16(1) + Descriptor(u"WM/AlbumTitle", 0, U16z(u"\x53F6\x60E0\x7F8E")));
  ExpectTags(dir, AsfHeaderObject(3, children) + data, Record(kTitle, "Jay", kAlbum));
}

TEST(TagprobeGet, CorruptFilesGiveWhatCanBeTrustedAndStayAsTheyWere) {
  Folder dir("tp_bad");
  // A header whose size is not syncsafe and nothing else: no names.
  Bytes noNames(1804, 0);
  ExpectTags(dir, S("ID3") + B({3, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}) + kAudio, noNames);
  // A tag claiming more than the file, frames cut off: what is whole, then ID3v1.
  ExpectTags(dir,
             Id3Header(3, 0, 0x0FFFFFFF) + V23Frame("TIT2", B({0, 'T'})) + S("TPE1") + B({0, 0, 0x10}) + kAudio +
                 Id3v1("x", "y", "z"),
             Record("T", "y", "z"));
  ExpectTags(dir, Bytes(5, 0xFF), noNames);
}

TEST(TagprobeGet, MissingOrUnreadableSongGivesOneAndNoDataFile) {
  Folder dir("tp_missing");
  EXPECT_EQ(Tagprobe("G " + Q(dir / "none.mp3") + " " + Q(dir / "tag.dat")), 1u);
  EXPECT_FALSE(Exists(dir / "tag.dat"));
  EXPECT_EQ(Tagprobe("G " + Q(dir.Path()) + " " + Q(dir / "tag.dat")), 1u);  // a folder
  EXPECT_FALSE(Exists(dir / "tag.dat"));
  Write(dir / "song.mp3", kAudio);
  EXPECT_EQ(Tagprobe("G " + Q(dir / "song.mp3") + " " + Q(dir / "no\\such\\tag.dat")), 1u);
  EXPECT_EQ(dir.Files().size(), 1u);
  EXPECT_EQ(Tagprobe("X"), 2u);
}

TEST(TagprobeGet, ReplacesAnOldDataFile) {
  Folder dir("tp_old");
  Write(dir / "tag.dat", Bytes(3000, 0xAA));
  ExpectTags(dir, kAudio + Id3v1("a", "b", "c"), Record("a", "b", "c"));
}

TEST(TagprobeSet, WritesVersion23TagKeepingOtherFramesAndAudio) {
  Folder dir("tp_set");
  const std::string song = dir / "song.mp3", data = dir / "tag1.tmp";
  const Bytes oldTag =
      Id3Tag(3, V23Frame("TIT2", B({0, 'O', 'l', 'd'})) + V23Frame("TRCK", B({0, '3'})) + Bytes(50, 0));
  Write(song, oldTag + kAudio + Id3v1("Old", "Old", "Old"));
  Write(data, Record(kTitle, "Jay", kAlbum));
  ASSERT_EQ(Tagprobe("S " + Q(data) + " " + Q(song)), 0u);

  const Bytes frames = B({'T', 'I', 'T', '2', 0, 0, 0, 7, 0, 0, 1, 0xFF, 0xFE, 0x74, 0x66, 0x29, 0x59}) +
                       B({'T', 'P', 'E', '1', 0, 0, 0, 4, 0, 0, 0, 'J', 'a', 'y'}) +
                       B({'T', 'A', 'L', 'B', 0, 0, 0, 9, 0, 0, 1, 0xFF, 0xFE, 0xF6, 0x53, 0xE0, 0x60, 0x8E, 0x7F}) +
                       B({'T', 'R', 'C', 'K', 0, 0, 0, 2, 0, 0, 0, '3'});
  const Bytes v1 = Id3v1(kTitle, "Jay", kAlbum);
  EXPECT_EQ(Read(song), B({'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<int>(frames.size())}) + frames + kAudio + v1);
  EXPECT_EQ(dir.Files().size(), 2u);  // song and data file, nothing left behind
  EXPECT_EQ(Read(data), Record(kTitle, "Jay", kAlbum));

  ASSERT_EQ(Tagprobe("G " + Q(song) + " " + Q(dir / "back.dat")), 0u);
  EXPECT_EQ(Read(dir / "back.dat"), Record(kTitle, "Jay", kAlbum));
}

TEST(TagprobeSet, UntaggedMp3GetsATagInFront) {
  Folder dir("tp_set_new");
  const std::string song = dir / "Song.MP3", data = dir / "tag.tmp";
  Write(song, kAudio);
  Write(data, Record("", "Jay", ""));
  ASSERT_EQ(Tagprobe("S " + Q(data) + " " + Q(song)), 0u);
  EXPECT_EQ(Read(song),
            B({'I', 'D', '3', 3, 0, 0, 0, 0, 0, 14, 'T', 'P', 'E', '1', 0, 0, 0, 4, 0, 0, 0, 'J', 'a', 'y'}) + kAudio);
}

TEST(TagprobeSet, WmaHeaderIsRewrittenAndTheDataKept) {
  Folder dir("tp_set_wma");
  const std::string song = dir / "song.wma", data = dir / "tag.tmp";
  const Bytes media = AsfObject(GuidData(), Bytes(16, 0x11) + Le64(1) + B({1, 1}) + Bytes(700, 0x5A));
  const Bytes original = AsfHeaderObject(1, FileProperties(30 + 104 + media.size())) + media;
  Write(song, original);
  Write(data, Record(kTitle, kArtist, kAlbum));
  ASSERT_EQ(Tagprobe("S " + Q(data) + " " + Q(song)), 0u);
  const Bytes now = Read(song);
  ASSERT_GT(now.size(), media.size());
  EXPECT_EQ(Bytes(now.end() - static_cast<std::ptrdiff_t>(media.size()), now.end()), media);
  EXPECT_EQ(ReadLe64(now.data() + 30 + 40), now.size());  // file properties follow the new size
  ASSERT_EQ(Tagprobe("G " + Q(song) + " " + Q(dir / "back.dat")), 0u);
  EXPECT_EQ(Read(dir / "back.dat"), Record(kTitle, kArtist, kAlbum));
}

TEST(TagprobeSet, FailuresLeaveTheSongAsItWas) {
  Folder dir("tp_set_fail");
  const std::string song = dir / "song.mp3", data = dir / "tag.tmp";
  const Bytes damaged = Id3Tag(3, S("TIT2") + B({0, 0, 9, 0, 0, 0, 'x'})) + kAudio;
  Write(song, damaged);
  Write(data, Record("T", "A", "B"));
  const uint64_t written = LastWrite(song);
  EXPECT_EQ(Tagprobe("S " + Q(data) + " " + Q(song)), 1u);  // damaged tag
  Write(data, Bytes(1803, 1));
  EXPECT_EQ(Tagprobe("S " + Q(data) + " " + Q(song)), 1u);  // not a data file
  EXPECT_EQ(Tagprobe("S " + Q(dir / "none.tmp") + " " + Q(song)), 1u);
  EXPECT_EQ(Read(song), damaged);
  EXPECT_EQ(LastWrite(song), written);

  Write(data, Record("T", "A", "B"));
  EXPECT_EQ(Tagprobe("S " + Q(data) + " " + Q(dir / "none.mp3")), 1u);
  EXPECT_FALSE(Exists(dir / "none.mp3"));

  // A song that its player holds open for writing cannot be replaced under it.
  Write(song, kAudio);
  zl::UniqueHandle held(
      CreateFileA(song.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(Tagprobe("S " + Q(data) + " " + Q(song)), 1u);
  held.Reset();
  EXPECT_EQ(Read(song), kAudio);
  EXPECT_EQ(dir.Files().size(), 2u);
}

TEST(TagprobeSet, SongWithAChineseNameInAFolderWithBlanks) {
  // "運" ends in the byte '\\': only a GBK-aware path reader keeps it in the name.
  Folder dir("音乐 好運");
  const std::string song = dir / "周杰倫 - 晴天 好運.mp3", data = dir / "tag 歌词.tmp";
  Write(song, kAudio + Id3v1("Old", "Old", "Old"));
  Write(data, Record(kTitle, kArtist, kAlbum));
  ASSERT_EQ(Tagprobe("S " + Q(data) + " " + Q(song)), 0u);
  EXPECT_TRUE(ExistsUnderUnicodeName(song));
  ASSERT_EQ(Tagprobe("G " + Q(song) + " " + Q(dir / "back.dat")), 0u);
  EXPECT_EQ(Read(dir / "back.dat"), Record(kTitle, kArtist, kAlbum));
  EXPECT_EQ(dir.Files().size(), 3u);  // song, data file and read-back: no temporary file left
}
