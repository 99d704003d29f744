#include "window/VideoDlgConfig.h"

#include "shared/ProfileFile.h"

namespace clipview {
namespace {
constexpr char kGui[] = "GUI";

void ReadPair(const ProfileFile& f, const char* key, int& a, int& b) {
  int32_t first = a, second = b;
  f.ReadWordPair(kGui, key, first, second, a, b);
  a = first;
  b = second;
}
}  // namespace

VideoDlgSettings LoadVideoDlgSettings(const std::string& path) {
  VideoDlgSettings s;
  const ProfileFile f(path);
  char face[64] = {};
  if (f.ReadBytes(kGui, "Face Path", face, sizeof face - 1) > 0 && face[0]) s.facePath = face;
  ReadPair(f, "Dialog Position", s.x, s.y);
  ReadPair(f, "Dialog Size", s.width, s.height);
  s.minWidth = f.ReadInt(kGui, "Min Width", s.minWidth);
  s.minHeight = f.ReadInt(kGui, "Min Height", s.minHeight);
  s.backColor = f.ReadInt(kGui, "MainDlg BK CLR", s.backColor);
  s.borderColor = f.ReadInt(kGui, "MainDlg BORDER CLR", s.borderColor);
  s.listBorderColor = f.ReadInt(kGui, "MainDlg LIST BORDER CLR", s.listBorderColor);
  s.miniBackColor = f.ReadInt(kGui, "MiniBkColor", s.miniBackColor);
  ReadPair(f, "Control Position", s.controlX, s.controlY);
  ReadPair(f, "Control Size", s.controlWidth, s.controlHeight);
  s.hold = f.ReadBool(kGui, "Hold", s.hold);
  s.noVideoShows = f.ReadInt(kGui, "NOMVSHOW", s.noVideoShows);
  s.isNormalSize = f.ReadBool(kGui, "IsNormalSize", s.isNormalSize);
  s.volumeValue = f.ReadInt(kGui, "VolumeValue", s.volumeValue);
  if (s.volumeValue < 0 || s.volumeValue > 8) s.volumeValue = 8;
  s.mute = f.ReadBool(kGui, "Mute", s.mute);
  ReadPair(f, "NormalSize", s.normalWidth, s.normalHeight);
  ReadPair(f, "NormalPos", s.normalX, s.normalY);
  if (s.minWidth < 1) s.minWidth = skin::kMinWidth;
  if (s.minHeight < 1) s.minHeight = skin::kMinHeight;
  if (s.width < s.minWidth) s.width = s.minWidth;
  if (s.height < s.minHeight) s.height = s.minHeight;
  return s;
}

bool SaveVideoDlgSettings(const std::string& path, const VideoDlgSettings& s) {
  ProfileFile f(path);
  char face[64] = {};
  s.facePath.copy(face, sizeof face - 1);
  bool ok = f.WriteBytes(kGui, "Face Path", face, sizeof face);
  ok &= f.WriteWordPair(kGui, "Dialog Position", s.x, s.y);
  ok &= f.WriteWordPair(kGui, "Dialog Size", s.width, s.height);
  ok &= f.WriteInt(kGui, "MainDlg Bmp Number", 0);
  ok &= f.WriteInt(kGui, "Left Bmp Width", skin::kBorder);
  ok &= f.WriteInt(kGui, "MainDlg Ctrl Number", 0);
  ok &= f.WriteInt(kGui, "MainDlg BK CLR", s.backColor);
  ok &= f.WriteInt(kGui, "MainDlg BORDER CLR", s.borderColor);
  ok &= f.WriteInt(kGui, "MainDlg LIST BORDER CLR", s.listBorderColor);
  ok &= f.WriteInt(kGui, "MiniBkColor", s.miniBackColor);
  ok &= f.WriteInt(kGui, "Min Width", s.minWidth);
  ok &= f.WriteInt(kGui, "Min Height", s.minHeight);
  ok &= f.WriteWordPair(kGui, "Control Position", s.controlX, s.controlY);
  ok &= f.WriteWordPair(kGui, "Control Size", s.controlWidth, s.controlHeight);
  ok &= f.WriteBool(kGui, "Hold", s.hold);
  ok &= f.WriteInt(kGui, "NOMVSHOW", s.noVideoShows);
  ok &= f.WriteBool(kGui, "IsNormalSize", s.isNormalSize);
  ok &= f.WriteInt(kGui, "VolumeValue", s.volumeValue);
  ok &= f.WriteBool(kGui, "Mute", s.mute);
  ok &= f.WriteWordPair(kGui, "NormalSize", s.normalWidth, s.normalHeight);
  ok &= f.WriteWordPair(kGui, "NormalPos", s.normalX, s.normalY);
  return ok;
}

}  // namespace clipview
