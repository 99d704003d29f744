#include "lyricwindows/ButtonTips_win.h"

#include <commctrl.h>

bool ButtonTips::Create(HWND owner) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  m_owner = owner;
  m_added = 0;
  m_tips.Reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               nullptr, nullptr));
  return static_cast<bool>(m_tips);
}

void ButtonTips::Set(unsigned index, const ViewRect& rect, const std::string& text) {
  if (!m_tips) return;
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = m_owner;
  tool.uId = index;
  tool.rect = RECT{rect.left, rect.top, rect.right, rect.bottom};
  tool.lpszText = const_cast<char*>(text.c_str());
  if (index < m_added) {
    SendMessageA(m_tips.Get(), TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(m_tips.Get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  if (SendMessageA(m_tips.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) && index == m_added) ++m_added;
}
