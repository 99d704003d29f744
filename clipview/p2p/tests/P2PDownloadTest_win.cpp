// The download manager against the P2P server stand-in under Wine: what is
// copied when, which slot hears what, time-outs, prefetch, the decoder
// download and installation, server start and recovery.
#include <gtest/gtest.h>

#include "P2PTestKit_win.h"
#include "p2pwire/HeadScramble.h"
#include "shared/Ownership.h"

using namespace clipview;
using namespace p2ptest;

namespace {

const SignPair kA{11, 12}, kB{21, 22};

class P2PDownloadTest : public ::testing::Test {
 protected:
  std::unique_ptr<P2PMan> Man(DWORD timeoutMs = 60000, DWORD sendTimeoutMs = 2000) {
    P2PManConfig c = world_.Config();
    c.downloadTimeoutMs = timeoutMs;
    c.sendTimeoutMs = sendTimeoutMs;
    return world_.MakeMan(c);
  }
  bool WaitStatus(P2PMan& man, SlotKind kind, int status, DWORD ms = 15000) {
    return world_.WaitFor([&] { return man.Slot(kind).status == status; }, ms);
  }
  // Texts and messages follow a status change on the reply thread.
  bool WaitText(P2PMan& man, const std::string& text) {
    return world_.WaitFor([&] { return man.VideoText() == text; });
  }
  std::string Temp(SignPair p, const char* ext) {
    return world_.userTemp + "ZLrc\\" + std::to_string(p.first) + "_" + std::to_string(p.second) + "." + ext;
  }
  static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  P2PWorld world_;
};

TEST_F(P2PDownloadTest, ProgressCopiesWholeUsableBlocksAndRestoresTheHead) {
  const std::string original = RandomBytes(20000, 1);
  world_.AddResource(kA, "flv", original);
  zl::UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, "ZlP2PTestRelease"));
  ASSERT_TRUE(world_.StartServer("--rate 20000 --hold-at 90 --release-event ZlP2PTestRelease"));
  auto man = Man();
  man->OnDownload(3, 1, kA, SignPair{0, 0});
  ASSERT_TRUE(world_.WaitFor([&] { return man->Slot(SlotKind::Video).usablePercent == 50; }));
  const P2PResource at50 = man->Slot(SlotKind::Video);
  EXPECT_EQ(at50.status, kStatusDownloading);
  EXPECT_TRUE(at50.playable);
  EXPECT_EQ(at50.totalSize, 20000u);
  EXPECT_EQ(at50.tempPath, Temp(kA, "flv"));
  EXPECT_EQ(mvtest::ReadFileBytes(at50.tempPath), original.substr(0, 16384));
  EXPECT_TRUE(WaitText(*man, "缓冲:50%"));
  EXPECT_TRUE(world_.WaitFor([&] { return world_.Seen(WM_FLV_PLAY) == 1; }));  // posted once, at playable

  SetEvent(release.Get());
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFinished));
  EXPECT_EQ(mvtest::ReadFileBytes(at50.tempPath), original);
  EXPECT_TRUE(WaitText(*man, "正在播放"));
  EXPECT_TRUE(world_.WaitFor([&] { return world_.Seen(WM_FLV_PLAY) == 2; }));  // and sent at the end
  EXPECT_EQ(world_.Requests(kA), 1);
}

TEST_F(P2PDownloadTest, DecoderInstallerIsCopiedUntransformedRunAndReported) {
  ForgetDecoder();
  const std::string setup = mvtest::ReadFileBytes(mvtest::BesideMe("FlvCodecSetup.exe"));
  ASSERT_FALSE(setup.empty());
  world_.AddResource(kCodecPair, "exe", setup);
  world_.AddResource(kA, "flv", RandomBytes(30000, 2));
  ASSERT_TRUE(world_.StartServer("--rate 4000000"));
  auto man = Man();
  EXPECT_FALSE(man->SupportsFlvCodec());
  man->OnDownload(3, 1, kA, SignPair{0, 0});
  ASSERT_TRUE(world_.WaitFor([&] { return world_.Seen(WM_CODEC_READY) == 1; }, 30000));
  EXPECT_EQ(mvtest::ReadFileBytes(Temp(kCodecPair, "exe")), setup);
  EXPECT_TRUE(man->SupportsFlvCodec());
  EXPECT_EQ(man->CodecText(), "解码器下载完毕！");
  EXPECT_EQ(man->Slot(SlotKind::Codec).status, kStatusFinished);
}

