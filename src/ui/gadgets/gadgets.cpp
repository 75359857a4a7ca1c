#include "ui/gadgets/gadgets.h"

#include <commctrl.h>
#include <ole2.h>
#include <shlwapi.h>

#include "runtime/heaps.h"
#include "runtime/module.h"
#include "runtime/object_table.h"
#include "runtime/platform_calls.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/report_lists.h"
#include "ui/windows/density.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

namespace vantrel {
namespace {

struct GadgetListState {
  HWND parent;
  HFONT font;
  uint32_t day_states[13];
  uint32_t* more_day_states;  // for a calendar that shows more than 13 months at once
  int32_t more_day_states_capacity;
};

ObjectTable* gadgets = nullptr;
GadgetListState* list_state = nullptr;
HFONT default_gadget_font = nullptr;

void destroy_gadget_control(int32_t number) {
  if (auto* record = find_record<GadgetRecord>(gadgets, number)) DestroyWindow(record->handle);
}

const GadgetOperations* operations_of(const GadgetRecord* record) { return record->operations; }

// The gadget whose control is `window`, or null once it is gone.
GadgetRecord* gadget_of_window(HWND window) {
  int32_t id = int32_t(GetWindowLongA(window, GWL_ID));
  if (id == -1) return nullptr;
  GadgetRecord* record = find_gadget(id);
  return record && record->handle == window ? record : nullptr;
}

void release_at_destruction(HWND window, GadgetRecord* record) {
  int32_t number = int32_t(GetWindowLongA(window, GWL_ID));
  if (record->operations && record->operations->release_gadget) record->operations->release_gadget(record);
  RemovePropA(window, GADGET_PROPERTY);
  if (RemovePropA(window, DROP_PROPERTY)) RevokeDragDrop(window);
  SetWindowLongA(window, GWL_ID, -1);
  free_object(gadgets, number);
}

LRESULT CALLBACK gadget_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  GadgetRecord* record = gadget_of_window(window);
  if (!record) return DefWindowProcW(window, message, wparam, lparam);
  WNDPROC previous = record->previous_procedure;
  LRESULT result = CallWindowProcW(previous, window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // The record may have moved while the control handled the message.
    if (GadgetRecord* still = gadget_of_window(window)) release_at_destruction(window, still);
    replace_window_procedure(window, previous);
  }
  return result;
}

// The gadget's record or null; `operation` picks its slot.
template <typename Slot>
GadgetRecord* gadget_with(int32_t number, Slot GadgetOperations::*slot, Slot* out) {
  GadgetRecord* record = find_gadget(number);
  *out = record && record->operations ? record->operations->*slot : nullptr;
  return record;
}

}  // namespace

void resize_gadget_control(GadgetRecord* record, int32_t x, int32_t y, int32_t width, int32_t height) {
  // What the caller gives is at 96 dpi; what is kept is read from the control.
  x = scale_to_layout(x);
  y = scale_to_layout(y);
  width = scale_to_layout(width);
  height = scale_to_layout(height);
  if (x == KEEP_VALUE || y == KEEP_VALUE || width == KEEP_VALUE || height == KEEP_VALUE) {
    RECT r;
    GetWindowRect(record->handle, &r);
    MapWindowPoints(nullptr, GetParent(record->handle), reinterpret_cast<POINT*>(&r), 2);
    const GadgetOperations* ops = operations_of(record);
    if (x == KEEP_VALUE) x = ops->get_x ? ops->get_x(record) : r.left;
    if (y == KEEP_VALUE) y = ops->get_y ? ops->get_y(record) : r.top;
    if (width == KEEP_VALUE) width = ops->get_width ? ops->get_width(record) : r.right - r.left;
    if (height == KEEP_VALUE) height = ops->get_height ? ops->get_height(record) : r.bottom - r.top;
  }
  MoveWindow(record->handle, x, y, width, height, TRUE);
  if (operations_of(record)->kind == KIND_BUTTON) redraw(record->handle);
}

bool start_gadgets() {
  start_brushes();
  default_gadget_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  gadgets = new_object_table(sizeof(GadgetRecord), 50, destroy_gadget_control);
  list_state = static_cast<GadgetListState*>(new_module_state(
      sizeof(GadgetListState), [](void* block) { static_cast<GadgetListState*>(block)->font = default_gadget_font; },
      nullptr));
  INITCOMMONCONTROLSEX controls = {sizeof controls, 0xB08};
  InitCommonControlsEx(&controls);
  return gadgets && list_state;
}

