// Frames: a group box with a caption, or an edged rectangle that draws
// nothing inside, so the window's background shows through it.
#include "runtime/platform_calls.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {
namespace {

constexpr DWORD GROUP_BOX_STYLE = 0x50020007;    // child, visible, group, group box
constexpr DWORD EDGED_FRAME_STYLE = 0x54020001;  // child, visible, clip siblings, group, centred

LRESULT CALLBACK frame_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    // Nothing is drawn, but the whole area counts as painted. An empty
    // BeginPaint does that everywhere; validating alone left the area to
    // paint on some platforms, and the paint messages would never stop.
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  return call_static_procedure(window, message, wparam, lparam);
}

// The frame paints nothing inside, so whatever lay under its old and new
// place is the parent's to paint again.
void resize_frame(GadgetRecord* gadget, int32_t x, int32_t y, int32_t width, int32_t height) {
  resize_gadget_control(gadget, x, y, width, height);
  HWND parent = GetParent(gadget->handle);
  RECT area;
  GetWindowRect(gadget->handle, &area);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  InvalidateRect(parent, &area, TRUE);
}

constexpr GadgetOperations frame_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_FRAME;
  ops.resize = resize_frame;
  return ops;
}();

}  // namespace

intptr_t create_frame_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                             int32_t type) {
  HWND control = nullptr;
  if (type == FRAME_GROUP_BOX) {
    control = create_gadget_control(0, L"Button", text, GROUP_BOX_STYLE, x, y, width, height);
  } else {
    DWORD style = EDGED_FRAME_STYLE, ex_style = 0;
    if (type == FRAME_SUNKEN) ex_style = WS_EX_CLIENTEDGE;
    else if (type == FRAME_THIN) ex_style = WS_EX_STATICEDGE;
    else style |= WS_BORDER;  // flat
    control = create_static_control(ex_style, nullptr, style, x, y, width, height);
    if (control) replace_window_procedure(control, frame_procedure);
  }
  return adopt_gadget_control(number, control, &frame_operations);
}

}  // namespace vantrel
