#include "mvprotocol/MvProtocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace mv;

namespace {
// A download request as the wire carries it, written out field by field.
const uint8_t kRequestBytes[24] = {
    0x03, 0x00, 0x00, 0x00,  // flvStatus 3
    0x01, 0x00, 0x00, 0x00,  // swfStatus 1
    0xD2, 0x04, 0x00, 0x00,  // flvSign.first 1234
    0x2E, 0x16, 0x00, 0x00,  // flvSign.second 5678
    0x78, 0x56, 0x34, 0x12,  // swfSign.first 0x12345678
    0xFF, 0xFF, 0xFF, 0xFF,  // swfSign.second 0xFFFFFFFF
};
}  // namespace

TEST(MvProtocol, DownloadRequestIsLittleEndianInFieldOrder) {
  MvDownloadRequest r{3, 1, {1234, 5678}, {0x12345678u, 0xFFFFFFFFu}};
  uint8_t out[24];
  EncodeDownloadRequest(r, out);
  EXPECT_EQ(0, std::memcmp(out, kRequestBytes, sizeof out));

  const ClipViewMessage m = DecodeClipViewMessage(WM_PRE_DOWNLOAD, kRequestBytes, sizeof kRequestBytes);
  ASSERT_FALSE(m.ignored);
  EXPECT_EQ(m.code, WM_PRE_DOWNLOAD);
  EXPECT_EQ(m.request.flvStatus, 3u);
  EXPECT_EQ(m.request.swfStatus, 1u);
  EXPECT_EQ(m.request.flvSign.first, 1234u);
  EXPECT_EQ(m.request.flvSign.second, 5678u);
  EXPECT_EQ(m.request.swfSign.first, 0x12345678u);
  EXPECT_EQ(m.request.swfSign.second, 0xFFFFFFFFu);
}

TEST(MvProtocol, OnlyStatusThreeMeansPresent) {
  EXPECT_TRUE(HasResource(3));
  for (uint32_t s : {0u, 1u, 2u, 9u, 10u}) EXPECT_FALSE(HasResource(s)) << s;
}

TEST(MvProtocol, PayloadShorterThanItsRecordIsIgnored) {
  EXPECT_TRUE(DecodeClipViewMessage(WM_DOWNLOAD, kRequestBytes, 23).ignored);
  EXPECT_TRUE(DecodeClipViewMessage(WM_DOWNLOAD, nullptr, 24).ignored);
  EXPECT_FALSE(DecodeClipViewMessage(WM_DOWNLOAD, kRequestBytes, 24).ignored);
  const uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_TRUE(DecodeClipViewMessage(WM_PLAY, one, 3).ignored);
  EXPECT_TRUE(DecodePlayerMessage(WM_USER_CHOICE, one, 0).ignored);
  EXPECT_TRUE(DecodePlayerMessage(WM_USER_CHOICE, nullptr, 4).ignored);
}

TEST(MvProtocol, PlayFlagAndUserChoice) {
  const uint8_t zero[4] = {0, 0, 0, 0}, high[4] = {0, 0, 0, 0x80};
  EXPECT_FALSE(DecodeClipViewMessage(WM_PLAY, zero, 4).video);
  EXPECT_TRUE(DecodeClipViewMessage(WM_PLAY, high, 4).video);  // any non-zero value
  uint8_t out[4];
  EncodeInt32(choice_pic, out);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[3], 0);
  const PlayerMessage m = DecodePlayerMessage(WM_USER_CHOICE, out, 4);
  ASSERT_FALSE(m.ignored);
  EXPECT_EQ(m.choice, choice_pic);
}

TEST(MvProtocol, CodesNineTenAndAboveElevenAreIgnored) {
  for (uint64_t code : {9ull, 10ull, 12ull, 255ull, 0x100000000ull}) {
    EXPECT_TRUE(DecodeClipViewMessage(code, kRequestBytes, 24).ignored) << code;
  }
  for (uint64_t code : {2ull, 3ull, 5ull, 6ull, 7ull, 8ull, 11ull}) {
    const ClipViewMessage m = DecodeClipViewMessage(code, nullptr, 0);
    EXPECT_FALSE(m.ignored) << code;
    EXPECT_EQ(m.code, code);
  }
  EXPECT_TRUE(DecodePlayerMessage(5, nullptr, 0).ignored);
  EXPECT_FALSE(DecodePlayerMessage(WM_DOWNLOAD_P2P, nullptr, 0).ignored);
}

TEST(MvProtocol, TitlesAndHostNames) {
  EXPECT_STREQ(ClipViewTitleForHost("WMP"), "DarorAvuzovIVA");
  EXPECT_STREQ(ClipViewTitleForHost("WINAMP"), "WinampMTV");
  EXPECT_STREQ(ClipViewTitleForHost("REAL"), "VadiZozudoVOZ");
  EXPECT_STREQ(ClipViewTitleForHost("winamp"), "VadiZozudoVOZ");  // the host name is upper case

  EXPECT_STREQ(MiniWindowTitleFromCommandLine("WinampMTV"), "WINAMPMini");
  EXPECT_STREQ(MiniWindowTitleFromCommandLine("VadiZozudoVOZ"), "REALMini");
  EXPECT_STREQ(MiniWindowTitleFromCommandLine("MediaPlayerWinamp"), "WMPMini");
  // The WMP title holds neither word, so ClipView answers to "REALMini".
  EXPECT_STREQ(MiniWindowTitleFromCommandLine("DarorAvuzovIVA"), "REALMini");

  EXPECT_STREQ(HostNameFromCommandLine("DarorAvuzovIVA"), "WMP");
  EXPECT_STREQ(HostNameFromCommandLine("WinampMTV"), "WINAMP");
  EXPECT_STREQ(HostNameFromCommandLine("VadiZozudoVOZ"), "REAL");
  EXPECT_STREQ(HostNameFromCommandLine("something"), "");
}
