#include "Channel_win.h"

#include <cstdlib>
#include <ctime>

#include "OcxModule_win.h"
#include "P2PLink_win.h"
#include "mvcontrol/ControlRules.h"
#include "p2pwire/P2PRecords.h"
#include "shared/GbkPath.h"
#include "shared/Logger.h"

namespace mvcontrol {

namespace {

constexpr const char* kTag = "ZoLyricOCX";
constexpr int kReplyNameDraws = 16;
std::unique_ptr<Channel> g_channel;

const char* OpenFailureText(HandleCopyFiles::OpenResult r) {
  return r == HandleCopyFiles::OpenResult::SourceMissing ? kTextSourceMissing : kTextTempFailed;
}

}  // namespace

Channel* Channel::Attach(ChannelView* view) {
  if (!g_channel) g_channel.reset(new Channel());
  if (!g_channel->m_reply) {
    g_channel.reset();
    return nullptr;
  }
  ++g_channel->m_views;
  if (!g_channel->m_view) g_channel->m_view = view;
  return g_channel.get();
}

void Channel::Detach(ChannelView* view) {
  if (!g_channel) return;
  Channel& c = *g_channel;
  if (c.m_view == view) {
    // Nobody shows the channel any more: its download and copy end with it.
    if (c.m_state.Active()) c.Stop(c.m_state.sign, nullptr);
    c.m_view = nullptr;
  }
  if (--c.m_views <= 0) g_channel.reset();
}

Channel* Channel::Current() { return g_channel.get(); }

Channel::Channel() {
  std::srand(unsigned(std::time(nullptr)));
  // NOTE: browsers whose controls start within the same second draw the
  // same numbers. A name another page's reply window has is drawn again:
  // the server finds the first window of a name, and the second page would
  // never hear of its channel.
  for (int draw = 0; draw < kReplyNameDraws; ++draw) {
    const unsigned high = unsigned(std::rand());
    m_replyName = mvcontrol::ReplyWindowName(high, unsigned(std::rand()));
    if (!FindWindowA(m_replyName.c_str(), m_replyName.c_str())) break;
  }
  // The server finds the reply window by class and title, both this name.
  WNDCLASSA wc{};
  wc.lpfnWndProc = ReplyProc;
  wc.hInstance = Module();
  wc.lpszClassName = m_replyName.c_str();
  RegisterClassA(&wc);
  m_reply.Reset(CreateWindowExA(0, m_replyName.c_str(), m_replyName.c_str(), WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                nullptr, Module(), this));
  if (!m_reply) LogWrite(Paths().logPath.c_str(), LOG_FATAL, kTag, "Create Message Window Error.");
}

Channel::~Channel() {
  m_copy.reset();
  if (m_reply) SetWindowLongPtrA(m_reply.Get(), GWLP_USERDATA, 0);
  m_reply.Reset();
  UnregisterClassA(m_replyName.c_str(), Module());
}

LRESULT CALLBACK Channel::ReplyProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<Channel*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == WM_COPYDATA && self && lp) {
    self->OnCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lp));
    return TRUE;
  }
  return DefWindowProcA(window, msg, wp, lp);
}

void Channel::Show(const std::string& text) {
  if (m_view) m_view->ShowStatus(text);
}

void Channel::OnCopyData(const COPYDATASTRUCT& cds) {
  std::string path;
  if (cds.dwData == p2pwire::kCodeStatus) {
    p2pwire::P2PStatusRecord r;
    if (!p2pwire::DecodeStatusRecord(cds.lpData, cds.cbData, r, path)) return;
    const StatusReport report{r.sign, r.event, r.usablePercent, r.downloadPercent, r.rate, r.totalSize};
    Execute(PlanStatus(m_state, report), path);
  } else if (cds.dwData == p2pwire::kCodeLookup) {
    p2pwire::P2PLookupRecord r;
    if (!p2pwire::DecodeLookupRecord(cds.lpData, cds.cbData, r, path)) return;
    Execute(PlanLookup(m_state, r.sign, r.percent), path);
  }
}

