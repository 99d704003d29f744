// The install home and every reader of the configuration image, against a
// zoc.img written by the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "WinTestSupport.h"
#include "shared/InstallHome.h"
#include "shared/Ownership.h"
#include "shared/ProductRegistry.h"

using namespace zltest;

namespace {

const char kImage[] =
    "[Config]\r\n"
    "Version=ZoLyric_2.1.0\r\n"
    "userfile=zluser.dat\r\n"
    "msgset=zlmsgset\r\n"
    "p2psvr=ZoMV.exe\r\n"
    "InfoValidInterval=36\r\n"
    "RecFailValidInterval=7\r\n"
    "RecSucValidInterval=30abc\r\n"
    "[LyricServer]\r\nlyricsvr=http://127.0.0.1:8100/lrc\r\n"
    "[RecoServer]\r\nrecosvr=http://127.0.0.1:8200/reco\r\n"
    "[LogServer]\r\nlogsvr=http://127.0.0.1:8400\r\n"
    "[Advert]\r\nadvertnum=2\r\nadvert0=http://ad/0?\r\nadvert1=http://ad/1?\r\nadvert2=http://ad/2?\r\n"
    "[MyStar]\r\nstarnum=1\r\nstar0=http://star/0?\r\nstar1=http://star/1?\r\n"
    "[FlashUpdate]\r\nurl=http://flash.example/get\r\n"
    "[GeneralFlash]\r\nflashnum=3\r\n"
    "flash0signature1=100\r\nflash0signature2=101\r\n"
    "flash1signature1=110\r\nflash1signature2=111\r\n"
    "flash2signature1=4294967297\r\nflash2signature2=121\r\n"
    "[MediaCodec]\r\nflvsig1=5000000000\r\nflvsig2=77\r\n";

using TextReader = bool (*)(char*, size_t);
struct NamedReader {
  const char* name;
  TextReader read;
};
const NamedReader kTextReaders[] = {
    {"Version", ReadConfigVersion},         {"userfile", ReadConfigUserFile},
    {"msgset", ReadConfigMsgSet},           {"p2psvr", ReadConfigP2PServer},
    {"lyricsvr", ReadConfigLyricServer},    {"recosvr", ReadConfigRecoServer},
    {"logsvr", ReadConfigLogServer},        {"url", ReadConfigFlashUpdateUrl},
};

std::string Read(TextReader reader, size_t size = 512, bool* ok = nullptr) {
  std::vector<char> buf(size, 'Q');
  const bool found = reader(buf.data(), buf.size());
  if (ok) *ok = found;
  return std::string(buf.data());
}

class ConfigImage : public ::testing::Test {
 protected:
  ScopedInstallHome home_;
};

}  // namespace

TEST_F(ConfigImage, HomeComesFromTheRegistry) {
  std::string home;
  ASSERT_TRUE(ReadInstallHome(home));
  EXPECT_EQ(home, home_.Home());
  char buf[260];
  ASSERT_TRUE(ReadInstallHome(buf, sizeof buf));
  EXPECT_EQ(std::string(buf), home_.Home());
  std::string path;
  ASSERT_TRUE(GetConfigImagePath(path));
  EXPECT_EQ(path, home_.Home() + "\\face\\zoc.img");
  ASSERT_TRUE(GetConfigImagePath(buf, sizeof buf));
  EXPECT_EQ(std::string(buf), path);
}

TEST_F(ConfigImage, HomeThatDoesNotFitIsNotCut) {
  std::vector<char> buf(home_.Home().size(), 'Q');  // one byte short of the NUL
  EXPECT_FALSE(ReadInstallHome(buf.data(), buf.size()));
  EXPECT_EQ(buf[0], '\0');
  std::vector<char> path(home_.Home().size() + 5, 'Q');
  EXPECT_FALSE(GetConfigImagePath(path.data(), path.size()));
  EXPECT_EQ(path[0], '\0');
}

