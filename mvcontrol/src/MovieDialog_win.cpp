#include "MovieDialog_win.h"

#include "OcxModule_win.h"
#include "mvcontrol/ControlRules.h"
#include "resource.h"

namespace mvcontrol {

namespace {

const COLORREF kBackground = RGB(16, 16, 16);
const COLORREF kText = RGB(235, 235, 235);

RECT ToRect(const Box& b) { return RECT{b.x, b.y, b.x + b.width, b.y + b.height}; }

}  // namespace

MovieDialog::MovieDialog(std::string logPath, CommandFn onCommand)
    : m_logPath(std::move(logPath)), m_onCommand(std::move(onCommand)), m_background(CreateSolidBrush(kBackground)) {}

MovieDialog::~MovieDialog() { Destroy(); }

bool MovieDialog::Create(HWND parent, int width, int height) {
  m_dialog.Reset(CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_MOVIE_DIALOG), parent, Proc,
                                    reinterpret_cast<LPARAM>(this)));
  if (!m_dialog) return false;
  m_flash = std::make_unique<FlashControl>(m_dialog.Get(), IDC_FLASH, m_logPath, [this](const std::string& command,
                                                                                      const std::string&) {
    if (m_onCommand) m_onCommand(command);
  });
  const MovieLayout l = LayoutMovieDialog(width, height);
  m_flash->Create(ToRect(l.flash));
  Layout(width, height);
  ShowWindow(m_dialog.Get(), SW_SHOW);
  return true;
}

void MovieDialog::Destroy() {
  m_flash.reset();
  if (m_dialog) SetWindowLongPtrA(m_dialog.Get(), DWLP_USER, 0);
  m_dialog.Reset();
}

void MovieDialog::Layout(int width, int height) {
  if (!m_dialog) return;
  const MovieLayout l = LayoutMovieDialog(width, height);
  SetWindowPos(m_dialog.Get(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_flash) m_flash->Move(ToRect(l.flash));
  MoveWindow(GetDlgItem(m_dialog.Get(), IDC_STATUS_TEXT), l.status.x, l.status.y, l.status.width, l.status.height,
             TRUE);
}

void MovieDialog::ShowStatus(const std::string& text) {
  if (m_dialog) SetDlgItemTextA(m_dialog.Get(), IDC_STATUS_TEXT, text.c_str());
}

void MovieDialog::ShowMovie(const std::string& moviePath) {
  if (m_flash) m_flash->Load(moviePath, "");
}

void MovieDialog::PlayVideo(const std::string& playerMovie, const std::string& videoFile) {
  if (m_flash) m_flash->Load(playerMovie, "videoFile=" + videoFile);
  if (m_dialog) InvalidateRect(m_dialog.Get(), nullptr, TRUE);
}

INT_PTR CALLBACK MovieDialog::Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lp);
    return FALSE;
  }
  auto* self = reinterpret_cast<MovieDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_CTLCOLORDLG:
      return self ? reinterpret_cast<INT_PTR>(self->m_background.Get()) : FALSE;
    case WM_CTLCOLORSTATIC:
      if (!self) return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wp), kText);
      SetBkColor(reinterpret_cast<HDC>(wp), kBackground);
      return reinterpret_cast<INT_PTR>(self->m_background.Get());
    default:
      return FALSE;
  }
}

}  // namespace mvcontrol
