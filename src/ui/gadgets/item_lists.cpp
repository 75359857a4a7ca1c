#include "ui/gadgets/item_lists.h"

#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"

namespace vantrel {

void append_item_text(HWND control, const ItemMessages& messages, int32_t index, int32_t p) {
  LRESULT length = SendMessageW(control, messages.get_text_length, WPARAM(index), 0);
  WideBuffer text(length);
  if (!text.get()) {
    buffer_terminate();
    return;
  }
  LRESULT actual = SendMessageW(control, messages.get_text, WPARAM(index), reinterpret_cast<LPARAM>(text.get()));
  append_wide(text.get(), actual >= 0 && actual <= length ? actual : 0, p);
}

int32_t replace_item_text(HWND control, const ItemMessages& messages, int32_t index, const char* text) {
  LRESULT data = SendMessageW(control, messages.get_data, WPARAM(index), 0);
  if (SendMessageW(control, messages.remove, WPARAM(index), 0) < 0) return -1;
  SendMessageW(control, messages.insert, WPARAM(index), reinterpret_cast<LPARAM>(WideText(text).get()));
  return int32_t(SendMessageW(control, messages.set_data, WPARAM(index), data));
}

void fill_items(HWND control, WNDPROC procedure, const ItemMessages& messages, const char* const* texts,
                int32_t count, int32_t total_bytes) {
  if (count <= 0) return;
  SendMessageW(control, messages.init_storage, WPARAM(count), LPARAM(total_bytes));
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  for (int32_t i = 0; i < count; ++i) {
    WideText wide(texts[i]);
    LPARAM text = reinterpret_cast<LPARAM>(wide.get());
    if (procedure) CallWindowProcW(procedure, control, messages.insert, WPARAM(-1), text);
    else SendMessageW(control, messages.insert, WPARAM(-1), text);
  }
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
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