TEST_F(ConfigImage, EveryReaderFindsItsKey) {
  home_.WriteConfigImage(kImage);
  EXPECT_EQ(Read(ReadConfigVersion), "ZoLyric_2.1.0");
  EXPECT_EQ(Read(ReadConfigUserFile), "zluser.dat");
  EXPECT_EQ(Read(ReadConfigMsgSet), "zlmsgset");
  EXPECT_EQ(Read(ReadConfigP2PServer), "ZoMV.exe");
  EXPECT_EQ(Read(ReadConfigLyricServer), "http://127.0.0.1:8100/lrc");
  EXPECT_EQ(Read(ReadConfigRecoServer), "http://127.0.0.1:8200/reco");
  EXPECT_EQ(Read(ReadConfigLogServer), "http://127.0.0.1:8400");
  EXPECT_EQ(Read(ReadConfigFlashUpdateUrl), "http://flash.example/get");
  EXPECT_EQ(ReadConfigInfoValidInterval(), 36);
  EXPECT_EQ(ReadConfigRecFailValidInterval(), 7);
  EXPECT_EQ(ReadConfigRecSucValidInterval(), 30);
  EXPECT_EQ(ReadConfigAdvertCount(), 2);
  EXPECT_EQ(ReadConfigStarCount(), 1);
  EXPECT_EQ(ReadConfigFlashCount(), 3);
  uint32_t a = 0, b = 0;
  ASSERT_TRUE(ReadConfigFlvCodecSignature(a, b));
  EXPECT_EQ(a, static_cast<uint32_t>(5000000000ull));  // read as 64 bits, kept in 32
  EXPECT_EQ(b, 77u);
}

TEST_F(ConfigImage, MissingOrEmptyHomeFailsEveryReader) {
  home_.WriteConfigImage(kImage);
  for (bool empty : {false, true}) {
    if (empty) ScopedInstallHome::SetHomeValue("");
    else ScopedInstallHome::RemoveHomeValue();
    std::string text = "x";
    EXPECT_FALSE(ReadInstallHome(text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(GetConfigImagePath(text));
    for (const NamedReader& r : kTextReaders) {
      bool ok = true;
      EXPECT_EQ(Read(r.read, 512, &ok), "") << r.name;
      EXPECT_FALSE(ok) << r.name;
    }
    EXPECT_EQ(ReadConfigInfoValidInterval(), 0);
    EXPECT_EQ(ReadConfigRecFailValidInterval(), 0);
    EXPECT_EQ(ReadConfigRecSucValidInterval(), 0);
    EXPECT_EQ(ReadConfigAdvertCount(), 0);
    EXPECT_EQ(ReadConfigStarCount(), 0);
    EXPECT_EQ(ReadConfigFlashCount(), 0);
    char buf[64];
    EXPECT_FALSE(ReadConfigAdvert(0, buf, sizeof buf));
    EXPECT_FALSE(ReadConfigStar(0, buf, sizeof buf));
    uint32_t a = 1, b = 1;
    EXPECT_FALSE(ReadConfigFlashSignature(a, b));
    EXPECT_FALSE(ReadConfigFlvCodecSignature(a, b));
    EXPECT_EQ(a, 0u);
    EXPECT_FALSE(IsRecentPublish());
  }
}

TEST_F(ConfigImage, MissingKeysAndMissingFileReadAsEmpty) {
  for (bool withFile : {true, false}) {
    if (withFile) home_.WriteConfigImage("[Config]\r\nuserfile=\r\n[Other]\r\nVersion=1\r\n");
    else DeleteFileA((home_.Home() + "\\face\\zoc.img").c_str());
    for (const NamedReader& r : kTextReaders) {
      if (std::strcmp(r.name, "p2psvr") == 0) continue;
      bool ok = true;
      EXPECT_EQ(Read(r.read, 512, &ok), "") << r.name;
      EXPECT_FALSE(ok) << r.name;
    }
    EXPECT_EQ(ReadConfigInfoValidInterval(), 0);
    EXPECT_EQ(ReadConfigFlashCount(), 0);
    uint32_t a = 1, b = 1;
    EXPECT_FALSE(ReadConfigFlvCodecSignature(a, b));
  }
}

TEST_F(ConfigImage, P2PServerDefaultsToZoSvrWhenTheBufferHoldsIt) {
  home_.WriteConfigImage("[Config]\r\nVersion=1\r\n");
  bool ok = false;
  EXPECT_EQ(Read(ReadConfigP2PServer, 64, &ok), "ZoSvr.exe");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Read(ReadConfigP2PServer, 10, &ok), "ZoSvr.exe");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Read(ReadConfigP2PServer, 9, &ok), "");
  EXPECT_FALSE(ok);
}

