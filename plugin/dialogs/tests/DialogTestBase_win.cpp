#include "DialogTestBase_win.h"

#include <fstream>
#include <iterator>

#include "controller/PlainParts_win.h"
#include "settings/StringTable.h"

namespace dlgtest {

// ---- UI thread ---------------------------------------------------------------

namespace {
constexpr UINT kMsgRun = WM_APP + 1;
const char kUiClass[] = "ZlDialogTestUi";
}  // namespace

UiThread::UiThread() {
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_thread = std::thread([this, ready] { Loop(ready); });
  WaitForSingleObject(ready, kWaitMs);
  CloseHandle(ready);
}

void UiThread::Loop(HANDLE ready) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &UiThread::Procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kUiClass;
  RegisterClassA(&wc);
  m_id = GetCurrentThreadId();
  m_window = CreateWindowExA(0, kUiClass, "lyric window", WS_OVERLAPPEDWINDOW, 40, 40, 400, 200, nullptr, nullptr,
                             wc.hInstance, this);
  SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetEvent(ready);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  DestroyWindow(m_window);
}

LRESULT CALLBACK UiThread::Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<UiThread*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == kMsgRun) {
    std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
    (*work)();
    if (self) --self->m_running;
    return 0;
  }
  if (msg == WM_TIMER && self && self->onTimer) {
    ++self->m_running;
    self->onTimer(window, wParam);
    --self->m_running;
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

void UiThread::Post(std::function<void()> work) {
  ++m_running;
  auto* item = new std::function<void()>(std::move(work));
  if (!PostMessageA(m_window, kMsgRun, 0, reinterpret_cast<LPARAM>(item))) {
    delete item;
    --m_running;
  }
}

bool UiThread::Call(std::function<void()> work, DWORD ms) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  Post([work = std::move(work), done] {
    work();
    done->store(true);
  });
  return WaitFor([&] { return done->load(); }, ms);
}

UiThread::~UiThread() {
  // Whatever a failed test left open is cancelled, nested boxes first.
  WaitFor([this] {
    HWND open = FindDialog(m_id);
    if (!open) return Idle();
    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    Sleep(50);
    return false;
  });
  PostThreadMessageA(m_id, WM_QUIT, 0, 0);
  m_thread.join();
}

// ---- Controller stand-in ---------------------------------------------------------

FakeController::FakeController(const std::string& h) : home(h), mv(MakePlainMvLink()) {
  settings.LoadSettingsFrom(h);
}

void FakeController::OnTimer(HWND window, UINT_PTR id) {
  if (id == lyricwin::kWheelConfirmTimer && dialogs) dialogs->OnWheelConfirmTimer(window);
}
void FakeController::OnCommand(HWND window, unsigned id) {
  if (dialogs) dialogs->OnCommand(window, id);
}
void FakeController::OnMouseWheel(HWND window, WPARAM wParam) {
  if (dialogs) dialogs->OnMouseWheel(window, wParam);
}
void FakeController::OnRButtonUp(HWND window, POINT client) {
  ClientToScreen(window, &client);
  if (dialogs) dialogs->ShowContextMenu(window, client);
}
void FakeController::OnMessageClick(int code) {
  if (dialogs) dialogs->OnMessageClick(code);
}
void FakeController::UseUserChoice(const SearchItem& item) {
  zl::Lock hold(m_lock);
  m_chosen.push_back(item);
}
tagUpdateInfo FakeController::RecognitionAdvice(bool& foundList) {
  foundList = adviceFoundList;
  return advice;
}
void FakeController::AnswerRecognition(bool writeTags, const tagUpdateInfo& names) {
  answer = names;
  answered.store(writeTags);
}
void FakeController::PostUsageEvent(const char* name, bool) {
  zl::Lock hold(m_lock);
  m_events.push_back(name);
}
std::vector<std::string> FakeController::Events() {
  zl::Lock hold(m_lock);
  return m_events;
}
std::vector<SearchItem> FakeController::Chosen() {
  zl::Lock hold(m_lock);
  return m_chosen;
}

// ---- Fixture -------------------------------------------------------------------------

namespace {
std::string InstalledTable(const char* file) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string path = exe;
  path.resize(path.find_last_of('\\'));      // ...\bin
  path.resize(path.find_last_of('\\') + 1);  // the build folder
  std::ifstream in(path + "config\\" + file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}
}  // namespace

DialogTest::DialogTest() {
  const std::string table = InstalledTable("StringConfig.ini");
  CreateDirectoryA((home_.Home() + "\\config").c_str(), nullptr);
  WriteFile(home_.Home() + "\\config\\StringConfig.ini", table);
  tableText_ = table;
  ctrl_ = std::make_unique<FakeController>(home_.Home());
  options_.timings.selectTickMs = 200;
  options_.timings.wheelConfirmMs = 150;
  options_.timings.uploadCloseMs = 1000;
  options_.upload = [this](ZLyric&, const LrcItem& item) { return FakeUpload(item); };
  dialogs_ = MakeLyricDialogs(options_);
  dialogs_->Attach(ctrl_.get());
  ctrl_->dialogs = dialogs_.get();
  ui_ = std::make_unique<UiThread>();
  ui_->onTimer = [this](HWND window, UINT_PTR id) { ctrl_->OnTimer(window, id); };
}

DialogTest::~DialogTest() {
  ui_.reset();
  dialogs_->SetEngine(nullptr);
  ctrl_->engine.reset();
}

std::string DialogTest::T(const char* key) const {
  StringTable table;
  table.Parse(tableText_);
  return table.Get(key);
}

std::string DialogTest::WriteLyric(const std::string& name, const std::string& text) const {
  const std::string path = home_.Home() + "\\" + name;
  WriteFile(path, text);
  return path;
}

void DialogTest::ShowLinkedLyric(const std::string& lyricPath) {
  ctrl_->engine = std::make_shared<ZLyric>();
  dialogs_->SetEngine(ctrl_->engine);
  std::vector<TimeSentence> lyric;
  ctrl_->engine->LinkLrcFile(lyricPath, lyric);
  ctrl_->view.SetLyricSentences(&lyric);
  ctrl_->view.SetStatus(LyricViewStatus::LyricReady);
}

std::string DialogTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<int> DialogTest::ViewStartTimes() {
  std::vector<int> times;
  zl::Lock hold(ctrl_->view.DrawLock());
  for (const TimeSentence& s : ctrl_->view.Sentences()) times.push_back(s.startTime);
  return times;
}

HWND DialogTest::WaitForDialogCaption(const char* captionKey, HWND except) {
  return WaitForDialog(ui_->Id(), T(captionKey), except);
}

Result DialogTest::FakeUpload(const LrcItem& item) {
  lastUpload_ = item;
  ++uploads_;
  return uploadResult_.load();
}

}  // namespace dlgtest
