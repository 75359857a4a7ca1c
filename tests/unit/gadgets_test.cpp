#include "ui/gadgets/gadgets.h"
#include <richedit.h>

#include "runtime/object_table.h"
#include "runtime_fixture.h"
#include "ui/gadgets/kinds.h"
#include "ui/graphics/fonts.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

using namespace vantrel;

class Gadgets : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 300, 200, "gadgets", WINDOW_CENTRE_SCREEN));
    ASSERT_NE(begin_gadget_list(window), nullptr);
  }
  static std::string text_of(int32_t number) {
    int32_t p = buffer_position();
    get_gadget_text(number, p);
    return take(p);
  }
  static std::string line_of(int32_t number, int32_t line) {
    int32_t p = buffer_position();
    get_gadget_item_text(number, line, 0, p);
    return take(p);
  }
  static HFONT font_of(int32_t number) {
    return reinterpret_cast<HFONT>(SendMessageA(gadget_handle(number), WM_GETFONT, 0, 0));
  }
  HWND window = nullptr;
};

TEST_F(Gadgets, RegistrationGivesTheNumberAndTheCurrentFont) {
  HWND button = reinterpret_cast<HWND>(create_button_gadget(4, 10, 10, 80, 23, "Caption"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(GetDlgCtrlID(button), 4);
  EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropA(button, "VX_ID")), 4);
  EXPECT_EQ(GetParent(button), window);
  EXPECT_EQ(font_of(4), static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  EXPECT_EQ(text_of(4), "Caption");

  load_font(0, "Arial", 9);
  set_gadget_font(-1, reinterpret_cast<intptr_t>(font_handle(0)));
  create_text_gadget(5, 10, 40, 80, 20, nullptr);
  EXPECT_EQ(font_of(5), font_handle(0));
  EXPECT_EQ(font_of(4), static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));  // earlier gadgets keep theirs
  set_gadget_font(-1, DEFAULT_FONT);
  create_text_gadget(6, 10, 70, 80, 20, "");
  EXPECT_EQ(font_of(6), static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  set_gadget_font(4, reinterpret_cast<intptr_t>(font_handle(0)));
  EXPECT_EQ(font_of(4), font_handle(0));
}

TEST_F(Gadgets, ANumberReusedDestroysTheFirstControl) {
  HWND first = reinterpret_cast<HWND>(create_button_gadget(3, 0, 0, 50, 20, "first"));
  HWND second = reinterpret_cast<HWND>(create_button_gadget(3, 0, 30, 50, 20, "second"));
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(gadget_handle(3), second);
  EXPECT_EQ(text_of(3), "second");
  intptr_t chosen = create_button_gadget(OBJECT_ANY, 0, 60, 50, 20, "any");
  ASSERT_NE(chosen, 0);
  EXPECT_TRUE(is_gadget(int32_t(chosen)));
  EXPECT_EQ(GetDlgCtrlID(gadget_handle(int32_t(chosen))), int(chosen));
  // Closing the window takes its gadgets and their numbers with it.
  close_window(0);
  EXPECT_FALSE(is_gadget(3));
  EXPECT_FALSE(is_gadget(int32_t(chosen)));
  EXPECT_EQ(create_button_gadget(8, 0, 0, 10, 10, "no parent"), 0);
}

TEST_F(Gadgets, GenericOperationsAndTheirFallbacks) {
  create_button_gadget(1, 10, 20, 60, 25, "b");
  EXPECT_EQ(text_of(99), "");  // a free number
  EXPECT_EQ(line_of(1, 0), "");
  EXPECT_EQ(count_gadget_items(1), 0);
  set_gadget_text(1, nullptr);
  EXPECT_EQ(text_of(1), "");
  create_button_gadget(2, 10, 60, 60, 25, "three states", BS_AUTO3STATE);
  set_gadget_state(2, 7);
  EXPECT_EQ(get_gadget_state(2), 1);
  SendMessageA(gadget_handle(2), BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(get_gadget_state(2), 0);

  resize_gadget(1, KEEP_VALUE, KEEP_VALUE, 200, KEEP_VALUE);
  RECT r;
  GetWindowRect(gadget_handle(1), &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 25);
  EXPECT_EQ(gadget_width(1), 200);

  hide_gadget(1, 1);
  EXPECT_FALSE(IsWindowVisible(gadget_handle(1)));
  hide_gadget(1, 0);
  EXPECT_TRUE(IsWindowVisible(gadget_handle(1)));
}

TEST_F(Gadgets, TextColoursShareBrushesFromTheCache) {
  create_text_gadget(1, 0, 0, 50, 20, "a");
  create_text_gadget(2, 0, 30, 50, 20, "b");
  GadgetRecord* a = find_gadget(1);
  GadgetRecord* b = find_gadget(2);
  EXPECT_EQ(a->operations->get_colour(a, COLOUR_BACK), -1);
  a->operations->set_colour(a, COLOUR_BACK, 0x00FF00);
  b->operations->set_colour(b, COLOUR_BACK, 0x00FF00);
  EXPECT_EQ(a->words.colours.back_brush, b->words.colours.back_brush);
  HBRUSH shared = a->words.colours.back_brush;
  DestroyWindow(gadget_handle(1));
  EXPECT_NE(GetObjectType(shared), 0u);  // still used by the second
  DestroyWindow(gadget_handle(2));
  EXPECT_EQ(GetObjectType(shared), 0u);

  create_text_gadget(3, 0, 60, 50, 20, "c");
  GadgetRecord* c = find_gadget(3);
  HDC dc = GetDC(gadget_handle(3));
  EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(gadget_handle(3))),
            DefWindowProcA(window, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(gadget_handle(3))));
  c->operations->set_colour(c, COLOUR_FRONT, 0x0000FF);
  EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(gadget_handle(3))),
            reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));
  EXPECT_EQ(GetTextColor(dc), COLORREF(0x0000FF));
  c->operations->set_colour(c, COLOUR_BACK, 0x123456);
  EXPECT_EQ(SendMessageA(window, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(gadget_handle(3))),
            reinterpret_cast<LRESULT>(c->words.colours.back_brush));
  EXPECT_EQ(GetBkColor(dc), COLORREF(0x123456));
  ReleaseDC(gadget_handle(3), dc);
}