TEST_F(ConfigImage, ShortCallerBuffersCutWithoutSplittingACharacter) {
  // The GBK bytes of four Chinese characters after "V".
  home_.WriteConfigImage("[Config]\r\nVersion=V版本测试\r\np2psvr=ZoMV.exe\r\n");
  bool ok = false;
  EXPECT_EQ(Read(ReadConfigVersion, 4, &ok), "V\xB0\xE6");  // "V" and one whole character
  EXPECT_TRUE(ok);
  EXPECT_EQ(Read(ReadConfigVersion, 3, &ok), "V");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Read(ReadConfigVersion, 1, &ok), "");
  EXPECT_FALSE(ok);
  EXPECT_EQ(Read(ReadConfigP2PServer, 5, &ok), "ZoMV");
  EXPECT_FALSE(ReadConfigVersion(nullptr, 10));
  char untouched = 'Q';
  EXPECT_FALSE(ReadConfigVersion(&untouched, 0));
  EXPECT_EQ(untouched, 'Q');
}

TEST_F(ConfigImage, FixedReadBuffersCutLongValues) {
  const std::string longValue(300, 'a');
  std::string image = "[Config]\r\nVersion=" + longValue + "\r\np2psvr=" + longValue +
                      "\r\nuserfile=" + longValue + "\r\nmsgset=" + longValue +
                      "\r\n[LogServer]\r\nlogsvr=" + longValue + "\r\n[Advert]\r\nadvertnum=1\r\nadvert0=" +
                      longValue + "\r\n";
  home_.WriteConfigImage(image);
  EXPECT_EQ(Read(ReadConfigVersion, 400), longValue);  // the caller's buffer
  EXPECT_EQ(Read(ReadConfigP2PServer, 400), std::string(63, 'a'));
  EXPECT_EQ(Read(ReadConfigUserFile, 400), std::string(259, 'a'));
  EXPECT_EQ(Read(ReadConfigMsgSet, 400), std::string(259, 'a'));
  EXPECT_EQ(Read(ReadConfigLogServer, 400), std::string(127, 'a'));
  char buf[400];
  ASSERT_TRUE(ReadConfigAdvert(0, buf, sizeof buf));
  EXPECT_EQ(std::string(buf), std::string(63, 'a'));
}

TEST_F(ConfigImage, AdvertAndStarIndexMustLieBelowTheCount) {
  home_.WriteConfigImage(kImage);
  char buf[64];
  ASSERT_TRUE(ReadConfigAdvert(0, buf, sizeof buf));
  EXPECT_STREQ(buf, "http://ad/0?");
  ASSERT_TRUE(ReadConfigAdvert(1, buf, sizeof buf));
  EXPECT_STREQ(buf, "http://ad/1?");
  std::snprintf(buf, sizeof buf, "%s", "junk");
  EXPECT_FALSE(ReadConfigAdvert(2, buf, sizeof buf));  // in the file, but not counted
  EXPECT_STREQ(buf, "");
  EXPECT_FALSE(ReadConfigAdvert(-1, buf, sizeof buf));
  ASSERT_TRUE(ReadConfigStar(0, buf, sizeof buf));
  EXPECT_STREQ(buf, "http://star/0?");
  EXPECT_FALSE(ReadConfigStar(1, buf, sizeof buf));

  home_.WriteConfigImage("[Advert]\r\nadvert0=http://ad/0?\r\n");  // no count
  EXPECT_FALSE(ReadConfigAdvert(0, buf, sizeof buf));
  EXPECT_FALSE(OpenAdvertPage("s", "a", "b"));
  EXPECT_FALSE(OpenStarPage("s", "a", "b"));
}

