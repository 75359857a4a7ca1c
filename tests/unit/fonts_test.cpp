#include "ui/graphics/fonts.h"

#include "runtime/object_table.h"
#include "runtime_fixture.h"

using namespace vantrel;

namespace {

LOGFONTA describe(HFONT font) {
  LOGFONTA logical = {};
  GetObjectA(font, sizeof logical, &logical);
  return logical;
}

int display_dpi() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi;
}

}  // namespace

using Fonts = RuntimeTest;

TEST_F(Fonts, HeightFollowsPointsAtTheDisplayResolution) {
  intptr_t handle = load_font(0, "Arial", 10, 0);
  ASSERT_NE(handle, 0);
  EXPECT_EQ(reinterpret_cast<HFONT>(handle), font_handle(0));
  LOGFONTA logical = describe(font_handle(0));
  EXPECT_EQ(logical.lfHeight, -MulDiv(10, display_dpi(), 72));
  if (display_dpi() == 96) {
    EXPECT_EQ(logical.lfHeight, -13);
  }
  EXPECT_STREQ(logical.lfFaceName, "Arial");
  EXPECT_EQ(logical.lfWeight, FW_NORMAL);
  EXPECT_EQ(logical.lfQuality, DEFAULT_QUALITY);
}

TEST_F(Fonts, StyleFlags) {
  load_font(1, "Arial", 9, FONT_BOLD | FONT_ITALIC);
  LOGFONTA bold_italic = describe(font_handle(1));
  EXPECT_EQ(bold_italic.lfWeight, FW_BOLD);
  EXPECT_TRUE(bold_italic.lfItalic);
  EXPECT_FALSE(bold_italic.lfUnderline);

  load_font(2, "Arial", 9, FONT_UNDERLINE | FONT_STRIKEOUT | FONT_HIGH_QUALITY);
  LOGFONTA marked = describe(font_handle(2));
  EXPECT_TRUE(marked.lfUnderline);
  EXPECT_TRUE(marked.lfStrikeOut);
  EXPECT_EQ(marked.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(marked.lfWeight, FW_NORMAL);

  load_font(3, "Arial", 9, 0x001);  // an unknown bit changes nothing
  LOGFONTA plain = describe(font_handle(3));
  EXPECT_EQ(plain.lfWeight, FW_NORMAL);
  EXPECT_FALSE(plain.lfItalic || plain.lfUnderline || plain.lfStrikeOut);
}

TEST_F(Fonts, ReplacingAFontDeletesTheOldHandle) {
  HFONT first = reinterpret_cast<HFONT>(load_font(0, "Arial", 9));
  ASSERT_NE(first, nullptr);
  HFONT second = reinterpret_cast<HFONT>(load_font(0, "Arial", 12));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(font_handle(0), second);
  EXPECT_EQ(GetObjectType(first), 0u);  // deleted
  EXPECT_EQ(GetObjectType(second), DWORD(OBJ_FONT));
}

TEST_F(Fonts, ChosenNumbersAndFreeNumbers) {
  EXPECT_EQ(font_handle(5), nullptr);
  EXPECT_EQ(font_handle(OBJECT_ANY), nullptr);
  intptr_t number = load_font(OBJECT_ANY, "Arial", 8);
  ASSERT_NE(number, 0);
  HFONT font = font_handle(int32_t(number));
  ASSERT_NE(font, nullptr);
  free_font(int32_t(number));
  EXPECT_EQ(font_handle(int32_t(number)), nullptr);
  EXPECT_EQ(GetObjectType(font), 0u);
  free_font(int32_t(number));  // twice: nothing
}

TEST_F(Fonts, StopDeletesEveryFont) {
  HFONT numbered = reinterpret_cast<HFONT>(load_font(4, "Arial", 9));
  HFONT chosen = font_handle(int32_t(load_font(OBJECT_ANY, "Arial", 9)));
  ASSERT_NE(chosen, nullptr);
  stop_fonts();
  EXPECT_EQ(GetObjectType(numbered), 0u);
  EXPECT_EQ(GetObjectType(chosen), 0u);
  ASSERT_TRUE(start_fonts());
}

TEST_F(Fonts, FailedLoadLeavesTheNumberFree) {
  fail_allocations_after(0);
  EXPECT_EQ(load_font(OBJECT_ANY, "Arial", 9), 0);
  fail_allocations_after(-1);
  EXPECT_NE(load_font(40, "Arial", 9), 0);
}
