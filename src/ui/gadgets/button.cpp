// Push buttons: their clicks reach the dialog as gadget events of type 0.
#include "runtime/object_table.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {
namespace {

int32_t get_button_state(GadgetRecord* gadget) {
  return int32_t(SendMessageW(gadget->handle, BM_GETCHECK, 0, 0) & 1);
}

void set_button_state(GadgetRecord* gadget, int32_t state) {
  SendMessageW(gadget->handle, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
}

constexpr GadgetOperations button_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_BUTTON;
  ops.get_state = get_button_state;
  ops.set_state = set_button_state;
  return ops;
}();

}  // namespace

intptr_t create_button_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                              uint32_t flags) {
  HWND control = create_gadget_control(0, L"Button", text, flags | WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, x, y,
                                       width, height);
  return adopt_gadget_control(number, control, &button_operations);
}

}  // namespace vantrel