TEST_F(ConfigImage, FlashSignatureRotatesThroughThePairs) {
  home_.WriteConfigImage(kImage);
  std::vector<std::pair<uint32_t, uint32_t>> seen;
  for (int call = 0; call < 6; ++call) {
    uint32_t a = 0, b = 0;
    ASSERT_TRUE(ReadConfigFlashSignature(a, b));
    seen.emplace_back(a, b);
  }
  const std::vector<std::pair<uint32_t, uint32_t>> pairs = {{100, 101}, {110, 111}, {1, 121}};
  // Wherever the process-wide counter stands, each call takes the next pair.
  size_t start = 0;
  while (start < pairs.size() && pairs[start] != seen[0]) ++start;
  ASSERT_LT(start, pairs.size());
  for (size_t call = 0; call < seen.size(); ++call)
    EXPECT_EQ(seen[call], pairs[(start + call) % pairs.size()]) << call;
}

TEST_F(ConfigImage, FlashSignatureFailsWithoutCountOrWithAHalfPair) {
  uint32_t a = 5, b = 5;
  home_.WriteConfigImage("[GeneralFlash]\r\nflashnum=0\r\nflash0signature1=1\r\nflash0signature2=2\r\n");
  EXPECT_FALSE(ReadConfigFlashSignature(a, b));
  EXPECT_EQ(a, 0u);
  home_.WriteConfigImage("[GeneralFlash]\r\nflashnum=1\r\nflash0signature1=1\r\n");
  EXPECT_FALSE(ReadConfigFlashSignature(a, b));
  home_.WriteConfigImage("[GeneralFlash]\r\nflashnum=1\r\nflash0signature1=1\r\nflash0signature2=2\r\n");
  ASSERT_TRUE(ReadConfigFlashSignature(a, b));
  EXPECT_EQ(a, 1u);
  EXPECT_EQ(b, 2u);
}

TEST_F(ConfigImage, ProductKeysAreCreated) {
  EXPECT_TRUE(EnsureProductKeys());
  EXPECT_TRUE(EnsureProductKeys());  // again: they exist already
  for (const char* name : {"SOFTWARE\\ZOLYRIC\\LOGMSG", "SOFTWARE\\ZOLYRIC\\BHO",
                           "SOFTWARE\\ZOLYRIC\\UPDATE"}) {
    zl::UniqueRegKey key;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, name, 0, KEY_READ, key.Put()), ERROR_SUCCESS)
        << name;
  }
}

// The one reader and writer of the product key's values, on a subkey of the test's own.
TEST_F(ConfigImage, ProductValuesKeepTheirTypes) {
  const char* kSub = "ZLTEST";
  std::string text;
  uint32_t number = 7;
  EXPECT_FALSE(zl::ReadProductText(kSub, "T", text));
  ASSERT_TRUE(zl::WriteProductText(kSub, "T", "\xC4\xE3 x"));
  ASSERT_TRUE(zl::ReadProductText(kSub, "T", text));
  EXPECT_EQ(text, "\xC4\xE3 x");
  ASSERT_TRUE(zl::WriteProductNumber(kSub, "N", 0xFFFFFFFEu));
  ASSERT_TRUE(zl::ReadProductNumber(kSub, "N", number));
  EXPECT_EQ(number, 0xFFFFFFFEu);
  // A value of the other type reads as missing.
  EXPECT_FALSE(zl::ReadProductNumber(kSub, "T", number));
  EXPECT_FALSE(zl::ReadProductText(kSub, "N", text));
  EXPECT_TRUE(text.empty());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC\\ZLTEST");
}
