#include "ui/graphics/fonts.h"

#include "runtime/object_table.h"
#include "runtime/text_code_page.h"
#include "runtime/strings.h"
#include "ui/windows/density.h"

namespace vantrel {
namespace {

struct FontRecord {
  HFONT font;
};

ObjectTable* fonts = nullptr;

// The display's device context for the duration of one measurement.
class DisplayContext {
 public:
  DisplayContext() : dc_(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
  ~DisplayContext() {
    if (dc_) DeleteDC(dc_);
  }
  DisplayContext(const DisplayContext&) = delete;
  DisplayContext& operator=(const DisplayContext&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

HFONT create_font(HDC display, const char* face, int32_t points, uint32_t style) {
  int height = -MulDiv(points, font_density(display), 72);
  return CreateFontW(height, 0, 0, 0, (style & FONT_BOLD) ? FW_BOLD : FW_NORMAL,
                     (style & FONT_ITALIC) ? 1 : 0, (style & FONT_UNDERLINE) ? 1 : 0,
                     (style & FONT_STRIKEOUT) ? 1 : 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, (style & FONT_HIGH_QUALITY) ? PROOF_QUALITY : DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, WideText(face).get());
}

}  // namespace

bool start_fonts() {
  fonts = new_object_table(sizeof(FontRecord), 16, free_font);
  return fonts != nullptr;
}

void stop_fonts() {
  free_all_objects(fonts, free_font);
  fonts = nullptr;
}

intptr_t load_font(int32_t number, const char* face, int32_t points, uint32_t style) {
  int32_t chosen = 0;
  auto* record = static_cast<FontRecord*>(create_object(fonts, number, &chosen));
  if (!record) return 0;
  DisplayContext display;
  HFONT font = display.get() ? create_font(display.get(), face, points, style) : nullptr;
  if (!font) {
    free_object(fonts, chosen);
    return 0;
  }
  record->font = font;
  return number == OBJECT_ANY ? intptr_t(chosen) : reinterpret_cast<intptr_t>(font);
}

HFONT font_handle(int32_t number) {
  auto* record = find_record<FontRecord>(fonts, number);
  return record ? record->font : nullptr;
}

void free_font(int32_t number) {
  auto* record = find_record<FontRecord>(fonts, number);
  if (!record) return;
  DeleteObject(record->font);
  free_object(fonts, number);
}

}  // namespace vantrel
