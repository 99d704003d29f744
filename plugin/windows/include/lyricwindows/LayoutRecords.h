#pragma once
// The lyric windows' layout files: one section "GUI" per file, read and
// written as profile texts (hex byte records and decimal numbers). The
// records and the key order are the file format; the values come from a
// user-writable file, so every count and every copied field is bounded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A frame piece: bitmap file (relative to the face folder) and where it goes.
struct FrameBitmapRecord {
  char name[32];  // NUL-terminated
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  uint32_t flag;  // low byte used: 1 stretched (the only kind drawn here)
};
constexpr size_t kFrameBitmapRecordBytes = 52;

// A button of the window.
struct ControlRecord {
  char text[32];  // bitmap stem; empty for the main window's close box
  char tip[32];   // tooltip text from the string table
  uint32_t id;
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  uint32_t extra[3];
};
constexpr size_t kControlRecordBytes = 96;

// Little-endian on both sides, whatever the compiler does with the structs.
void EncodeFrameBitmap(const FrameBitmapRecord& r, unsigned char out[kFrameBitmapRecordBytes]);
FrameBitmapRecord DecodeFrameBitmap(const unsigned char in[kFrameBitmapRecordBytes]);
void EncodeControl(const ControlRecord& r, unsigned char out[kControlRecordBytes]);
ControlRecord DecodeControl(const unsigned char in[kControlRecordBytes]);

// Fills a fixed text field, cut without splitting a double-byte character.
void SetRecordText(char (&field)[32], const char* text);

constexpr int kMaxFrameBitmaps = 20;
constexpr int kMaxControls = 20;
constexpr size_t kFacePathBytes = 64;
// Window sizes from the file stay within this (a larger screen is unheard of).
constexpr int kMaxWindowExtent = 8192;

struct WindowLayout {
  char facePath[kFacePathBytes] = "";  // below the install home, ends in a backslash
  bool hasPosition = false;  // "Dialog Position" was read
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<FrameBitmapRecord> bitmaps;
  int leftBmpWidth = 0;
  std::vector<ControlRecord> controls;
  uint32_t bkColor = 0;
  uint32_t borderColor = 0;
  uint32_t listBorderColor = 0;
  int minWidth = 0;
  int minHeight = 0;
  uint32_t miniBkColor = 0;
};

// The "GUI" section as texts. A missing key reads false.
class LayoutKeys {
 public:
  virtual ~LayoutKeys() = default;
  virtual bool Read(const char* key, std::string& value) const = 0;
  virtual bool Write(const char* key, const std::string& value) = 0;
};

enum class LayoutLoad {
  Done,
  CountOutOfRange,  // a record count above its bound (or negative) stopped the load there
};

// Reads the keys in file order into `layout`; a missing or short value keeps
// what `layout` held. Sizes are kept within [min size, kMaxWindowExtent].
LayoutLoad LoadWindowLayout(const LayoutKeys& keys, WindowLayout& layout);

// Writes every key. True when the thirteen writes up to "Min Height" all
// succeeded; "MiniBkColor" is written afterwards whatever happened.
bool SaveWindowLayout(LayoutKeys& keys, const WindowLayout& layout);