TEST_F(P2PDownloadTest, PrefetchSkipsThePairThatIsPlayingAndFetchesTheOther) {
  world_.AddResource(kA, "flv", RandomBytes(40000, 3));
  world_.AddResource(kB, "swf", RandomBytes(40000, 4));
  ASSERT_TRUE(world_.StartServer("--rate 100000"));
  auto man = Man();
  man->OnDownload(3, 1, kA, SignPair{0, 0});
  man->OnPreDownload(kA, kB);  // waits for the current video first
  ASSERT_TRUE(world_.WaitFor([&] { return world_.Requests(kB) == 1; }));
  EXPECT_EQ(man->Slot(SlotKind::Video).status, kStatusFinished);
  mvtest::PumpFor(300);
  EXPECT_EQ(world_.Requests(kA), 1);
  EXPECT_EQ(man->Slot(SlotKind::PrefetchVideo).status, kStatusIdle);
  EXPECT_EQ(man->Slot(SlotKind::PrefetchPictures).status, kStatusRequested);  // reports reach no prefetch slot
  man->OnStopPreDownload();
  EXPECT_TRUE(world_.WaitFor([&] { return world_.Cancels(kB) == 1; }));
}

TEST_F(P2PDownloadTest, PairsThatReadAlikeAreDifferentFiles) {
  const SignPair p1{1, 23}, p2{12, 3};
  const std::string one = RandomBytes(25000, 5), two = RandomBytes(26000, 6);
  world_.AddResource(p1, "flv", one);
  world_.AddResource(p2, "flv", two);
  ASSERT_TRUE(world_.StartServer("--rate 400000"));
  auto man = Man();
  man->OnDownload(3, 1, p1, SignPair{0, 0});
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFinished));
  const std::string first = man->Slot(SlotKind::Video).tempPath;
  man->OnStartNewSong();
  EXPECT_EQ(man->Slot(SlotKind::Video).status, kStatusIdle);
  man->OnDownload(3, 1, p2, SignPair{0, 0});
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFinished));
  const std::string second = man->Slot(SlotKind::Video).tempPath;
  EXPECT_NE(first, second);
  EXPECT_EQ(mvtest::ReadFileBytes(first), one);
  EXPECT_EQ(mvtest::ReadFileBytes(second), two);
}

TEST_F(P2PDownloadTest, ResourceCompleteOnThisMachineIsCopiedWholeAndAnEmptyOneFails) {
  std::string original = RandomBytes(50000, 7), stored = original;
  p2pwire::ScrambleHead(reinterpret_cast<unsigned char*>(&stored[0]), 16384);
  world_.AddResource(kA, "flv", original);
  mvtest::WriteFileBytes(world_.StorePath(kA, "flv"), stored);
  world_.AddResource(kB, "flv", "");
  mvtest::WriteFileBytes(world_.StorePath(kB, "flv"), "");
  ASSERT_TRUE(world_.StartServer());
  auto man = Man();
  man->OnDownload(3, 1, kA, SignPair{0, 0});
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFinished));
  EXPECT_EQ(mvtest::ReadFileBytes(Temp(kA, "flv")), original);

  man->OnStartNewSong();
  world_.host.playerPlay = 0;
  man->OnDownload(3, 1, kB, SignPair{0, 0});
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFailed));
  EXPECT_TRUE(WaitText(*man, "缓冲失败！"));
  EXPECT_TRUE(world_.WaitFor([&] { return world_.host.playerPlay == 1; }));
}

