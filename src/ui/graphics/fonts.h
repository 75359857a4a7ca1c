#pragma once
// Numbered fonts made from a face name, a size in points and style flags.
#include <windows.h>

#include <cstdint>

namespace vantrel {

enum FontStyle : uint32_t {
  FONT_UNDERLINE = 0x004,
  FONT_STRIKEOUT = 0x008,
  FONT_HIGH_QUALITY = 0x010,
  FONT_BOLD = 0x100,
  FONT_ITALIC = 0x200,
};

bool start_fonts();
void stop_fonts();
// For a named number the font handle, for OBJECT_ANY the new number; 0 on failure.
intptr_t load_font(int32_t number, const char* face, int32_t points, uint32_t style = 0);
HFONT font_handle(int32_t number);
void free_font(int32_t number);

}  // namespace vantrel
