#include "settings/SettingsStore.h"

#include "shared/GbkText.h"

LyricDrawConfig DrawConfigFromFont(const zl::LyricFontSettings& font) {
  LyricDrawConfig c;
  zl::CopyGbkBounded(c.facename, sizeof c.facename, font.facename.c_str());
  c.weight = font.weight;
  c.italic = font.italic;
  c.underline = font.underline;
  c.strikeout = font.strikeout;
  c.height = font.height;
  c.rgb = static_cast<ViewColor>(font.rgb);
  c.highlightrgb = static_cast<ViewColor>(font.highlightrgb);
  c.bktype = font.bktype;
  zl::CopyGbkBounded(c.picpath, sizeof c.picpath, font.picpath.c_str());
  c.backcolor = static_cast<ViewColor>(font.backcolor);
  c.backpiclum = font.backpiclum;
  c.scrollType = font.scrollType;
  c.IsKalaOk = font.IsKalaOk ? 1 : 0;
  c.lyricSize = font.lyricSize;
  c.UserDefineFont = font.UserDefineFont ? 1 : 0;
  return c;
}

void SettingsStore::Load(const zl::SettingsSource& source, const std::string& home) {
  zl::LyricSettings values;
  zl::LoadLyricSettings(source, home, values);
  zl::Lock hold(m_lock);
  m_home = home;
  m_path = zl::LyricSettingsPath(home);
  m_values = std::move(values);
  ++m_version;
}

void SettingsStore::ResetSettings() {
  zl::Lock hold(m_lock);
  zl::ResetLyricSettings(m_home, m_values);
  ++m_version;
}

zl::LyricSettings SettingsStore::Values() const {
  zl::Lock hold(m_lock);
  return m_values;
}

void SettingsStore::Modify(const std::function<void(zl::LyricSettings&)>& change) {
  zl::Lock hold(m_lock);
  change(m_values);
  ++m_version;
}

const LyricDrawConfig& SettingsStore::DrawConfig() {
  zl::Lock hold(m_lock);
  if (m_drawVersion != m_version) {
    m_draw = DrawConfigFromFont(m_values.font);
    m_drawVersion = m_version;
  }
  return m_draw;
}