TEST_F(P2PDownloadTest, NoPeerAndNetworkErrorReachTheVideoLine) {
  ASSERT_TRUE(world_.StartServer("--fault neterror@2,2"));
  auto man = Man();
  man->OnDownload(3, 1, SignPair{1, 1}, SignPair{0, 0});  // in nobody's library
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusNoPeer));
  EXPECT_TRUE(WaitText(*man, "该资源尚未准备好..."));
  EXPECT_TRUE(world_.WaitFor([&] { return world_.host.playerPlay == 1 && world_.Seen(WM_REFRESH_STATUS) >= 2; }));
  man->OnStartNewSong();
  world_.host.shown = false;  // a hidden window does not resume the player
  man->OnDownload(3, 1, SignPair{2, 2}, SignPair{0, 0});
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusNetworkError));
  EXPECT_TRUE(WaitText(*man, "连接服务器失败!"));
  mvtest::PumpFor(200);
  EXPECT_EQ(world_.host.playerPlay, 1);
}

TEST_F(P2PDownloadTest, StalledOrAbandonedVideoTimesOutAndIsCancelled) {
  world_.AddResource(kA, "flv", RandomBytes(200000, 8));
  world_.AddResource(kB, "flv", RandomBytes(200000, 9));
  ASSERT_TRUE(world_.StartServer("--rate 400000 --fault stall@11,12 --fault halfway@21,22"));
  auto man = Man(1500);
  for (SignPair p : {kA, kB}) {
    man->OnStartNewSong();
    world_.host.playerPlay = 0;
    man->OnDownload(3, 1, p, SignPair{0, 0});
    ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusDownloading));
    ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFailed, 10000)) << p.first;
    EXPECT_EQ(man->VideoText(), "暂时无法完成下载...");
    EXPECT_TRUE(world_.WaitFor([&] { return world_.Cancels(p) == 1; }));
    EXPECT_FALSE(Exists(Temp(p, "flv")));
    EXPECT_EQ(world_.host.playerPlay, 1);
  }
}

TEST_F(P2PDownloadTest, StalledPicturesAndDecoderTimeOut) {
  ForgetDecoder();
  world_.AddResource(kB, "swf", RandomBytes(200000, 10));
  world_.AddResource(kCodecPair, "exe", RandomBytes(200000, 11));
  // Stalled before any progress: the decoder's single time-out check finds none.
  ASSERT_TRUE(world_.StartServer("--rate 400000 --fault stall --stall-at 0"));
  world_.host.choice = choice_pic;
  auto man = Man(1500);
  man->OnDownload(2, 3, SignPair{0, 0}, kB);
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Pictures, kStatusFailed, 10000));
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Codec, kStatusFailed, 10000));
  EXPECT_EQ(man->CodecText(), "暂时无法完成下载...");
  EXPECT_EQ(man->StatusText(), man->CodecText());  // the decoder is missing
  EXPECT_TRUE(world_.WaitFor([&] { return world_.Seen(WM_SHOW_PICTURES) >= 2; }));
  EXPECT_EQ(world_.commands, std::vector<WPARAM>{kCommandPictureTab});  // no video: pictures
}

TEST_F(P2PDownloadTest, HungServerIsEndedAndStartedAgain) {
  world_.AddResource(kA, "flv", RandomBytes(30000, 12));
  ASSERT_TRUE(world_.StartServer("--fault hang"));
  const DWORD hung = P2PWorld::ServerProcessId();
  ASSERT_NE(hung, 0u);
  auto man = Man(1500, 1000);
  man->OnDownload(3, 1, kA, SignPair{0, 0});
  ASSERT_TRUE(world_.WaitFor([&] {
    const DWORD now = P2PWorld::ServerProcessId();
    return now != 0 && now != hung;
  }, 20000));
  zl::UniqueRegKey key;
  DWORD started = 0, size = sizeof started;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZOLYRIC", 0, KEY_READ, key.Put()), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key.Get(), "P2PStarted", nullptr, nullptr, reinterpret_cast<BYTE*>(&started), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(started, 1u);
  // The request is not sent again; the time-out fails the slot and the next
  // play request fetches it from the new server.
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFailed, 10000));
  man->OnPlay(true);
  EXPECT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFinished));
}

