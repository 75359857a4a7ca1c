#pragma once
// What the list view and the combo box share: the same item operations on
// two sets of messages.
#include <windows.h>

#include <cstdint>

namespace vantrel {

struct ItemMessages {
  UINT get_count, get_selection, set_selection, insert, remove, reset, get_text_length, get_text, find_exact,
      get_data, set_data, init_storage;
};

constexpr ItemMessages list_box_messages = {
    LB_GETCOUNT, LB_GETCURSEL, LB_SETCURSEL, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
    LB_GETTEXTLEN, LB_GETTEXT, LB_FINDSTRINGEXACT, LB_GETITEMDATA, LB_SETITEMDATA, LB_INITSTORAGE,
};
constexpr ItemMessages combo_box_messages = {
    CB_GETCOUNT, CB_GETCURSEL, CB_SETCURSEL, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
    CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_FINDSTRINGEXACT, CB_GETITEMDATA, CB_SETITEMDATA, CB_INITSTORAGE,
};

// The item's text appended at p; "" for no such item.
void append_item_text(HWND control, const ItemMessages& messages, int32_t index, int32_t p);
// Replaces an item's text in its place, keeping its data value; -1 for no such item.
int32_t replace_item_text(HWND control, const ItemMessages& messages, int32_t index, const char* text);

// Fills a control with `count` texts at once: storage reserved up front and
// redrawing held, which keeps a fill of many items linear. The items go
// straight to `procedure`, the control's own window procedure (null: through
// SendMessage), since a subclass has nothing to do with them.
void fill_items(HWND control, WNDPROC procedure, const ItemMessages& messages, const char* const* texts,
                int32_t count, int32_t total_bytes);

// The same for a list view or combo box gadget by number; false for any other.
bool fill_gadget_items(int32_t number, const char* const* texts, int32_t count, int32_t total_bytes);

}  // namespace vantrel