TEST_F(Gadgets, EditorLines) {
  ASSERT_NE(create_editor_gadget(0, 0, 0, 300, 150), 0);
  EXPECT_EQ(count_gadget_items(0), 0);
  add_gadget_item(0, -1, "");
  EXPECT_EQ(text_of(0), "");
  EXPECT_EQ(count_gadget_items(0), 1);
  add_gadget_item(0, -1, "second");
  EXPECT_EQ(count_gadget_items(0), 2);
  EXPECT_EQ(line_of(0, 0), "");
  EXPECT_EQ(line_of(0, 1), "second");
  add_gadget_item(0, -1, "third");
  add_gadget_item(0, 1, "inserted");
  EXPECT_EQ(count_gadget_items(0), 4);
  EXPECT_EQ(line_of(0, 1), "inserted");
  EXPECT_EQ(line_of(0, 2), "second");
  EXPECT_EQ(line_of(0, 3), "third");
  EXPECT_EQ(line_of(0, 9), "");

  GadgetRecord* editor = find_gadget(0);
  editor->operations->set_item_text(editor, 2, "changed", 0);
  EXPECT_EQ(line_of(0, 2), "changed");
  editor->operations->remove_item(editor, 1);
  EXPECT_EQ(line_of(0, 1), "changed");
  EXPECT_EQ(count_gadget_items(0), 3);

  set_gadget_text(0, "");
  EXPECT_EQ(count_gadget_items(0), 0);
  set_gadget_text(0, "one\r\ntwo");
  EXPECT_EQ(line_of(0, 0), "one");  // no carriage return
  EXPECT_EQ(count_gadget_items(0), 2);
}

TEST_F(Gadgets, EditorAttributesAndColours) {
  create_editor_gadget(0, 0, 0, 300, 150);
  GadgetRecord* editor = find_gadget(0);
  const GadgetOperations* ops = editor->operations;
  EXPECT_EQ(ops->get_attribute(editor, ATTRIBUTE_READ_ONLY), 0);
  ops->set_attribute(editor, ATTRIBUTE_READ_ONLY, 5);
  EXPECT_EQ(ops->get_attribute(editor, ATTRIBUTE_READ_ONLY), 1);
  EXPECT_TRUE(SendMessageA(gadget_handle(0), EM_GETOPTIONS, 0, 0) & ECO_READONLY);
  ops->set_attribute(editor, ATTRIBUTE_READ_ONLY, 0);
  EXPECT_EQ(ops->get_attribute(editor, ATTRIBUTE_READ_ONLY), 0);
  EXPECT_EQ(ops->get_attribute(editor, 7), 0);

  EXPECT_EQ(ops->get_colour(editor, COLOUR_FRONT), -1);
  ops->set_colour(editor, COLOUR_FRONT, 0x0000C0);
  set_gadget_text(0, "red");
  load_font(0, "Arial", 14);
  set_gadget_font(0, reinterpret_cast<intptr_t>(font_handle(0)));
  CHARFORMATA format = {sizeof format};
  SendMessageA(gadget_handle(0), EM_SETSEL, 0, -1);
  SendMessageA(gadget_handle(0), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.crTextColor, COLORREF(0x0000C0));  // a new font keeps the colour
  EXPECT_FALSE(format.dwEffects & CFE_AUTOCOLOR);
  ops->set_colour(editor, COLOUR_BACK, 0x00FFFF);
  EXPECT_EQ(ops->get_colour(editor, COLOUR_BACK), 0x00FFFF);
  EXPECT_EQ(ops->get_colour(editor, 3), -1);
}