TEST_F(P2PDownloadTest, MissingServerIsStartedFromTheInstallHome) {
  world_.AddResource(kA, "flv", RandomBytes(30000, 13));
  auto man = Man(1500);
  man->OnDownload(3, 1, kA, SignPair{0, 0});
  ASSERT_TRUE(world_.WaitFor([&] { return P2PWorld::ServerProcessId() != 0; }, 20000));
  // A server slower to appear than 2 s misses the request; the time-out
  // then fails the slot and the next play request reaches the server.
  ASSERT_TRUE(world_.WaitFor([&] {
    const int status = man->Slot(SlotKind::Video).status;
    return status == kStatusFinished || status == kStatusFailed;
  }, 20000));
  if (man->Slot(SlotKind::Video).status == kStatusFailed) man->OnPlay(true);
  EXPECT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFinished));
}

TEST_F(P2PDownloadTest, CancelDeletesTheTempFileAndRetriesOneThatIsInUse) {
  world_.AddResource(kA, "flv", RandomBytes(30000, 14));
  world_.AddResource(kB, "flv", RandomBytes(30000, 15));
  ASSERT_TRUE(world_.StartServer());
  auto man = Man();
  man->OnDownload(3, 1, kA, SignPair{0, 0});
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFinished));
  {
    zl::UniqueHandle held(CreateFileA(Temp(kA, "flv").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      0, nullptr));
    ASSERT_TRUE(held);
    man->OnStopDownload();
    EXPECT_EQ(man->Slot(SlotKind::Video).status, kStatusCancelled);
    EXPECT_TRUE(Exists(Temp(kA, "flv")));
  }
  EXPECT_TRUE(world_.WaitFor([&] { return world_.Cancels(kA) == 1; }));
  man->OnStartNewSong();
  man->OnDownload(3, 1, kB, SignPair{0, 0});
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusFinished));
  man->OnStopDownload();
  EXPECT_FALSE(Exists(Temp(kB, "flv")));
  EXPECT_FALSE(Exists(Temp(kA, "flv")));  // remembered and deleted now
}

TEST_F(P2PDownloadTest, PlayWithNothingToFetchAsksThePlugInToSendAgain) {
  auto man = Man();
  man->OnPlay(true);
  EXPECT_EQ(world_.host.downloadP2P, 1);
  EXPECT_EQ(man->Slot(SlotKind::Video).status, kStatusIdle);
}

TEST_F(P2PDownloadTest, VideoWithoutPicturesUnderPictureChoiceFetchesVideoAndDecoder) {
  ForgetDecoder();
  world_.AddResource(kA, "flv", RandomBytes(30000, 16));
  world_.AddResource(kCodecPair, "exe", RandomBytes(3000, 17));
  ASSERT_TRUE(world_.StartServer("--rate 1000"));
  world_.host.choice = choice_pic;
  auto man = Man();
  man->OnDownload(3, 1, kA, SignPair{0, 0});
  EXPECT_TRUE(man->HasVideo());
  EXPECT_FALSE(man->HasPictures());
  EXPECT_TRUE(world_.WaitFor([&] { return world_.Requests(kA) == 1 && world_.Requests(kCodecPair) == 1; }));
  EXPECT_TRUE(world_.WaitFor([&] { return world_.Seen(WM_REFRESH_STATUS) >= 1 && world_.Seen(WM_SHOW_PICTURES) >= 1; }));
  EXPECT_TRUE(world_.commands.empty());
  // Shutdown cancels what the server has begun, not what is only asked for.
  ASSERT_TRUE(WaitStatus(*man, SlotKind::Video, kStatusDownloading));
  man->Shutdown();
  EXPECT_TRUE(world_.WaitFor([&] { return world_.Cancels(kA) == 1; }));
}

}  // namespace