void stop_gadgets() {
  stop_brushes();
  stop_image_lists();
  gadgets = nullptr;
  list_state = nullptr;
}

HWND begin_gadget_list(HWND window) {
  if (!window || !list_state) return nullptr;
  list_state->parent = window;
  return window;
}

HFONT gadget_list_font() { return list_state ? list_state->font : default_gadget_font; }

void set_gadget_font(int32_t number, intptr_t font) {
  HFONT handle = font == DEFAULT_FONT ? default_gadget_font : reinterpret_cast<HFONT>(font);
  if (number == -1) {
    list_state->font = handle;
  } else if (GadgetRecord* record = find_gadget(number)) {
    SendMessageA(record->handle, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
  }
}

HWND create_gadget_control(DWORD ex_style, const wchar_t* class_name, const char* text, DWORD style, int32_t x,
                           int32_t y, int32_t width, int32_t height, intptr_t control_id) {
  if (!list_state || !list_state->parent) return nullptr;
  WideText wide(text);
  return CreateWindowExW(ex_style, class_name, creation_text(wide), style, scale_to_layout(x), scale_to_layout(y),
                         scale_to_layout(width), scale_to_layout(height), list_state->parent,
                         reinterpret_cast<HMENU>(control_id), module_instance(), nullptr);
}

namespace {

intptr_t register_gadget(int32_t number, int32_t chosen, GadgetRecord* record, HWND control,
                         const GadgetOperations* operations) {
  record->handle = control;
  record->operations = operations;
  record->previous_procedure = replace_window_procedure(control, gadget_procedure);
  SetWindowLongA(control, GWL_ID, chosen);
  SetPropA(control, GADGET_PROPERTY, reinterpret_cast<HANDLE>(intptr_t(chosen)));
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(list_state->font), TRUE);
  return number == -1 ? intptr_t(chosen) : reinterpret_cast<intptr_t>(control);
}

}  // namespace

intptr_t adopt_gadget_control(int32_t number, HWND control, const GadgetOperations* operations,
                              void (*prepare)(GadgetRecord*)) {
  // A host message handled while the control was made (the editor flushes
  // messages) can have closed its window; adopting the dead control would
  // take the number from a gadget of the dialog that replaced it.
  if (!control || !IsWindow(control)) return 0;
  int32_t chosen = 0;
  auto* record = static_cast<GadgetRecord*>(create_object(gadgets, number, &chosen));
  if (!record) {
    DestroyWindow(control);
    return 0;
  }
  if (prepare) prepare(record);
  return register_gadget(number, chosen, record, control, operations);
}

GadgetRecord* find_gadget(int32_t number) { return find_record<GadgetRecord>(gadgets, number); }

void hand_back_gadgets(HWND window) {
  if (!gadgets) return;
  begin_enumeration(gadgets);
  int32_t number;
  while (auto* record = static_cast<GadgetRecord*>(next_object(gadgets, &number))) {
    HWND control = record->handle;
    if (!control || !IsChild(window, control)) continue;
    // The class's own procedure, not the one the gadget replaced: kinds that
    // subclass their control themselves sit in between.
    replace_window_procedure(control, class_procedure(control));
    release_at_destruction(control, record);
  }
}

LRESULT route_to_gadget(HWND control, HWND parent, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!control) return NOT_HANDLED;
  // The record holding this very control under its identifier proves it a
  // gadget without asking for its "VX_ID" property, which costs a round
  // trip to the window server on some platforms for every notification.
  GadgetRecord* record = find_gadget(int32_t(GetWindowLongA(control, GWL_ID)));
  if (!record || record->handle != control || !record->operations->handle_message) return NOT_HANDLED;
  return record->operations->handle_message(record, parent, message, wparam, lparam);
}

HWND gadget_handle(int32_t number) {
  GadgetRecord* record = find_gadget(number);
  return record ? record->handle : nullptr;
}

bool is_gadget(int32_t number) { return is_object(gadgets, number); }

