#include "dialogs/LyricDialogsFactory_win.h"

Result UploadWithEngine(ZLyric& engine, const LrcItem& item) { return engine.UploadLrc(item); }
