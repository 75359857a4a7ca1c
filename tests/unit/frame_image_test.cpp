#include <vector>

#include "runtime_fixture.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

using namespace vantrel;

namespace {

constexpr int32_t PICTURE = 8;

class FramesAndImages : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 300, 200, "pictures", WINDOW_CENTRE_SCREEN));
    ASSERT_NE(begin_gadget_list(window), nullptr);
  }
  void TearDown() override {
    for (HICON icon : icons) DestroyIcon(icon);
    if (bitmap) DeleteObject(bitmap);
    RuntimeTest::TearDown();
  }
  HICON icon(int size) {
    std::vector<BYTE> and_mask(size_t(size * size / 8), 0), xor_mask(size_t(size * size * 4), 0x80);
    icons.push_back(CreateIcon(nullptr, size, size, 1, 32, and_mask.data(), xor_mask.data()));
    return icons.back();
  }
  SIZE size_of(int32_t number) const {
    RECT r;
    GetWindowRect(gadget_handle(number), &r);
    return {r.right - r.left, r.bottom - r.top};
  }
  // The gadget events of the picture that the messages so far have posted.
  static std::vector<int32_t> picture_events() {
    std::vector<int32_t> types;
    while (wait_event(10) != EVENT_NONE)
      if (event_gadget() == PICTURE) types.push_back(event_type());
    return types;
  }
  static void send(UINT message, int x = 5, int y = 5) {
    SendMessageA(gadget_handle(PICTURE), message, 0, MAKELPARAM(x, y));
  }
  HWND window = nullptr;
  std::vector<HICON> icons;
  HBITMAP bitmap = nullptr;
};

}  // namespace

TEST_F(FramesAndImages, FrameKindsAndTheirStyles) {
  struct Case {
    int32_t type;
    const char* class_name;
    DWORD style, ex_style;
  };
  const Case cases[] = {
      {FRAME_GROUP_BOX, "Button", 0x50020007, 0},
      {FRAME_SUNKEN, "Static", 0x54020001, WS_EX_CLIENTEDGE},
      {FRAME_THIN, "Static", 0x54020001, WS_EX_STATICEDGE},
      {FRAME_FLAT, "Static", 0x54020001 | WS_BORDER, 0},
  };
  for (const Case& c : cases) {
    HWND frame = reinterpret_cast<HWND>(create_frame_gadget(10, 10, 10, 100, 80, "Caption", c.type));
    ASSERT_NE(frame, nullptr) << c.type;
    char class_name[16] = {}, text[16] = {};
    GetClassNameA(frame, class_name, sizeof class_name);
    GetWindowTextA(frame, text, sizeof text);
    EXPECT_STREQ(class_name, c.class_name) << c.type;
    EXPECT_EQ(DWORD(GetWindowLongA(frame, GWL_STYLE)) & ~WS_TABSTOP, c.style) << c.type;
    EXPECT_EQ(DWORD(GetWindowLongA(frame, GWL_EXSTYLE)) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), c.ex_style) << c.type;
    EXPECT_STREQ(text, c.type == FRAME_GROUP_BOX ? "Caption" : "") << "the edged frames take no text";
  }
  // An edged frame's paint draws nothing and leaves nothing to paint.
  HWND frame = gadget_handle(10);
  InvalidateRect(frame, nullptr, FALSE);
  RECT left;
  SendMessageA(frame, WM_PAINT, 0, 0);
  EXPECT_FALSE(GetUpdateRect(frame, &left, FALSE));
  resize_gadget(10, 20, 20, 50, 50);
  EXPECT_EQ(size_of(10).cx, 50);
}

TEST_F(FramesAndImages, APictureTakesItsImagesSize) {
  ASSERT_NE(create_image_gadget(PICTURE, 4, 4, 32, 32, icon(48)), 0);
  EXPECT_EQ(size_of(PICTURE).cx, 48);
  EXPECT_EQ(size_of(PICTURE).cy, 48);
  EXPECT_EQ(get_gadget_state(PICTURE), int32_t(reinterpret_cast<intptr_t>(icons[0])));

  create_image_gadget(PICTURE, 4, 4, 32, 32, icon(48), WS_EX_CLIENTEDGE);
  EXPECT_EQ(size_of(PICTURE).cx, 52) << "a client edge adds 4";

  bitmap = CreateBitmap(20, 10, 1, 32, nullptr);
  set_gadget_state(PICTURE, int32_t(reinterpret_cast<intptr_t>(bitmap)));
  EXPECT_EQ(size_of(PICTURE).cx, 24);
  EXPECT_EQ(size_of(PICTURE).cy, 14);

  // No image: the picture goes and the size stays.
  set_gadget_state(PICTURE, 0);
  EXPECT_EQ(get_gadget_state(PICTURE), 0);
  EXPECT_EQ(size_of(PICTURE).cx, 24);
  // A handle that is neither keeps the size and draws nothing.
  set_gadget_state(PICTURE, 0x1234);
  EXPECT_EQ(size_of(PICTURE).cx, 24);
  UpdateWindow(window);
}

TEST_F(FramesAndImages, ClicksDoubleClicksAndDragStarts) {
  ASSERT_NE(create_image_gadget(PICTURE, 4, 4, 32, 32, icon(32)), 0);
  picture_events();
  send(WM_RBUTTONDOWN);
  send(WM_RBUTTONUP);
  EXPECT_EQ(picture_events(), std::vector<int32_t>{1});
  send(WM_RBUTTONDBLCLK);
  send(WM_RBUTTONUP);
  EXPECT_EQ(picture_events(), std::vector<int32_t>{3}) << "the release after a double click counts as a click";
  send(WM_RBUTTONUP);
  EXPECT_EQ(picture_events(), std::vector<int32_t>{1});
  send(WM_LBUTTONDBLCLK);
  EXPECT_EQ(picture_events(), std::vector<int32_t>{2});

  int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
  send(WM_LBUTTONDOWN, 10, 10);
  send(WM_MOUSEMOVE, 10 + dx, 10 - dy);
  EXPECT_EQ(picture_events(), std::vector<int32_t>{}) << "within the thresholds";
  send(WM_MOUSEMOVE, 10 - dx - 1, 10);
  send(WM_MOUSEMOVE, 10 - dx - 5, 10);
  EXPECT_EQ(picture_events(), std::vector<int32_t>{14002}) << "one drag start";
  EXPECT_NE(GetCapture(), gadget_handle(PICTURE));
  send(WM_LBUTTONUP, 10, 10);
  send(WM_LBUTTONDOWN, 10, 10);
  send(WM_MOUSEMOVE, 10, 10 + dy + 1);
  EXPECT_EQ(picture_events(), std::vector<int32_t>{14002});
  send(WM_LBUTTONUP, 10, 10);
}
