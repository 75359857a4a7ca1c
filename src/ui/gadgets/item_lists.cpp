#include "ui/gadgets/item_lists.h"

#include "runtime/strings.h"
#include "ui/gadgets/gadgets.h"

namespace vantrel {

void append_item_text(HWND control, const ItemMessages& messages, int32_t index, int32_t p) {
  LRESULT length = SendMessageA(control, messages.get_text_length, WPARAM(index), 0);
  if (length < 0) {
    buffer_terminate();
    return;
  }
  char* at = buffer_reserve(int32_t(length), p);
  if (!at) {
    buffer_terminate();
    return;
  }
  at[0] = 0;
  LRESULT actual = SendMessageA(control, messages.get_text, WPARAM(index), reinterpret_cast<LPARAM>(at));
  if (actual < 0 || actual > length) actual = 0;
  at[actual] = 0;
  buffer_give_back(int32_t(length - actual));
}

int32_t replace_item_text(HWND control, const ItemMessages& messages, int32_t index, const char* text) {
  LRESULT data = SendMessageA(control, messages.get_data, WPARAM(index), 0);
  if (SendMessageA(control, messages.remove, WPARAM(index), 0) < 0) return -1;
  SendMessageA(control, messages.insert, WPARAM(index), reinterpret_cast<LPARAM>(text_or_empty(text)));
  return int32_t(SendMessageA(control, messages.set_data, WPARAM(index), data));
}

void fill_items(HWND control, WNDPROC procedure, const ItemMessages& messages, const char* const* texts,
                int32_t count, int32_t total_bytes) {
  if (count <= 0) return;
  SendMessageA(control, messages.init_storage, WPARAM(count), LPARAM(total_bytes));
  SendMessageA(control, WM_SETREDRAW, FALSE, 0);
  for (int32_t i = 0; i < count; ++i) {
    LPARAM text = reinterpret_cast<LPARAM>(texts[i]);
    if (procedure) CallWindowProcA(procedure, control, messages.insert, WPARAM(-1), text);
    else SendMessageA(control, messages.insert, WPARAM(-1), text);
  }
  SendMessageA(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
}

bool fill_gadget_items(int32_t number, const char* const* texts, int32_t count, int32_t total_bytes) {
  GadgetRecord* gadget = find_gadget(number);
  if (!gadget) return false;
  int32_t kind = gadget->operations->kind;
  if (kind != KIND_LIST_VIEW && kind != KIND_COMBO_BOX) return false;
  fill_items(gadget->handle, gadget->previous_procedure, kind == KIND_LIST_VIEW ? list_box_messages : combo_box_messages,
             texts, count, total_bytes);
  return true;
}

}  // namespace vantrel
