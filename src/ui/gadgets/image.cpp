// Pictures: a bitmap or icon handle shown at its own size, with clicks,
// double clicks, right clicks and drag starts reported as gadget events.
#include "runtime/platform_calls.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"

namespace vantrel {
namespace {

constexpr DWORD IMAGE_STYLE = 0x50000100;  // child, visible, notify

enum ImageEvent : int32_t {
  IMAGE_RIGHT_CLICK = 1,
  IMAGE_DOUBLE_CLICK = 2,
  IMAGE_RIGHT_DOUBLE_CLICK = 3,
  IMAGE_DRAG_START = 14002,
};

// Shared by every image gadget, read on the first creation.
struct ImageKindState {
  int drag_x, drag_y;  // how far the mouse may move with the button down before a drag starts
  // A right double click is followed by a right button release that must
  // not count as a click of its own.
  bool right_double_click_seen;
};
ImageKindState kind_state = {};

ImageWords& words_of(GadgetRecord* gadget) { return gadget->words.image; }

GadgetRecord* image_gadget_of(HWND control) {
  GadgetRecord* gadget = find_gadget(GetDlgCtrlID(control));
  return gadget && gadget->handle == control && gadget->operations->kind == KIND_IMAGE ? gadget : nullptr;
}

bool is_bitmap(HANDLE image) { return image && GetObjectType(image) == OBJ_BITMAP; }

// A bitmap's size, or an icon's from its colour bitmap (its mask, which
// holds both halves, for a monochrome one). False for anything else.
bool image_size(HANDLE image, SIZE* size) {
  BITMAP info = {};
  if (is_bitmap(image)) {
    if (!GetObjectA(image, sizeof info, &info)) return false;
    *size = {info.bmWidth, info.bmHeight};
    return true;
  }
  ICONINFO icon = {};
  if (!GetIconInfo(static_cast<HICON>(image), &icon)) return false;
  bool read = false;
  if (icon.hbmColor && GetObjectA(icon.hbmColor, sizeof info, &info)) {
    *size = {info.bmWidth, info.bmHeight};
    read = true;
  } else if (icon.hbmMask && GetObjectA(icon.hbmMask, sizeof info, &info)) {
    *size = {info.bmWidth, info.bmHeight / 2};
    read = true;
  }
  // The information holds copies of the icon's bitmaps, ours to delete.
  if (icon.hbmColor) DeleteObject(icon.hbmColor);
  if (icon.hbmMask) DeleteObject(icon.hbmMask);
  return read;
}

void draw_image(GadgetRecord* gadget, HDC dc) {
  HANDLE image = words_of(gadget).shown_image;
  if (!image) return;
  UINT type = is_bitmap(image) ? DST_BITMAP : DST_ICON;
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image), 0, 0, 0, 0, 0, type);
}

// A new image: what lay under a transparent or removed one is repainted,
// and the control takes the image's size (4 more with a client edge).
void place_image(GadgetRecord* gadget, HANDLE image) {
  HWND control = gadget->handle;
  if (!is_bitmap(image)) {
    HWND window = find_toolkit_window(control);
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(window, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  SIZE size;
  if (!image || !image_size(image, &size)) return;
  if (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
    size.cx += 4;
    size.cy += 4;
  }
  SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
  InvalidateRect(control, nullptr, FALSE);
  UpdateWindow(control);
}

void test_drag(GadgetRecord* gadget, HWND control, LPARAM point) {
  ImageWords& words = words_of(gadget);
  int dx = short(LOWORD(point)) - short(LOWORD(words.down_point));
  int dy = short(HIWORD(point)) - short(HIWORD(words.down_point));
  if (dx > kind_state.drag_x || dx < -kind_state.drag_x || dy > kind_state.drag_y || dy < -kind_state.drag_y) {
    words.button_down = 0;
    ReleaseCapture();
    post_gadget_event(control, IMAGE_DRAG_START);
  }
}

LRESULT CALLBACK image_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  GadgetRecord* gadget = image_gadget_of(control);
  if (!gadget) return call_static_procedure(control, message, wparam, lparam);
  ImageWords& words = words_of(gadget);
  switch (message) {
    case STM_SETIMAGE:
    case STM_SETICON:
      words.shown_image = reinterpret_cast<HANDLE>(lparam);
      place_image(gadget, words.shown_image);
      return lparam;
    case STM_GETIMAGE:
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(words.shown_image);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(control, &paint);
      draw_image(gadget, dc);
      EndPaint(control, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      draw_image(gadget, reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ENABLE:  // a disabled picture looks the same, and tells its parent nothing
      RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return 0;
    case WM_LBUTTONDOWN:
      words.button_down = 1;
      words.down_point = int32_t(lparam);
      SetCapture(control);
      break;
    case WM_MOUSEMOVE:
      if (words.button_down) test_drag(gadget, control, lparam);
      break;
    case WM_LBUTTONUP:
      if (words.button_down) {
        words.button_down = 0;
        ReleaseCapture();
      }
      break;
    case WM_LBUTTONDBLCLK:
      post_gadget_event(control, IMAGE_DOUBLE_CLICK);
      return 0;
    case WM_RBUTTONUP:
      if (!kind_state.right_double_click_seen) post_gadget_event(control, IMAGE_RIGHT_CLICK);
      else kind_state.right_double_click_seen = false;
      return 0;
    case WM_RBUTTONDBLCLK:
      post_gadget_event(control, IMAGE_RIGHT_DOUBLE_CLICK);
      kind_state.right_double_click_seen = true;
      return 0;
    default:
      break;
  }
  return call_static_procedure(control, message, wparam, lparam);
}

int32_t get_image_state(GadgetRecord* gadget) {
  return int32_t(reinterpret_cast<intptr_t>(reinterpret_cast<HANDLE>(SendMessageA(gadget->handle, STM_GETIMAGE, 0, 0))));
}

// Image handles are 32-bit values on every platform, so a state holds one whole.
void set_image_state(GadgetRecord* gadget, int32_t state) {
  SendMessageA(gadget->handle, STM_SETIMAGE, 0, LPARAM(intptr_t(state)));
}

constexpr GadgetOperations image_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_IMAGE;
  ops.get_state = get_image_state;
  ops.set_state = set_image_state;
  return ops;
}();

}  // namespace

intptr_t create_image_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, HANDLE image,
                             DWORD ex_style) {
  HWND control = create_static_control(ex_style, nullptr, IMAGE_STYLE, x, y, width, height);
  if (!control) return 0;
  replace_window_procedure(control, image_procedure);
  if (!kind_state.drag_x) {
    kind_state.drag_x = GetSystemMetrics(SM_CXDRAG);
    kind_state.drag_y = GetSystemMetrics(SM_CYDRAG);
  }
  intptr_t result = adopt_gadget_control(number, control, &image_operations);
  if (result) SendMessageA(control, STM_SETIMAGE, 0, reinterpret_cast<LPARAM>(image));
  return result;
}

}  // namespace vantrel
