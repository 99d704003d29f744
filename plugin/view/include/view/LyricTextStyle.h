#pragma once
// The font and colours the lyric lines are drawn with in one repaint cycle,
// and the fixed metrics the layout works with. Widths are never measured for
// scrolling: a text is its byte length times the char width.
#include <cstddef>

#include "view/LyricDrawConfig.h"
#include "view/ViewGeometry.h"

struct LyricTextStyle {
  int fontHeight;  // positive cell height handed to the font
  int lineHeight;
  int charWidth;
  int weight;
  bool italic;
  bool underline;
  char face[256];
  ViewColor normal;
  ViewColor highlight;
};

// The mini window has a fixed look of its own; the main window follows the settings.
LyricTextStyle LyricTextStyleFor(const LyricDrawConfig& config, bool mini);

// Byte length of a NUL-terminated text of at most `limit` bytes.
size_t TextBytes(const char* text, size_t limit);

// Layout width of a text: byte length × char width.
int TextLayoutWidth(const char* text, size_t limit, int charWidth);

// Measures rendered text. The GDI side implements it with the font of the
// cycle; the layout uses it only where the drawing needs the real extent
// (message line hit area, karaoke split), never for scrolling.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual int TextWidth(const char* text, size_t bytes) const = 0;
};

// The layout's own width rule, for callers without a device to measure on.
class FixedWidthMeasurer : public TextMeasurer {
 public:
  explicit FixedWidthMeasurer(int charWidth) : m_charWidth(charWidth) {}
  int TextWidth(const char* text, size_t bytes) const override;

 private:
  int m_charWidth;
};