void Channel::Execute(const ReportPlan& plan, const std::string& sourcePath) {
  if (!plan.forChannel) return;
  if (!plan.text.empty()) Show(plan.text);
  if (plan.serverError) {
    if (m_view) {
      m_view->ShowMovie(Paths().Swf("load.swf"));
      m_view->ShowMovie(Paths().Swf("ocx_neterror.swf"));
    }
    return;
  }
  if (plan.buildVideoFile) {
    const std::string extension = zl::PathExtension(sourcePath);
    if (!Paths().userTemp.empty()) CreateDirectoryA((Paths().userTemp + "ZLrc").c_str(), nullptr);
    m_videoFile = VideoFilePath(Paths().userTemp, m_state.sign, extension);
  }
  if (plan.markStarted) m_state.started = true;
  if (plan.copy.kind != CopyStep::None && !RunCopy(plan.copy, sourcePath)) return;
  if (plan.completeAfterCopy) {
    m_state.copyComplete = true;
    m_copy.reset();
  }
  // The player movie starts once the video file holds its first block.
  if (plan.play && m_state.copiedBlocks > 0) PlayMovie(m_videoFile);
}

bool Channel::RunCopy(const CopyStep& step, const std::string& sourcePath) {
  if (step.kind == CopyStep::Blocks && step.count == 0) return true;
  if (m_videoFile.empty()) {
    Show(kTextTempFailed);
    return false;
  }
  const bool whole = step.kind == CopyStep::Whole;
  if (whole || !m_copy) {
    auto files = std::make_unique<HandleCopyFiles>();
    const auto opened = files->Open(sourcePath, m_videoFile, whole || m_state.copiedBlocks == 0);
    if (opened != HandleCopyFiles::OpenResult::Opened) {
      Show(OpenFailureText(opened));
      return false;
    }
    m_copy = std::move(files);
    m_videoMade = true;
    if (whole) m_state.copiedBlocks = 0;
  }
  const BlockCopyResult r = whole ? CopyWholeFile(*m_copy, m_state.copiedBlocks)
                                  : CopyBlocks(*m_copy, step.start, step.count, step.last, m_state.copiedBlocks);
  if (r.failed || (whole && r.firstReadEmpty)) {
    LogWrite(Paths().logPath.c_str(), LOG_FATAL, kTag, "Sign is %u, %u, Read Error %d.", m_state.sign.first,
             m_state.sign.second, int(GetLastError()));
    Show(kTextReadFailed);
    if (whole) m_copy.reset();
    return false;
  }
  return true;
}

void Channel::PlayMovie(const std::string& file) {
  if (!m_view || !BeginMovie(m_state)) return;
  m_view->PlayVideo(PlayerMovie(), file);
}

void Channel::ReleaseMovie() {
  if (m_view) m_view->ShowMovie(Paths().Swf("load.swf"));
}

void Channel::Play(SignPair sign, ChannelView* caller) {
  SignPair old{0, 0};
  if (ChannelToStop(m_state, old)) Stop(old, caller);
  m_view = caller;
  m_state = NewChannel(sign);
  LogWrite(Paths().logPath.c_str(), LOG_KEYINFO, kTag, "PlayChannel Sign %u, %u Need to Download.", sign.first,
           sign.second);
  SendRequest(sign, m_replyName);
  Show(kTextGettingData);
}

void Channel::Stop(SignPair sign, ChannelView* caller) {
  if (!m_view) m_view = caller;
  ReleaseMovie();
  SendCancel(sign);
  m_state = ChannelState();
  m_copy.reset();
  if (m_videoMade && !m_videoFile.empty() && !DeleteFileA(m_videoFile.c_str()) &&
      GetLastError() != ERROR_FILE_NOT_FOUND)
    LogWrite(Paths().logPath.c_str(), LOG_FATAL, kTag, "Delete Temp Media File Error, Code is %d.",
             int(GetLastError()));
  m_videoMade = false;
  m_videoFile.clear();
  Show(kTextStopped);
  if (caller) m_view = caller;
}

void Channel::PlayFile(const std::string& path, ChannelView* caller) {
  m_view = caller;
  PlayMovie(path);
}

void Channel::OnMovieCommand(const std::string& command, ChannelView* from) {
  if (from != m_view) return;
  if (mvcontrol::OnMovieCommand(m_state, command)) ReleaseMovie();
}

}  // namespace mvcontrol