int32_t get_gadget_state(int32_t number) {
  decltype(GadgetOperations::get_state) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::get_state, &slot);
  return slot ? slot(record) : 0;
}

void set_gadget_state(int32_t number, int32_t state) {
  decltype(GadgetOperations::set_state) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::set_state, &slot);
  if (slot) slot(record, state);
}

void append_window_text(HWND control, int32_t p) {
  int32_t length = GetWindowTextLengthW(control);
  WideBuffer text(length);
  int32_t actual = text.get() ? GetWindowTextW(control, text.get(), length + 1) : 0;
  append_wide(text.get(), actual >= 0 && actual <= length ? actual : 0, p);
}

void set_window_text(HWND window, const char* text) { SetWindowTextW(window, WideText(text).get()); }

const char* get_gadget_text(int32_t number, int32_t p) {
  decltype(GadgetOperations::get_text) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::get_text, &slot);
  if (slot) slot(record, p);
  else if (record) append_window_text(record->handle, p);
  else buffer_terminate();
  return buffer_address_at(p);
}

int32_t set_gadget_text(int32_t number, const char* text) {
  decltype(GadgetOperations::set_text) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::set_text, &slot);
  if (slot) return slot(record, text_or_empty(text));
  if (record) set_window_text(record->handle, text);
  return 0;
}

void add_gadget_item(int32_t number, int32_t position, const char* text) {
  GadgetRecord* record = find_gadget(number);
  if (!record) return;
  const GadgetOperations* ops = operations_of(record);
  if (ops->add_item_ex) ops->add_item_ex(record, position, text_or_empty(text), nullptr, 0);
  else if (ops->add_item) ops->add_item(record, position, text_or_empty(text), nullptr);
}

int32_t count_gadget_items(int32_t number) {
  decltype(GadgetOperations::count_items) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::count_items, &slot);
  return slot ? slot(record) : 0;
}

const char* get_gadget_item_text(int32_t number, int32_t item, int32_t column, int32_t p) {
  decltype(GadgetOperations::get_item_text) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::get_item_text, &slot);
  if (slot) slot(record, item, column, p);
  else buffer_terminate();
  return buffer_address_at(p);
}

void add_gadget_column(int32_t number, int32_t position, const char* title, int32_t width) {
  decltype(GadgetOperations::add_column) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::add_column, &slot);
  if (slot) slot(record, position, text_or_empty(title), width);
}

int32_t get_gadget_item_state(int32_t number, int32_t item) {
  decltype(GadgetOperations::get_item_state) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::get_item_state, &slot);
  return slot ? slot(record, item) : 0;
}

void set_gadget_item_state(int32_t number, int32_t item, int32_t state) {
  decltype(GadgetOperations::set_item_state) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::set_item_state, &slot);
  if (slot) slot(record, item, state);
}

void set_gadget_item_data(int32_t number, int32_t item, intptr_t value) {
  decltype(GadgetOperations::set_item_data) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::set_item_data, &slot);
  if (slot) slot(record, item, value);
}

int32_t gadget_width(int32_t number) {
  decltype(GadgetOperations::get_width) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::get_width, &slot);
  if (slot) return slot(record);
  RECT r = {};
  if (record) GetWindowRect(record->handle, &r);
  return r.right - r.left;
}

void hide_gadget(int32_t number, int32_t flag) {
  decltype(GadgetOperations::hide) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::hide, &slot);
  if (slot) slot(record, flag);
  else if (record) ShowWindow(record->handle, flag ? SW_HIDE : SW_SHOW);
}

void resize_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height) {
  decltype(GadgetOperations::resize) slot;
  GadgetRecord* record = gadget_with(number, &GadgetOperations::resize, &slot);
  if (slot) slot(record, x, y, width, height);
  else if (record) resize_gadget_control(record, x, y, width, height);
}

uint32_t* day_state_scratch(int32_t months) {
  if (!list_state) return nullptr;
  if (months <= 13) return list_state->day_states;
  if (months > list_state->more_day_states_capacity) {
    auto* grown = static_cast<uint32_t*>(general_realloc_array(list_state->more_day_states, size_t(months), 4));
    if (!grown) return nullptr;
    list_state->more_day_states = grown;
    list_state->more_day_states_capacity = months;
  }
  return list_state->more_day_states;
}

}  // namespace vantrel
